#include "base/FormatDateTime.h"

#include <gtest/gtest.h>

TEST(FormatDateTime, FormatsTheLettersOfTheClassicPatterns)
{
    const TDateTime t = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);   // a Tuesday
    const std::pair<const char*, const char*> cases[] = {
        {"dd.mm.yy hh:nn:ss.zzz", "05.03.24 14:07:09.045"},
        {"d/m/yyyy", "5.3.2024"},
        {"ddddd", "05.03.2024"},
        {"dddddd", "5 Март 2024 г."},
        {"ddd dddd", "Вт вторник"},
        {"mmm mmmm", "мар Март"},
        {"hh:mm", "14:07"},            // m after an hour is the minute
        {"h:m:s z", "14:7:9 45"},
        {"t", "14:07"},
        {"tt", "14:07:09"},
        {"c", "05.03.2024 14:07:09"},
        {"hh am/pm", "02 pm"},
        {"h a/p", "2 p"},
        {"'dd' \"mm\" yyyy", "dd mm 2024"},
        {"YYYY-MM-DD", "2024-03-05"},
        {"", "05.03.2024 14:07:09"},
    };
    for (const auto& [format, expected] : cases)
        EXPECT_EQ(FormatDateTime(format, t), expected) << format;
}

TEST(FormatDateTime, LeavesTheTimeOutOfCAtMidnightAndKnowsTheWeekday)
{
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2000, 1, 1)), "01.01.2000");
    EXPECT_EQ(DayOfWeek(0.0), 7);                       // 1899-12-30, a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);    // a Sunday
    EXPECT_EQ(DayOfWeek(-1.0), 6);
}
