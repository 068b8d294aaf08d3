#include "report/file/RtfReader.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>

#include "base/CodePage.h"
#include "report/file/RtfTokenizer.h"
#include "report/runtime/ReportErrors.h"

namespace {

constexpr int kDefaultHalfPoints = 24;   // RTF's default size: 12 points
constexpr int kMaxHalfPoints = 3276;     // 1638 points, the largest size a rich edit accepts
constexpr int kMaxIndentTwips = 31680;   // 22 inches
constexpr qreal kTwipsPerPixel = 15;     // 1440 twips an inch, 96 pixels an inch
constexpr int kMaxUnicodeSkip = 16;

constexpr char16_t kLineSeparator = 0x2028;

enum class Destination { Text, FontTable, ColourTable };

struct CharState {
    int font = -1;   // font table number; -1 the document's default font (\deff)
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0;   // colour table index; 0 is the automatic colour
    int background = 0;

    bool operator==(const CharState&) const = default;
};

struct ParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharState chars;
    ParaState para;
    int unicodeSkip = 1;   // \uc: fallback characters that follow each \u
};

struct FontEntry {
    QString name;
    std::optional<CodePage> codePage;
};

// The fonts and colours that character states refer to.
struct RtfTables {
    QHash<int, FontEntry> fonts;
    std::vector<QColor> colours;   // an invalid colour is the automatic one
    int defaultFont = 0;

    const FontEntry* FontOf(const CharState& chars) const
    {
        const auto found = fonts.constFind(chars.font < 0 ? defaultFont : chars.font);
        return found != fonts.constEnd() ? &*found : nullptr;
    }

    QColor ColourAt(int index) const
    {
        return index > 0 && size_t(index) < colours.size() ? colours[size_t(index)] : QColor();
    }
};

CodePage CodePageOfNumber(int number)
{
    switch (number) {
    case 1251: return CodePage::Cp1251;
    case 866: return CodePage::Cp866;
    default: return CodePage::Cp1252;
    }
}

std::optional<CodePage> CodePageOfCharset(int charset)
{
    switch (charset) {
    case 0: return CodePage::Cp1252;
    case 204: return CodePage::Cp1251;
    default: return std::nullopt;   // the document's code page
    }
}

// Builds the document from runs of text in a character state and paragraph ends. A paragraph
// end only marks that a new block is due, so that a last \par before the end of the document
// adds no empty paragraph.
class DocumentBuilder {
public:
    DocumentBuilder(QTextDocument& document, const RtfTables& tables) : cursor_(&document), tables_(tables) {}

    void Append(QStringView text, const CharState& chars)
    {
        if (text.isEmpty())
            return;
        OpenDueBlock(chars);
        if (!run_.isEmpty() && !(chars == runState_))
            Flush();
        runState_ = chars;
        run_ += text;
    }

    void EndParagraph(const ParaState& para, const CharState& chars)
    {
        Flush();
        OpenDueBlock(chars);
        if (cursor_.block().length() == 1)
            cursor_.setBlockCharFormat(FormatOf(chars));   // an empty line's height comes from it
        cursor_.setBlockFormat(BlockFormatOf(para));
        blockDue_ = true;
    }

    void Finish(const ParaState& para)
    {
        Flush();
        if (!blockDue_)
            cursor_.setBlockFormat(BlockFormatOf(para));
    }

    // The font or colour table changed: formats built so far may name other fonts now.
    void TablesChanged() { cachedValid_ = false; }

private:
    void Flush()
    {
        if (run_.isEmpty())
            return;
        cursor_.insertText(run_, FormatOf(runState_));
        run_.clear();
    }

    void OpenDueBlock(const CharState& chars)
    {
        if (!blockDue_)
            return;
        cursor_.insertBlock(QTextBlockFormat(), FormatOf(chars));
        blockDue_ = false;
    }

    const QTextCharFormat& FormatOf(const CharState& chars)
    {
        if (cachedValid_ && chars == cachedState_)
            return cachedFormat_;
        QTextCharFormat format;
        if (const FontEntry* font = tables_.FontOf(chars); font && !font->name.isEmpty())
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
        cachedState_ = chars;
        cachedFormat_ = format;
        cachedValid_ = true;
        return cachedFormat_;
    }

    static QTextBlockFormat BlockFormatOf(const ParaState& para)
    {
        QTextBlockFormat format;
        format.setAlignment(para.alignment);
        format.setLeftMargin(para.leftTwips / kTwipsPerPixel);
        format.setRightMargin(para.rightTwips / kTwipsPerPixel);
        format.setTextIndent(para.firstTwips / kTwipsPerPixel);
        return format;
    }

    QTextCursor cursor_;
    const RtfTables& tables_;
    QString run_;
    CharState runState_;
    bool blockDue_ = false;
    CharState cachedState_;
    QTextCharFormat cachedFormat_;
    bool cachedValid_ = false;
};

enum class Keyword {
    Par, Line, Tab, Pard, Plain, Ql, Qr, Qc, Qj, Li, Ri, Fi,
    Bold, Italic, Underline, UnderlineNone, Strike, Font, FontSize, Foreground, Background,
    DefaultFont, AnsiCodePage, FontCharset, Unicode, UnicodeSkip, Binary,
    FontTable, ColourTable, Red, Green, Blue, SkippedDestination, Character,
};

struct KeywordEntry {
    Keyword keyword;
    char16_t character = 0;   // for Keyword::Character
};

const std::unordered_map<std::string_view, KeywordEntry>& Keywords()
{
    static const std::unordered_map<std::string_view, KeywordEntry> table = {
        {"par", {Keyword::Par}}, {"page", {Keyword::Par}}, {"sect", {Keyword::Par}},
        {"row", {Keyword::Par}}, {"line", {Keyword::Line}}, {"tab", {Keyword::Tab}},
        {"cell", {Keyword::Tab}}, {"pard", {Keyword::Pard}}, {"plain", {Keyword::Plain}},
        {"ql", {Keyword::Ql}}, {"qr", {Keyword::Qr}}, {"qc", {Keyword::Qc}}, {"qj", {Keyword::Qj}},
        {"li", {Keyword::Li}}, {"ri", {Keyword::Ri}}, {"fi", {Keyword::Fi}},
        {"b", {Keyword::Bold}}, {"i", {Keyword::Italic}}, {"ul", {Keyword::Underline}},
        {"ulnone", {Keyword::UnderlineNone}}, {"strike", {Keyword::Strike}},
        {"striked", {Keyword::Strike}}, {"f", {Keyword::Font}}, {"fs", {Keyword::FontSize}},
        {"cf", {Keyword::Foreground}}, {"cb", {Keyword::Background}},
        {"highlight", {Keyword::Background}}, {"deff", {Keyword::DefaultFont}},
        {"ansicpg", {Keyword::AnsiCodePage}}, {"fcharset", {Keyword::FontCharset}},
        {"u", {Keyword::Unicode}}, {"uc", {Keyword::UnicodeSkip}}, {"bin", {Keyword::Binary}},
        {"fonttbl", {Keyword::FontTable}}, {"colortbl", {Keyword::ColourTable}},
        {"red", {Keyword::Red}}, {"green", {Keyword::Green}}, {"blue", {Keyword::Blue}},
        {"emdash", {Keyword::Character, 0x2014}}, {"endash", {Keyword::Character, 0x2013}},
        {"bullet", {Keyword::Character, 0x2022}}, {"lquote", {Keyword::Character, 0x2018}},
        {"rquote", {Keyword::Character, 0x2019}}, {"ldblquote", {Keyword::Character, 0x201C}},
        {"rdblquote", {Keyword::Character, 0x201D}}, {"emspace", {Keyword::Character, 0x2003}},
        {"enspace", {Keyword::Character, 0x2002}}, {"qmspace", {Keyword::Character, 0x2005}},
    };
    return table;
}

// Destinations whose text is not part of the document.
bool IsSkippedDestination(std::string_view word)
{
    static const std::string_view skipped[] = {
        "info", "stylesheet", "pict", "object", "fldinst", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "annotation", "atnid",
        "atnauthor", "xe", "tc", "txe", "listtable", "listoverridetable", "revtbl", "rsidtbl",
        "filetbl", "nonshppict", "pn", "template", "userprops",
    };
    return std::find(std::begin(skipped), std::end(skipped), word) != std::end(skipped);
}

std::optional<KeywordEntry> LookUp(QByteArrayView word)
{
    const std::string_view name(word.data(), size_t(word.size()));
    const auto& keywords = Keywords();
    if (const auto found = keywords.find(name); found != keywords.end())
        return found->second;
    if (IsSkippedDestination(name))
        return KeywordEntry{Keyword::SkippedDestination};
    if (name.size() > 2 && name.starts_with("ul") && name != "ulc")
        return KeywordEntry{Keyword::Underline};   // dotted, double, wave and the other underlines
    return std::nullopt;
}

bool IsOn(const RtfToken& token)
{
    return !token.hasParameter || token.parameter != 0;
}

class RtfReader {
public:
    RtfReader(QByteArrayView rtf, QTextDocument& document) : tokens_(rtf), builder_(document, tables_) {}

    void Read()
    {
        for (RtfToken token = tokens_.Next(); !finished_ && token.kind != RtfToken::End; token = tokens_.Next())
            Handle(token);
        if (!finished_)
            builder_.Finish(State().para);   // a document cut short keeps what was read
    }

private:
    GroupState& State() { return groups_.back(); }

    void Handle(RtfToken token)
    {
        if (!ConsumeFallback(token))
            return;
        switch (token.kind) {
        case RtfToken::GroupOpen: OpenGroup(); break;
        case RtfToken::GroupClose: CloseGroup(); break;
        case RtfToken::ControlWord: ControlWord(token); break;
        case RtfToken::ControlSymbol: ControlSymbol(token.symbol); break;
        case RtfToken::HexOctet: {
            const char octet = static_cast<char>(token.octet);
            Octets(QByteArrayView(&octet, 1));
            break;
        }
        case RtfToken::Text: Octets(token.text); break;
        case RtfToken::End: break;
        }
    }

    // Passes over the fallback characters that follow \uN; false when the token was one.
    bool ConsumeFallback(RtfToken& token)
    {
        if (fallbackDue_ == 0)
            return true;
        switch (token.kind) {
        case RtfToken::GroupOpen:
        case RtfToken::GroupClose:
        case RtfToken::End:
            fallbackDue_ = 0;   // a group boundary ends the fallback
            return true;
        case RtfToken::Text: {
            const qsizetype dropped = std::min<qsizetype>(fallbackDue_, token.text.size());
            fallbackDue_ -= int(dropped);
            token.text = token.text.sliced(dropped);
            return !token.text.isEmpty();
        }
        default:
            --fallbackDue_;
            return false;
        }
    }

    void OpenGroup()
    {
        if (groups_.size() >= size_t(kMaxRtfGroupDepth)) {
            ++overflowDepth_;
            return;
        }
        groups_.push_back(groups_.empty() ? GroupState() : groups_.back());
    }

    // Reading ends where the outermost group closes; what follows it is not part of the document.
    void CloseGroup()
    {
        if (overflowDepth_ > 0) {
            --overflowDepth_;
            return;
        }
        if (State().destination == Destination::FontTable)
            CommitFont();
        if (groups_.size() == 1) {
            builder_.Finish(State().para);
            finished_ = true;
            return;
        }
        groups_.pop_back();
    }

    // Passes over the rest of the current group, nested groups and binary data included.
    void SkipGroup()
    {
        int depth = 0;
        for (RtfToken token = tokens_.Next(); token.kind != RtfToken::End; token = tokens_.Next()) {
            if (token.kind == RtfToken::GroupOpen)
                ++depth;
            else if (token.kind == RtfToken::GroupClose && depth-- == 0)
                break;
            else if (token.Is("bin") && token.hasParameter)
                tokens_.SkipBinary(token.parameter);
        }
        fallbackDue_ = 0;
        CloseGroup();
    }

    void ControlSymbol(char symbol)
    {
        switch (symbol) {
        case '\\':
        case '{':
        case '}': Characters(QString(QLatin1Char(symbol))); break;
        case '~': Characters(QStringView(u"\u00A0")); break;
        case '-': Characters(QStringView(u"\u00AD")); break;
        case '_': Characters(QStringView(u"\u2011")); break;
        case '\n': EndParagraph(); break;
        case '*': SkipGroup(); break;
        default: break;   // \: \| and a \' without its two digits carry nothing here
        }
    }

    void ControlWord(const RtfToken& token)
    {
        const std::optional<KeywordEntry> entry = LookUp(token.text);
        if (!entry)
            return;
        if (!GroupWord(entry->keyword, token)) {
            switch (State().destination) {
            case Destination::Text: TextWord(*entry, token); break;
            case Destination::FontTable: FontTableWord(entry->keyword, token); break;
            case Destination::ColourTable: ColourTableWord(entry->keyword, token); break;
            }
        }
    }

    // Words that mean the same in every destination; false for the others.
    bool GroupWord(Keyword keyword, const RtfToken& token)
    {
        switch (keyword) {
        case Keyword::Binary: tokens_.SkipBinary(token.parameter); return true;
        case Keyword::SkippedDestination: SkipGroup(); return true;
        case Keyword::FontTable: State().destination = Destination::FontTable; return true;
        case Keyword::ColourTable: State().destination = Destination::ColourTable; return true;
        case Keyword::UnicodeSkip: State().unicodeSkip = std::clamp(token.parameter, 0, kMaxUnicodeSkip); return true;
        case Keyword::Unicode: Unicode(token); return true;
        case Keyword::AnsiCodePage: documentCodePage_ = CodePageOfNumber(token.parameter); return true;
        case Keyword::DefaultFont:
            tables_.defaultFont = token.parameter;
            builder_.TablesChanged();
            return true;
        default: return false;
        }
    }

    void TextWord(const KeywordEntry& entry, const RtfToken& token)
    {
        CharState& chars = State().chars;
        ParaState& para = State().para;
        switch (entry.keyword) {
        case Keyword::Par: EndParagraph(); break;
        case Keyword::Line: Characters(QStringView(&kLineSeparator, 1)); break;
        case Keyword::Tab: Characters(u"\t"); break;
        case Keyword::Character: Characters(QStringView(&entry.character, 1)); break;
        case Keyword::Pard: para = ParaState(); break;
        case Keyword::Plain: chars = CharState(); break;
        case Keyword::Ql: para.alignment = Qt::AlignLeft; break;
        case Keyword::Qr: para.alignment = Qt::AlignRight; break;
        case Keyword::Qc: para.alignment = Qt::AlignHCenter; break;
        case Keyword::Qj: para.alignment = Qt::AlignJustify; break;
        case Keyword::Li: para.leftTwips = Indent(token); break;
        case Keyword::Ri: para.rightTwips = Indent(token); break;
        case Keyword::Fi: para.firstTwips = Indent(token); break;
        case Keyword::Bold: chars.bold = IsOn(token); break;
        case Keyword::Italic: chars.italic = IsOn(token); break;
        case Keyword::Underline: chars.underline = IsOn(token); break;
        case Keyword::UnderlineNone: chars.underline = false; break;
        case Keyword::Strike: chars.strike = IsOn(token); break;
        case Keyword::Font: chars.font = token.parameter; break;
        case Keyword::FontSize:
            chars.halfPoints = token.hasParameter ? std::clamp(token.parameter, 2, kMaxHalfPoints) : kDefaultHalfPoints;
            break;
        case Keyword::Foreground: chars.foreground = std::max(token.parameter, 0); break;
        case Keyword::Background: chars.background = std::max(token.parameter, 0); break;
        default: break;
        }
    }

    static int Indent(const RtfToken& token)
    {
        return std::clamp(token.parameter, -kMaxIndentTwips, kMaxIndentTwips);
    }

    void FontTableWord(Keyword keyword, const RtfToken& token)
    {
        if (keyword == Keyword::Font) {
            CommitFont();
            fontNumber_ = token.parameter;
            fontCodePage_.reset();
        } else if (keyword == Keyword::FontCharset) {
            fontCodePage_ = CodePageOfCharset(token.parameter);
        }
    }

    void ColourTableWord(Keyword keyword, const RtfToken& token)
    {
        const int component = std::clamp(token.parameter, 0, 255);
        switch (keyword) {
        case Keyword::Red: red_ = component; break;
        case Keyword::Green: green_ = component; break;
        case Keyword::Blue: blue_ = component; break;
        default: return;
        }
        colourGiven_ = true;
    }

    void Unicode(const RtfToken& token)
    {
        fallbackDue_ = State().unicodeSkip;
        const int code = token.parameter < 0 ? token.parameter + 0x10000 : token.parameter;
        if (code >= 0 && code <= 0xFFFF) {
            const char16_t unit = char16_t(code);
            Characters(QStringView(&unit, 1));
        }
    }

    // Text octets in the code page of the current font, or else of the document.
    void Octets(QByteArrayView octets)
    {
        const CodePage page = CurrentCodePage();
        QString text;
        text.reserve(octets.size());
        for (const char c : octets)
            text += QChar(char16_t(OctetToUnicode(static_cast<unsigned char>(c), page)));
        Characters(text);
    }

    CodePage CurrentCodePage() const
    {
        const GroupState& state = groups_.back();
        if (state.destination == Destination::FontTable)
            return fontCodePage_.value_or(documentCodePage_);
        const FontEntry* font = tables_.FontOf(state.chars);
        return font && font->codePage ? *font->codePage : documentCodePage_;
    }

    void Characters(QStringView text)
    {
        switch (State().destination) {
        case Destination::Text: builder_.Append(Printable(text), State().chars); break;
        case Destination::FontTable: FontNameCharacters(text); break;
        case Destination::ColourTable:
            for (qsizetype i = text.count(u';'); i > 0; --i)
                CommitColour();
            break;
        }
    }

    // Control characters and separators the document would turn into structure are dropped;
    // so is the object replacement character, which stands for no object here.
    static QString Printable(QStringView text)
    {
        QString printable;
        printable.reserve(text.size());
        for (const QChar c : text) {
            if ((c.unicode() >= 0x20 || c == u'\t') && c != QChar::ParagraphSeparator && c != QChar::ObjectReplacementCharacter)
                printable += c;
        }
        return printable;
    }

    void FontNameCharacters(QStringView text)
    {
        for (const QChar c : text) {
            if (c == u';')
                CommitFont();
            else
                fontName_ += c;
        }
    }

    // Control characters and line or paragraph separators have no place in a font name.
    void CommitFont()
    {
        QString name;
        for (const QChar c : std::as_const(fontName_)) {
            if (c.unicode() >= 0x20 && c != QChar::LineSeparator && c != QChar::ParagraphSeparator)
                name += c;
        }
        name = name.trimmed();
        fontName_.clear();
        if (name.isEmpty())
            return;
        tables_.fonts.insert(fontNumber_, FontEntry{name, fontCodePage_});
        builder_.TablesChanged();
    }

    void CommitColour()
    {
        tables_.colours.push_back(colourGiven_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
        builder_.TablesChanged();
    }

    void EndParagraph()
    {
        if (State().destination == Destination::Text)
            builder_.EndParagraph(State().para, State().chars);
    }

    RtfTokenizer tokens_;
    RtfTables tables_;
    DocumentBuilder builder_;
    std::vector<GroupState> groups_{GroupState()};
    int overflowDepth_ = 0;   // groups opened past kMaxRtfGroupDepth, sharing the deepest state
    int fallbackDue_ = 0;
    bool finished_ = false;
    CodePage documentCodePage_ = CodePage::Cp1252;

    int fontNumber_ = 0;
    QString fontName_;
    std::optional<CodePage> fontCodePage_;
    int red_ = 0;
    int green_ = 0;
    int blue_ = 0;
    bool colourGiven_ = false;
};

qsizetype StartOfDocument(QByteArrayView rtf)
{
    qsizetype pos = 0;
    while (pos < rtf.size() && (rtf[pos] == ' ' || rtf[pos] == '\t' || rtf[pos] == '\r' || rtf[pos] == '\n'))
        ++pos;
    return pos;
}

}  // namespace

void ReadRtf(QByteArrayView rtf, QTextDocument& document)
{
    if (rtf.size() > kMaxRtfSize)
        throw EReadError(QStringLiteral("Текст RTF слишком велик: %1 байт, допустимо не более %2")
                             .arg(rtf.size())
                             .arg(kMaxRtfSize));
    const qsizetype start = StartOfDocument(rtf);
    if (!rtf.sliced(start).startsWith("{\\rtf"))
        throw EReadError(QStringLiteral("Текст не в формате RTF"));

    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);   // a load is not an edit to undo, nor memory to keep
    document.clear();
    {
        RtfReader reader(rtf.sliced(start + 1), document);
        reader.Read();
    }
    document.setUndoRedoEnabled(undo);
}
