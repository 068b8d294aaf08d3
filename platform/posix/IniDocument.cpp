#include "platform/posix/IniDocument.h"

#include "base/CodePage.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view kBlanks = " \t\v\f\r";

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

// The value as a reader sees it: trimmed, then one pair of matching enclosing quotes dropped.
std::string ReadableValue(std::string_view raw)
{
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The value as it is written: quoted when reading it bare would change it.
std::string WritableValue(std::string_view value)
{
    const bool blankAtEnds = !value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                                                kBlanks.find(value.back()) != std::string_view::npos);
    const bool enclosedInQuotes = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
    if (blankAtEnds || enclosedInQuotes)
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

bool HasLineBreakOrNul(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

char32_t Lower(char32_t cp)
{
    if (cp >= 'A' && cp <= 'Z')
        return cp + 0x20;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)   // Latin-1 capitals
        return cp + 0x20;
    if (cp >= 0x0410 && cp <= 0x042F)   // А..Я
        return cp + 0x20;
    if (cp >= 0x0400 && cp <= 0x040F)   // Ѐ..Џ, Ё among them
        return cp + 0x50;
    if (cp == 0x0490)   // Ґ
        return 0x0491;
    return cp;
}

} // namespace

std::string FoldIniName(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > utf8.size()) {
            out += utf8[i++];   // not UTF-8: compared as it stands
            continue;
        }
        char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        AppendUtf8(out, Lower(cp));
        i += length;
    }
    return out;
}

const std::string& IniDocument::Section::Folded() const
{
    static const std::string unnamed;
    return header ? header->folded : unnamed;
}

std::string IniDocument::FoldedName(std::string_view name)
{
    return FoldIniName(Trim(name));
}

IniDocument::Line IniDocument::ParseLine(std::string text)
{
    Line line;
    line.text = std::move(text);
    const std::string_view content = Trim(line.text);
    if (content.empty() || content.front() == ';' || content.front() == '#')
        return line;
    if (content.front() == '[') {
        const auto close = content.rfind(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::Header;
            line.name = std::string(Trim(content.substr(1, close - 1)));
            line.folded = FoldIniName(line.name);
        }
        return line;
    }
    const auto equals = content.find('=');
    if (equals == std::string_view::npos)
        return line;
    const std::string_view name = Trim(content.substr(0, equals));
    if (name.empty())
        return line;
    line.kind = Kind::Key;
    line.name = std::string(name);
    line.folded = FoldIniName(name);
    return line;
}

IniDocument IniDocument::FromOctets(std::string_view octets)
{
    IniDocument doc;
    if (octets.substr(0, 3) == "\xEF\xBB\xBF")
        octets.remove_prefix(3);
    const std::string text = IsValidUtf8(octets) ? std::string(octets) : Cp1251ToUtf8(octets);
    if (text.find("\r\n") != std::string::npos)
        doc.lineBreak_ = "\r\n";

    size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string lineText = text.substr(start, end - start);
        if (!lineText.empty() && lineText.back() == '\r')
            lineText.pop_back();
        start = end + 1;
        Line line = ParseLine(std::move(lineText));
        if (line.kind == Kind::Header)
            doc.sections_.push_back(Section{std::move(line), {}});
        else
            doc.sections_.back().body.push_back(std::move(line));
    }
    return doc;
}

std::string IniDocument::ToUtf8() const
{
    std::string out;
    for (const Section& section : sections_) {
        if (section.header)
            out += section.header->text + lineBreak_;
        for (const Line& line : section.body)
            out += line.text + lineBreak_;
    }
    return out;
}

const IniDocument::Section* IniDocument::FindSection(const std::string& folded) const
{
    for (const Section& section : sections_)
        if (section.Folded() == folded)
            return &section;
    return nullptr;
}

IniDocument::Section* IniDocument::FindSection(const std::string& folded)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(folded));
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const
{
    const Section* found = FindSection(FoldedName(section));
    if (!found)
        return std::nullopt;
    const std::string foldedKey = FoldedName(key);
    for (const Line& line : found->body) {
        if (line.kind == Kind::Key && line.folded == foldedKey)
            return ReadableValue(std::string_view(line.text).substr(line.text.find('=') + 1));
    }
    return std::nullopt;
}

bool IniDocument::SectionExists(std::string_view section) const
{
    return FindSection(FoldedName(section)) != nullptr;
}

std::vector<std::string> IniDocument::SectionNames() const
{
    std::vector<std::string> names, folded;
    for (const Section& section : sections_) {
        if (!section.header || std::find(folded.begin(), folded.end(), section.Folded()) != folded.end())
            continue;
        folded.push_back(section.Folded());
        names.push_back(section.header->name);
    }
    return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const
{
    std::vector<std::string> names, folded;
    const Section* found = FindSection(FoldedName(section));
    if (!found)
        return names;
    for (const Line& line : found->body) {
        if (line.kind != Kind::Key || std::find(folded.begin(), folded.end(), line.folded) != folded.end())
            continue;
        folded.push_back(line.folded);
        names.push_back(line.name);
    }
    return names;
}

void IniDocument::SetValue(std::string_view sectionName, std::string_view keyName, std::string_view value)
{
    const std::string_view section = Trim(sectionName);
    const std::string_view key = Trim(keyName);
    // Octets that are not UTF-8 would make the whole file read back as code page 1251, changing
    // every Cyrillic name in it; whose text they are cannot be told, so they are refused.
    if (!IsValidUtf8(section))
        throw EIniFileError("Имя раздела настроек не является текстом в UTF-8 и не может быть записано");
    if (HasLineBreakOrNul(section) || section.find(']') != std::string_view::npos)
        throw EIniFileError("Имя раздела настроек \"" + std::string(section) + "\" не может быть записано");
    if (!IsValidUtf8(key))
        throw EIniFileError("Имя ключа настроек в разделе \"" + std::string(section) +
                            "\" не является текстом в UTF-8 и не может быть записано");
    if (key.empty() || HasLineBreakOrNul(key) || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';' || key.front() == '#')
        throw EIniFileError("Имя ключа настроек \"" + std::string(key) + "\" не может быть записано");
    if (!IsValidUtf8(value))
        throw EIniFileError("Значение ключа настроек \"" + std::string(key) + "\" не является текстом в UTF-8");
    if (HasLineBreakOrNul(value))
        throw EIniFileError("Значение ключа настроек \"" + std::string(key) + "\" содержит перевод строки");

    Section* target = FindSection(FoldIniName(section));
    if (!target) {
        Section& last = sections_.back();
        const bool hasText = sections_.size() > 1 || !last.body.empty();
        if (hasText && (last.body.empty() || !Trim(last.body.back().text).empty()))
            last.body.push_back(Line{});
        sections_.push_back(Section{ParseLine("[" + std::string(section) + "]"), {}});
        target = &sections_.back();
    }

    const std::string folded = FoldIniName(key);
    for (Line& line : target->body) {
        if (line.kind == Kind::Key && line.folded == folded) {
            line.text = line.name + "=" + WritableValue(value);
            return;
        }
    }
    auto position = target->body.end();
    while (position != target->body.begin() && Trim(std::prev(position)->text).empty())
        --position;
    target->body.insert(position, ParseLine(std::string(key) + "=" + WritableValue(value)));
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key)
{
    Section* found = FindSection(FoldedName(section));
    if (!found)
        return false;
    const std::string folded = FoldedName(key);
    const auto removed = std::erase_if(found->body, [&](const Line& line) {
        return line.kind == Kind::Key && line.folded == folded;
    });
    return removed > 0;
}

bool IniDocument::EraseSection(std::string_view section)
{
    const std::string folded = FoldedName(section);
    const auto removed = std::erase_if(sections_, [&](const Section& s) { return s.header && s.Folded() == folded; });
    return removed > 0;
}
