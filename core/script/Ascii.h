#pragma once
// Character classes of the language's names and numbers: ASCII only, independent of the locale,
// and cheap enough for the lexer's inner loops.

namespace script {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
inline bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool IsNameStart(char c) { return IsLetter(c) || c == '_'; }
inline bool IsNamePart(char c) { return IsNameStart(c) || IsDigit(c); }
inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline int HexValue(char c) { return IsDigit(c) ? c - '0' : AsciiLower(c) - 'a' + 10; }

} // namespace script
