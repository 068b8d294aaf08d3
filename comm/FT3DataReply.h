#pragma once
// The header of a data reply (function 20), read from the extracted user data:
// U[6] low nibble is the channel-count code; code 15 puts the count itself in U[7] and moves
// every later field one octet on. Then the first channel's address (16-bit, low octet first),
// the format octet (low nibble: data format; bit 5: last value trustworthy; bit 7: a field is
// present) and the data. A reply too short for the field read raises EShareFT3Exception.
#include "comm/FT3Frame.h"

#include <cstdint>

// The channel count; an unsupported count code raises EShareFT3Exception.
uint8_t GetCountDT_14(const DynByteArray& reply);
// The first channel's address.
uint16_t GetAddrCH_14(const DynByteArray& reply);
// The data format (low nibble of the format octet).
uint8_t GetFormatDT_14(const DynByteArray& reply);
// Bit 5 of the format octet: the last value can be trusted.
bool IsLastTrust_14(const DynByteArray& reply);
// Bit 7 of the format octet: a field is present.
bool IsFldPresent_14(const DynByteArray& reply);
// Where the data starts: 10, or 11 when the count code is 15.
uint16_t GetPosDT_14(const DynByteArray& reply);
