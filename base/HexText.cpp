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
