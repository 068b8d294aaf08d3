#include "comm/FT3Time.h"

#include "base/Format.h"
#include "base/FormatDateTime.h"
#include "comm/FT3Exceptions.h"

TDateTime Time2aToDateTime(uint32_t a, uint32_t b)
{
    if (a == 0 && (b & 0xFFFFFF) == 0)
        return 0;
    const int msec = static_cast<int>(a & 0xFFFF);
    const int minute = static_cast<int>((a >> 16) & 0x3F);
    const int hour = static_cast<int>((a >> 24) & 0x1F);
    const int day = static_cast<int>(b & 0x1F);
    const int month = static_cast<int>((b >> 8) & 0x0F);
    const int year = static_cast<int>((b >> 16) & 0x7F) + 2000;
    return EncodeDateTime(year, month, day, hour, minute, msec / 1000, msec % 1000);
}

TDateTime DecodeTime_2a(const DynByteArray& buffer, uint16_t position, bool isLong)
{
    const size_t need = size_t{position} + (isLong ? 7 : 5);
    if (buffer.size() < need)
        throw EShareFT3Exception(kFT3OutOfBounds);
    const uint8_t* t = buffer.data() + position;
    uint32_t a;
    uint32_t b;
    if (isLong) {
        a = t[0] | t[1] << 8 | t[2] << 16 | static_cast<uint32_t>(t[3]) << 24;
        b = t[4] | t[5] << 8 | t[6] << 16;
    } else {
        a = t[0] << 16 | static_cast<uint32_t>(t[1]) << 24;
        b = t[2] | t[3] << 8 | t[4] << 16;
    }
    return Time2aToDateTime(a, b);
}

std::array<uint8_t, 7> EncodeTime_2a(TDateTime value)
{
    const DateTimeParts t = DecodeDateTime(value);
    const int msec = t.second * 1000 + t.msec;
    // The day of the week is taken from the decoded date, so that a value rounded up into the
    // next day carries that day's weekday too.
    const int weekday = DayOfWeek(EncodeDate(t.year, t.month, t.day));
    return {static_cast<uint8_t>(msec & 0xFF),
            static_cast<uint8_t>(msec >> 8),
            static_cast<uint8_t>(t.minute),
            static_cast<uint8_t>(t.hour),
            static_cast<uint8_t>(t.day + 32 * weekday),
            static_cast<uint8_t>(t.month),
            static_cast<uint8_t>(t.year % 100)};
}

void DecodeIDDevFT3(uint32_t identifier, std::string& text)
{
    const auto bits = [identifier](int low, int count) {
        return static_cast<int>((identifier >> low) & ((1u << count) - 1));
    };
    text.clear();
    text += static_cast<char>('A' + bits(11, 5));
    text += static_cast<char>('A' + bits(6, 5));
    if (bits(2, 4) != 15)
        text += Format("%d", bits(2, 4));
    else
        text += static_cast<char>('A' + bits(0, 2) * 8 + bits(20, 3));
    text += Format("%2.2d", bits(16, 4));
    text += bits(23, 1) ? "E" : "C";
}
