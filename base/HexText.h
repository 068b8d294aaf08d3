#pragma once
// Octets as hexadecimal text and back.
#include <cstdint>
#include <span>
#include <string>

// Octets as text for the log: a blank and two capital hexadecimal digits per octet.
std::string BytesToHex(std::span<const uint8_t> octets);

// The value of one hexadecimal digit of either case, or -1 for any other character.
int HexDigitValue(char c);
