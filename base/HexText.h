#pragma once
// Octets as text for the log: a blank and two capital hexadecimal digits per octet.
#include <cstdint>
#include <span>
#include <string>

std::string BytesToHex(std::span<const uint8_t> octets);
