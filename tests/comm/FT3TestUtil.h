#pragma once
// Octets written as hexadecimal text, as frames appear in logs: "A0 26 06 D3".
#include "comm/FT3Frame.h"

#include <sstream>
#include <string>

inline DynByteArray Hex(const std::string& text)
{
    DynByteArray octets;
    std::istringstream in(text);
    std::string word;
    while (in >> word)
        octets.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
    return octets;
}

// A frame built from user data with the program's builder.
inline DynByteArray Framed(DynByteArray userData)
{
    MakePackageFT31(userData, 0);
    return userData;
}

// A frame built without touching the control octet (for old-format replies).
inline DynByteArray FramedAsIs(DynByteArray userData)
{
    MakePackageFT3(userData, 0);
    return userData;
}
