#pragma once
// An INI text kept line by line, so that writing one key leaves every other line (comments,
// blank lines, keys nobody reads, their order and spelling) as it was.
//
// Look-up follows the private-profile rules that settings files written elsewhere rely on:
// - section and key names compare without regard to case (Latin and Cyrillic letters) and
//   without the blanks around them;
// - blanks around '=' and around the value are dropped, and then one pair of matching quotes
//   (' or ") enclosing the whole value; the value runs to the end of the line (';' inside it is
//   text, not a comment);
// - the first section of a name and the first key of a name in it win; later duplicates are
//   kept in the text but never seen;
// - lines before the first section belong to the unnamed section "";
// - lines starting with ';' or '#', lines without '=' and malformed section lines are kept but
//   are not keys.
// Writing puts "key=value"; a value that would not read back as written (blanks at its ends,
// enclosing quotes) is written inside double quotes, so every value without a line break round-trips.
#include "base/Exception.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A name or value that cannot be stored in an INI line, or a settings file that cannot be
// read or written. The message is finished text for the user.
class EIniFileError : public Exception {
public:
    using Exception::Exception;
};

class IniDocument {
public:
    IniDocument() = default;

    // Reads a file's octets: UTF-8 (a byte-order mark is dropped) or, when they are not valid
    // UTF-8, code page 1251. Never fails: whatever is not understood is kept as it stands.
    static IniDocument FromOctets(std::string_view octets);
    // The text as UTF-8 with the line break the file used (LF for a new file).
    std::string ToUtf8() const;

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const { return Value(section, key).has_value(); }
    // Named sections in file order, each name once, spelled as first found.
    std::vector<std::string> SectionNames() const;
    // The keys of a section in file order, each name once, spelled as first found.
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Sets the key's value where the key stands; a new key goes after the section's last line
    // that is not blank, a new section at the end. Throws EIniFileError for a name or value that
    // an INI line cannot hold (line breaks, NUL, '=' in a key, ']' in a section, empty key) or
    // that is not UTF-8 (the file would then read back as code page 1251).
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes every line of the key in its section; false when it was not there.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Removes every section of the name with its lines; false when there was none.
    bool EraseSection(std::string_view section);

private:
    enum class Kind { Other, Header, Key };
    struct Line {
        std::string text;
        Kind kind = Kind::Other;
        std::string name;     // section or key name as written (trimmed)
        std::string folded;   // the name folded for comparison
    };
    // A section: its header line (none for the unnamed part before the first header) and body.
    struct Section {
        std::optional<Line> header;
        std::vector<Line> body;
        const std::string& Folded() const;
    };

    static Line ParseLine(std::string text);
    const Section* FindSection(const std::string& folded) const;
    Section* FindSection(const std::string& folded);
    static std::string FoldedName(std::string_view name);

    std::vector<Section> sections_{Section{}};
    std::string lineBreak_ = "\n";
};

// Case folding of a UTF-8 name for comparison: ASCII, Latin-1 and Cyrillic letters.
std::string FoldIniName(std::string_view utf8);
