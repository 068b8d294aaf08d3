// Encoding a date-time as the seven CP56Time2a octets a controller's clock is set with.
#include "comm/FT3Share.h"
#include "comm/FT3TestUtil.h"

#include <gtest/gtest.h>

TEST(FT3TimeEncode, EncodesWithTheDayOfTheWeekAndDecodesBack)
{
    struct Case { TDateTime value; const char* octets; };
    const Case cases[] = {
        // 20,500 ms, 13:15, 22 + 32 x Wednesday (4), November, 2006.
        {EncodeDateTime(2006, 11, 22, 13, 15, 20, 500), "14 50 0F 0D 96 0B 06"},
        // Sunday is 1, Saturday 7.
        {EncodeDateTime(2006, 11, 26, 0, 0, 0, 0), "00 00 00 00 3A 0B 06"},
        {EncodeDateTime(2006, 11, 25, 23, 59, 59, 999), "5F EA 3B 17 F9 0B 06"},
        {EncodeDateTime(2099, 12, 31, 12, 0, 1, 0), "E8 03 00 0C BF 0C 63"},
    };
    for (const auto& c : cases) {
        const auto encoded = EncodeTime_2a(c.value);
        const DynByteArray octets(encoded.begin(), encoded.end());
        EXPECT_EQ(octets, Hex(c.octets)) << c.octets;
        EXPECT_DOUBLE_EQ(DecodeTime_2a(octets, 0, true), c.value) << c.octets;
    }
}

TEST(FT3TimeEncode, AValueRoundedIntoTheNextDayCarriesThatDaysWeekday)
{
    // Half a millisecond before Sunday midnight rounds to Sunday 00:00:00.000.
    const TDateTime almost = EncodeDateTime(2006, 11, 26, 0, 0, 0, 0) - 0.4 / kMSecsPerDay;
    const auto encoded = EncodeTime_2a(almost);
    EXPECT_EQ(DynByteArray(encoded.begin(), encoded.end()), Hex("00 00 00 00 3A 0B 06"));
}
