#pragma once
// Controller time (CP56Time2a and its five-octet short form) and the controller identifier.
//
// CP56Time2a: octets 0-1 milliseconds within the minute (low first), 2 minute (bits 0-5),
// 3 hour (bits 0-4), 4 day of the month (bits 0-4), 5 month (bits 0-3), 6 year - 2000 (bits 0-6).
// The flag bits and the day of the week are ignored. The short form is minute, hour, day, month,
// year. All octets zero means no time.
#include "base/DateTime.h"
#include "comm/FT3Frame.h"

#include <array>
#include <cstdint>
#include <string>

// a: milliseconds (bits 0-15), minute (16-21), hour (24-28); b: day (0-4), month (8-11),
// year - 2000 (16-22). Zero for no time; an invalid date or time raises EConvertError.
TDateTime Time2aToDateTime(uint32_t a, uint32_t b);

// Decodes the seven-octet (isLong) or five-octet time at position. A buffer too short for it
// raises EShareFT3Exception.
TDateTime DecodeTime_2a(const DynByteArray& buffer, uint16_t position, bool isLong);

// The seven CP56Time2a octets of a date-time, as a controller's clock is set: milliseconds within
// the minute, minute, hour, day of the month + 32 x day of the week (1 Sunday .. 7 Saturday),
// month, year mod 100. No invalid or summer-time flag is set.
std::array<uint8_t, 7> EncodeTime_2a(TDateTime value);

// The 24-bit controller identifier as its text, e.g. "AB512C".
void DecodeIDDevFT3(uint32_t identifier, std::string& text);
