#include "base/Format.h"

#include <cstdio>

std::string FormatV(const char* pattern, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof small, pattern, copy);
    va_end(copy);
    if (needed < 0)
        return {};
    if (static_cast<size_t>(needed) < sizeof small)
        return std::string(small, static_cast<size_t>(needed));
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), pattern, args);
    text.resize(static_cast<size_t>(needed));
    return text;
}

std::string Format(const char* pattern, ...)
{
    va_list args;
    va_start(args, pattern);
    std::string text = FormatV(pattern, args);
    va_end(args);
    return text;
}
