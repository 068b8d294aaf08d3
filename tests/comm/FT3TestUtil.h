#pragma once
// Helpers of the protocol tests: octets written as hexadecimal text, as frames appear in logs
// ("A0 26 06 D3"), frames built from user data, and the message of an expected failure.
#include "comm/FT3Frame.h"

#include <exception>
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

// The message of the exception of type E that the action raises, or what happened instead.
template <typename E, typename F>
std::string MessageOf(F&& action)
{
    try {
        action();
    } catch (const E& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("other failure: ") + e.what();
    }
    return "no failure";
}
