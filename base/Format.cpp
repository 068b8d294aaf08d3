#include "base/Format.h"

#include <cstdio>
#include <cstring>

namespace {

// Gives the pattern with every %x conversion turned into %X; false when it has none.
bool CapitalizeHex(const char* pattern, std::string& out)
{
    if (!std::strchr(pattern, 'x'))
        return false;
    out = pattern;
    bool changed = false;
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] != '%')
            continue;
        ++i;
        if (i < out.size() && out[i] == '%')
            continue;
        i = out.find_first_not_of("-+ #0'123456789.*hlLqjzt", i);
        if (i == std::string::npos)
            break;
        if (out[i] == 'x') {
            out[i] = 'X';
            changed = true;
        }
    }
    return changed;
}

} // namespace

std::string FormatV(const char* pattern, va_list args)
{
    std::string capitalized;
    if (CapitalizeHex(pattern, capitalized))
        pattern = capitalized.c_str();
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
