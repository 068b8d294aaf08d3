#pragma once
// printf-style formatting into a std::string (the program's messages use printf patterns).
// Hexadecimal comes out in capitals for %x as for %X, as the program's log lines always had it.
#include <cstdarg>
#include <string>

std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* pattern, va_list args);
