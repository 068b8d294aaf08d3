#include "core/DataFile/PointText.h"

#include <gtest/gtest.h>

#include <QString>

#include <cmath>
#include <limits>

TEST(PointText, TimesAreWrittenInOneFixedFormWithMilliseconds)
{
    TPointTextBuffer buffer;
    EXPECT_EQ(FormatPointTime(EncodeDateTime(2024, 5, 1, 9, 5, 3, 250), buffer), "2024-05-01T09:05:03.250");
    EXPECT_EQ(FormatPointTime(0, buffer), "1899-12-30T00:00:00.000");
    EXPECT_EQ(FormatPointTime(EncodeDateTime(2023, 12, 31, 23, 59, 59, 999), buffer), "2023-12-31T23:59:59.999");
    // Within half a millisecond of midnight: the next day.
    EXPECT_EQ(FormatPointTime(EncodeDate(2024, 3, 1) - 0.0004 / 86400, buffer), "2024-03-01T00:00:00.000");
}

TEST(PointText, ValuesAreWrittenWithAPointInTheShortestExactForm)
{
    TPointTextBuffer buffer;
    const double values[] = {12.5, -0.1, 0, 1e-7, 123456.789, -999, 0.1 + 0.2, 1.0 / 3, 70.00000000000001};
    for (double v : values) {
        const std::string_view text = FormatPointValue(v, buffer);
        EXPECT_EQ(text.find(','), std::string_view::npos) << text;
        EXPECT_EQ(ParsePointValue(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))), v) << text;
    }
    EXPECT_EQ(FormatPointValue(12.5, buffer), "12.5");
    EXPECT_EQ(FormatInteger(-1714554303, buffer), "-1714554303");
}

TEST(PointText, ReadsTimesInTheFixedAndTheRussianForms)
{
    const struct {
        const char* text;
        std::optional<TDateTime> time;
    } cases[] = {
        {"2024-05-01T09:05:03.250", EncodeDateTime(2024, 5, 1, 9, 5, 3, 250)},
        {"2024-05-01T09:05:03.5", EncodeDateTime(2024, 5, 1, 9, 5, 3, 500)},
        {"2024-05-01T09:05:03", EncodeDateTime(2024, 5, 1, 9, 5, 3, 0)},
        {" 2024-05-01T09:05:03.000 ", EncodeDateTime(2024, 5, 1, 9, 5, 3, 0)},
        {"01.05.2024 9:05:03", EncodeDateTime(2024, 5, 1, 9, 5, 3, 0)},
        {"1.5.2024 19:05", EncodeDateTime(2024, 5, 1, 19, 5, 0, 0)},
        {"01.05.2024", EncodeDate(2024, 5, 1)},
        {"29.02.2024 0:00:01", EncodeDateTime(2024, 2, 29, 0, 0, 1, 0)},
        {"29.02.2023 0:00:01", std::nullopt},
        {"2024-13-01T00:00:00", std::nullopt},
        {"2024-05-01 09:05:03", std::nullopt},
        {"2024-05-01T25:00:00", std::nullopt},
        {"2024-05-01T09:05:03.1234", std::nullopt},
        {"01.05.24 9:05:03", std::nullopt},
        {"5/1/2024 9:05:03 AM", std::nullopt},
        {"01.05.2024 9:05:03 x", std::nullopt},
        {"", std::nullopt},
        {"01.05.2024 9:05:03 ещё", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePointTime(QString::fromUtf8(c.text)), c.time) << c.text;
}

TEST(PointText, ReadsNumbersWithAPointOrAComma)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"12.5", 12.5}, {"12,5", 12.5},  {"-0,25", -0.25}, {" 7 ", 7.0},     {"1,5E-3", 1.5e-3}, {"1e20", 1e20},
        {"1.5.3", {}},  {"1,5,3", {}},   {"1.5,3", {}},    {"", {}},         {"abc", {}},       {"12 5", {}},
        {"0x10", {}},   {"١٢", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParsePointValue(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_TRUE(std::isnan(*ParsePointValue(u"nan")));
}

TEST(PointText, ReadsIntegers)
{
    const struct {
        const char* text;
        std::optional<int64_t> value;
    } cases[] = {
        {"0", 0}, {" 12 ", 12}, {"+3", 3}, {"-7", -7}, {"1714554303", 1714554303},
        {"", {}}, {"1.0", {}},  {"x", {}}, {"+-1", {}}, {"99999999999999999999", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseInteger(QString::fromUtf8(c.text)), c.value) << c.text;
}
