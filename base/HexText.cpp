#include "base/HexText.h"

std::string BytesToHex(std::span<const uint8_t> octets)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(octets.size() * 3);
    for (uint8_t octet : octets) {
        text += ' ';
        text += digits[octet >> 4];
        text += digits[octet & 0x0F];
    }
    return text;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
