#include "report/file/RtfReader.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "report/file/RtfDocumentBuilder.h"
#include "report/file/RtfTokenizer.h"
#include "report/file/RtfUnits.h"
#include "report/runtime/ReportErrors.h"

namespace {

constexpr int kMaxIndentTwips = 31680;   // 22 inches
constexpr int kMaxUnicodeSkip = 16;
constexpr char16_t kLineSeparator = 0x2028;

enum class Destination { Text, FontTable, ColourTable };

struct GroupState {
    Destination destination = Destination::Text;
    RtfCharState chars;
    RtfParaState para;
    int unicodeSkip = 1;   // \uc: fallback characters that follow each \u
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
        "filetbl", "nonshppict", "pn", "pntext", "template", "userprops",
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
        if (!finished_) {
            DecodeOctets();
            builder_.Finish(State().para);   // a document cut short keeps what was read
        }
    }

private:
    GroupState& State() { return groups_.back(); }

    void Handle(RtfToken token)
    {
        if (!ConsumeFallback(token))
            return;
        // Octets are gathered until something else comes, and decoded together.
        if (token.kind == RtfToken::Text) {
            octets_ += token.text;
            return;
        }
        if (token.kind == RtfToken::HexOctet) {
            octets_ += char(token.octet);
            return;
        }
        DecodeOctets();
        switch (token.kind) {
        case RtfToken::GroupOpen: OpenGroup(); break;
        case RtfToken::GroupClose: CloseGroup(); break;
        case RtfToken::ControlWord: ControlWord(token); break;
        case RtfToken::ControlSymbol: ControlSymbol(token.symbol); break;
        default: break;
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
        groups_.push_back(groups_.back());
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

    // Passes over the rest of the current group (depth groups inside it already open), nested
    // groups and binary data included; notes whether its own words name a bulleted paragraph.
    void SkipGroup(int depth = 0, bool* bullet = nullptr)
    {
        for (RtfToken token = tokens_.Next(); token.kind != RtfToken::End; token = tokens_.Next()) {
            if (token.kind == RtfToken::GroupOpen)
                ++depth;
            else if (token.kind == RtfToken::GroupClose && depth-- == 0)
                break;
            else if (token.Is("bin") && token.hasParameter)
                tokens_.SkipBinary(token.parameter);
            else if (bullet && depth == 0 && token.Is("pnlvlblt"))
                *bullet = true;
        }
        fallbackDue_ = 0;
        CloseGroup();
    }

    // A group that readers may pass over (\*): only paragraph numbering (\pn) is read, for
    // whether it makes the paragraph a bulleted one (\pnlvlblt); its bullet's text is not taken.
    void IgnorableGroup()
    {
        const RtfToken first = tokens_.Next();
        const bool numbering = first.Is("pn") && overflowDepth_ == 0 && groups_.size() >= 2;
        int depth = 0;
        if (first.kind == RtfToken::GroupOpen) {
            depth = 1;
        } else if (first.kind == RtfToken::GroupClose) {
            fallbackDue_ = 0;
            CloseGroup();
            return;
        } else if (first.Is("bin") && first.hasParameter) {
            tokens_.SkipBinary(first.parameter);
        }
        bool bullet = false;
        SkipGroup(depth, numbering ? &bullet : nullptr);
        if (numbering)
            State().para.bullet = bullet;   // the paragraph the group stood in
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
        case '*': IgnorableGroup(); break;
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
        RtfCharState& chars = State().chars;
        RtfParaState& para = State().para;
        switch (entry.keyword) {
        case Keyword::Par: EndParagraph(); break;
        case Keyword::Line: Characters(QStringView(&kLineSeparator, 1)); break;
        case Keyword::Tab: Characters(u"\t"); break;
        case Keyword::Character: Characters(QStringView(&entry.character, 1)); break;
        case Keyword::Pard: para = RtfParaState(); break;
        case Keyword::Plain: chars = RtfCharState(); break;
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
            chars.halfPoints = token.hasParameter ? std::clamp(token.parameter, kMinHalfPoints, kMaxHalfPoints) : kDefaultHalfPoints;
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
    void DecodeOctets()
    {
        if (octets_.isEmpty())
            return;
        const CodePage page = CurrentCodePage();
        QString text(octets_.size(), Qt::Uninitialized);
        QChar* out = text.data();
        for (const char c : std::as_const(octets_))
            *out++ = QChar(char16_t(OctetToUnicode(static_cast<unsigned char>(c), page)));
        octets_.clear();
        Characters(text);
    }

    CodePage CurrentCodePage() const
    {
        const GroupState& state = groups_.back();
        if (state.destination == Destination::FontTable)
            return fontCodePage_.value_or(documentCodePage_);
        const RtfFont* font = tables_.FontOf(state.chars);
        return font && font->codePage ? *font->codePage : documentCodePage_;
    }

    void Characters(QStringView text)
    {
        switch (State().destination) {
        case Destination::Text: AppendPrintable(text); break;
        case Destination::FontTable: FontNameCharacters(text); break;
        case Destination::ColourTable:
            for (qsizetype i = text.count(u';'); i > 0; --i)
                CommitColour();
            break;
        }
    }

    // Control characters and separators the document would turn into structure are dropped;
    // so is the object replacement character, which stands for no object here.
    static bool IsPrintable(QChar c)
    {
        return (c.unicode() >= 0x20 || c == u'\t') && c != QChar::ParagraphSeparator && c != QChar::ObjectReplacementCharacter;
    }

    void AppendPrintable(QStringView text)
    {
        if (std::all_of(text.begin(), text.end(), IsPrintable)) {
            builder_.Append(text, State().chars, State().para);
            return;
        }
        QString printable;
        std::copy_if(text.begin(), text.end(), std::back_inserter(printable), IsPrintable);
        builder_.Append(printable, State().chars, State().para);
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
        tables_.fonts.insert(fontNumber_, RtfFont{name, fontCodePage_});
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
    RtfDocumentBuilder builder_;
    std::vector<GroupState> groups_{GroupState()};
    QByteArray octets_;
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
    if (!IsRtf(rtf))
        throw EReadError(QStringLiteral("Текст не в формате RTF"));
    const qsizetype start = StartOfDocument(rtf);

    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);   // a load is not an edit to undo, nor memory to keep
    document.clear();
    {
        RtfReader reader(rtf.sliced(start + 1), document);
        reader.Read();
    }
    document.setUndoRedoEnabled(undo);
}

bool IsRtf(QByteArrayView octets)
{
    return octets.sliced(StartOfDocument(octets)).startsWith("{\\rtf");
}
