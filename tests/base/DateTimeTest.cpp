#include "base/DateTime.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

TEST(DateTime, EncodesKnownDays)
{
    struct Case { int y, m, d; double value; };
    const Case cases[] = {
        {1899, 12, 30, 0.0}, {1899, 12, 29, -1.0}, {1900, 1, 1, 2.0},
        {1970, 1, 1, 25569.0}, {2000, 2, 29, 36585.0}, {2006, 11, 23, 39044.0},
        {1, 1, 1, -693593.0}, {9999, 12, 31, 2958465.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.value) << c.y << "-" << c.m << "-" << c.d;
        const DateTimeParts p = DecodeDateTime(c.value);
        EXPECT_EQ(p.year, c.y);
        EXPECT_EQ(p.month, c.m);
        EXPECT_EQ(p.day, c.d);
    }
}

TEST(DateTime, RoundTripsTimeOfDayIncludingBeforeTheEpoch)
{
    const DateTimeParts cases[] = {
        {2006, 11, 23, 13, 15, 20, 0}, {2024, 2, 29, 23, 59, 59, 999},
        {1899, 12, 29, 6, 0, 0, 0},    {1899, 12, 30, 18, 30, 0, 500},
        {1800, 7, 4, 0, 0, 1, 1},
    };
    for (const auto& c : cases) {
        const TDateTime value = EncodeDateTime(c);
        EXPECT_EQ(DecodeDateTime(value), c) << value;
    }
    // Before 1899-12-30 the time of day stays a positive fraction of a negative whole day.
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
}

// The last instant of either end of the range rounds to its last millisecond, never out of the
// range; a value already outside is decoded as it is.
TEST(DateTime, DecodingKeepsTheRangeEnds)
{
    const struct {
        TDateTime value;
        DateTimeParts parts;
    } cases[] = {
        {std::nextafter(2958466.0, 0.0), {9999, 12, 31, 23, 59, 59, 999}},
        {2958466.0 - 0.4 / kMSecsPerDay, {9999, 12, 31, 23, 59, 59, 999}},
        {2958466.0 - 1.6 / kMSecsPerDay, {9999, 12, 31, 23, 59, 59, 998}},
        {std::nextafter(-693594.0, 0.0), {1, 1, 1, 23, 59, 59, 999}},
        {2958466.0, {10000, 1, 1, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeDateTime(c.value), c.parts) << std::setprecision(17) << c.value;
}

TEST(DateTime, RejectsInvalidParts)
{
    TDateTime out = 0;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, out));
    EXPECT_FALSE(TryEncodeDate(2023, 0, 1, out));
    EXPECT_FALSE(TryEncodeDate(2023, 13, 1, out));
    EXPECT_FALSE(TryEncodeDate(0, 1, 1, out));
    EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, out));
    EXPECT_FALSE(TryEncodeTime(0, 60, 0, 0, out));
    EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, out));
    EXPECT_THROW(EncodeDate(2006, 0, 23), EConvertError);
    EXPECT_THROW(EncodeTime(25, 0, 0, 0), EConvertError);
}

TEST(DateTime, UnixRule)
{
    EXPECT_EQ(DateTimeToUnix(25569.0), 0);
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(2006, 11, 23, 13, 15, 20, 0)), 1164287720);
    EXPECT_EQ(DateTimeToUnix(EncodeDateTime(1969, 12, 31, 23, 59, 59, 0)), -1);
    EXPECT_DOUBLE_EQ(UnixToDateTime(86400), 25570.0);
}

TEST(DateTime, LocalClockAgreesWithUtcConversion)
{
    const TDateTime now = Now();
    const int64_t utc = LocalToUtcSeconds(now);
    EXPECT_NEAR(UtcSecondsToLocal(utc), now, 1.0 / 86400.0 + 1e-9);
    EXPECT_DOUBLE_EQ(Date(), std::floor(Date()));
}
