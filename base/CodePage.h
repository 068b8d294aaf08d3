#pragma once
// Conversion between UTF-8 and the single-octet code pages 1251 and 866 (Cyrillic) and 1252
// (Western, the default of RTF documents). Table driven, so the result never depends on the
// machine's locale.
#include <string>
#include <string_view>

enum class CodePage { Cp1251, Cp866, Cp1252 };

// One octet's code point; octets the code page leaves undefined give '?'.
char32_t OctetToUnicode(unsigned char octet, CodePage page);
// The octet that stands for the code point, or -1 when the code page lacks it.
int UnicodeToOctet(char32_t cp, CodePage page);

// Characters the code page lacks become '?'. Malformed UTF-8 octets become '?' too.
std::string Utf8ToCodePage(std::string_view utf8, CodePage page);
std::string CodePageToUtf8(std::string_view octets, CodePage page);

inline std::string Utf8ToCp1251(std::string_view utf8) { return Utf8ToCodePage(utf8, CodePage::Cp1251); }
inline std::string Cp1251ToUtf8(std::string_view octets) { return CodePageToUtf8(octets, CodePage::Cp1251); }
inline std::string Utf8ToCp866(std::string_view utf8) { return Utf8ToCodePage(utf8, CodePage::Cp866); }
inline std::string Cp866ToUtf8(std::string_view octets) { return CodePageToUtf8(octets, CodePage::Cp866); }

// Appends the UTF-8 form of one code point (up to U+10FFFF).
void AppendUtf8(std::string& out, char32_t cp);

// True when the octets are well-formed UTF-8 (used to tell a UTF-8 file from a code page 1251 one).
bool IsValidUtf8(std::string_view octets);
