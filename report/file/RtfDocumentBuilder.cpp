#include "report/file/RtfDocumentBuilder.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextList>

#include "report/file/RtfUnits.h"

namespace {

constexpr size_t kKeptFormats = 32;

QTextBlockFormat BlockFormatOf(const RtfParaState& para)
{
    QTextBlockFormat format;
    format.setAlignment(para.alignment);
    format.setLeftMargin(para.leftTwips / kTwipsPerPixel);
    format.setRightMargin(para.rightTwips / kTwipsPerPixel);
    format.setTextIndent(para.firstTwips / kTwipsPerPixel);
    return format;
}

}  // namespace

const RtfFont* RtfTables::FontOf(const RtfCharState& chars) const
{
    const auto found = fonts.constFind(chars.font < 0 ? defaultFont : chars.font);
    return found != fonts.constEnd() ? &*found : nullptr;
}

QColor RtfTables::ColourAt(int index) const
{
    return index > 0 && size_t(index) < colours.size() ? colours[size_t(index)] : QColor();
}

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& document, const RtfTables& tables)
    : cursor_(&document), tables_(tables)
{
    cursor_.beginEditBlock();
}

RtfDocumentBuilder::~RtfDocumentBuilder()
{
    cursor_.endEditBlock();
}

void RtfDocumentBuilder::Append(QStringView text, const RtfCharState& chars, const RtfParaState& para)
{
    if (text.isEmpty())
        return;
    OpenDueBlock(chars, para);
    if (!run_.isEmpty() && chars != runState_)
        Flush();
    runState_ = chars;
    run_ += text;
}

void RtfDocumentBuilder::EndParagraph(const RtfParaState& para, const RtfCharState& chars)
{
    Flush();
    OpenDueBlock(chars, para);
    if (cursor_.block().length() == 1 && chars != blockChars_) {
        cursor_.setBlockCharFormat(FormatOf(chars));   // an empty line's height comes from it
        blockChars_ = chars;
    }
    SetParagraph(para);
    blockDue_ = true;
}

void RtfDocumentBuilder::Finish(const RtfParaState& para)
{
    Flush();
    if (!blockDue_)
        SetParagraph(para);
}

void RtfDocumentBuilder::Flush()
{
    if (run_.isEmpty())
        return;
    cursor_.insertText(run_, FormatOf(runState_));
    run_.clear();
}

// A paragraph opens with the formats in force then, which are nearly always the ones it ends with.
void RtfDocumentBuilder::OpenDueBlock(const RtfCharState& chars, const RtfParaState& para)
{
    if (!blockDue_)
        return;
    cursor_.insertBlock(BlockFormatOf(para), FormatOf(chars));
    SetBullet(para.bullet);
    blockPara_ = para;
    blockChars_ = chars;
    blockDue_ = false;
}

// The format in force at the paragraph's end is the paragraph's.
void RtfDocumentBuilder::SetParagraph(const RtfParaState& para)
{
    if (para == blockPara_)
        return;
    cursor_.setBlockFormat(BlockFormatOf(para));
    SetBullet(para.bullet);
    blockPara_ = para;
}

void RtfDocumentBuilder::SetBullet(bool bullet)
{
    const QTextBlock block = cursor_.block();
    if (QTextList* list = block.textList(); list && !bullet) {
        list->remove(block);
    } else if (!list && bullet) {
        if (QTextList* before = block.previous().textList())
            before->add(block);
        else
            cursor_.createList(QTextListFormat::ListDisc);
    }
}

// Documents switch among a few formats, so the recent ones are kept.
const QTextCharFormat& RtfDocumentBuilder::FormatOf(const RtfCharState& chars)
{
    const auto known = std::find_if(formats_.begin(), formats_.end(), [&](const auto& f) { return f.first == chars; });
    if (known != formats_.end())
        return known->second;
    if (formats_.size() >= kKeptFormats)
        formats_.clear();
    formats_.emplace_back(chars, MakeFormat(chars));
    return formats_.back().second;
}

QTextCharFormat RtfDocumentBuilder::MakeFormat(const RtfCharState& chars) const
{
    QTextCharFormat format;
    if (const RtfFont* font = tables_.FontOf(chars); font && !font->name.isEmpty())
        format.setFontFamilies({font->name});
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.underline)
        format.setFontUnderline(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (const QColor colour = tables_.ColourAt(chars.foreground); colour.isValid())
        format.setForeground(colour);
    if (const QColor colour = tables_.ColourAt(chars.background); colour.isValid())
        format.setBackground(colour);
    return format;
}
