#include "base/CodePage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace {

// Unicode code points of the octets 0x80..0xFF; 0 marks an octet the code page leaves undefined.
constexpr std::array<char16_t, 128> kCp1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

constexpr std::array<char16_t, 128> kCp866 = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
    0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

// 0xA0..0xFF are Latin-1 as they stand.
constexpr std::array<char16_t, 128> kCp1252 = [] {
    std::array<char16_t, 128> table = {
        0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
        0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
    };
    for (size_t i = 0x20; i < table.size(); ++i)
        table[i] = char16_t(0x80 + i);
    return table;
}();

const std::array<char16_t, 128>& TableOf(CodePage page)
{
    switch (page) {
    case CodePage::Cp1251: return kCp1251;
    case CodePage::Cp866: return kCp866;
    case CodePage::Cp1252: break;
    }
    return kCp1252;
}

// Octets by code point over the Basic Multilingual Plane, 0 where the page lacks the character
// (octet 0 is ASCII, answered before the table is consulted): one look-up per character.
using ReverseTable = std::vector<uint8_t>;

const ReverseTable& ReverseOf(CodePage page)
{
    static const auto build = [](const std::array<char16_t, 128>& table) {
        ReverseTable reverse(0x10000, 0);
        for (size_t i = 0; i < table.size(); ++i)
            if (table[i] != 0)
                reverse[table[i]] = static_cast<uint8_t>(0x80 + i);
        return reverse;
    };
    static const auto cp1251 = build(kCp1251);
    static const auto cp866 = build(kCp866);
    static const auto cp1252 = build(kCp1252);
    switch (page) {
    case CodePage::Cp1251: return cp1251;
    case CodePage::Cp866: return cp866;
    case CodePage::Cp1252: break;
    }
    return cp1252;
}

// Decodes one UTF-8 sequence at text[pos]; returns the code point and advances pos,
// or returns U+FFFD and advances one octet when the sequence is malformed.
char32_t NextCodePoint(std::string_view text, size_t& pos)
{
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (size_t i = 1; i <= extra; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return 0xFFFD;
    }
    pos += extra + 1;
    return cp;
}

} // namespace

char32_t OctetToUnicode(unsigned char octet, CodePage page)
{
    if (octet < 0x80)
        return octet;
    const char16_t cp = TableOf(page)[octet - 0x80];
    return cp != 0 ? cp : U'?';
}

int UnicodeToOctet(char32_t cp, CodePage page)
{
    if (cp < 0x80)
        return int(cp);
    if (cp > 0xFFFF)
        return -1;
    const uint8_t octet = ReverseOf(page)[cp];
    return octet != 0 ? octet : -1;
}

std::string Utf8ToCodePage(std::string_view utf8, CodePage page)
{
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const int octet = UnicodeToOctet(NextCodePoint(utf8, pos), page);
        out += octet >= 0 ? static_cast<char>(octet) : '?';
    }
    return out;
}

std::string CodePageToUtf8(std::string_view octets, CodePage page)
{
    std::string out;
    out.reserve(octets.size() * 2);
    for (char c : octets)
        AppendUtf8(out, OctetToUnicode(static_cast<uint8_t>(c), page));
    return out;
}

bool IsValidUtf8(std::string_view octets)
{
    for (size_t pos = 0; pos < octets.size();) {
        const size_t before = pos;
        const char32_t cp = NextCodePoint(octets, pos);
        if (cp == 0xFFFD && !(pos - before == 3 && octets.substr(before, 3) == "\xEF\xBF\xBD"))
            return false;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}
