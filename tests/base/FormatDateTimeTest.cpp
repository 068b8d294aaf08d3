#include "base/FormatDateTime.h"

#include <gtest/gtest.h>

TEST(FormatDateTime, FormatsTheLettersOfTheClassicPatterns)
{
    const TDateTime t = EncodeDateTime(2024, 3, 5, 14, 7, 9, 45);   // a Tuesday
    const std::pair<const char*, const char*> cases[] = {
        {"dd.mm.yy hh:nn:ss.zzz", "05.03.24 14:07:09.045"},
        {"d/m/yyyy", "5.3.2024"},
        {"ddddd", "05.03.2024"},
        {"dddddd", "5 марта 2024 г."},   // a day number makes the month genitive
        {"d mmmm", "5 марта"},
        {"dd mmm yy", "05 мар 24"},
        {"dddd mmmm", "вторник Март"},     // a day name does not
        {"mmmm 'dd' yyyy", "Март dd 2024"},
        {"Дата: d mmmm", "Дата: 5 марта"},
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

// The names a Russian system gives: months in the nominative and, beside a day number, in the
// genitive, short and long; days short and long.
TEST(FormatDateTime, RussianMonthAndDayNames)
{
    const char* const months[12][4] = {
        {"янв", "Январь", "янв", "января"},      {"фев", "Февраль", "фев", "февраля"},
        {"мар", "Март", "мар", "марта"},         {"апр", "Апрель", "апр", "апреля"},
        {"май", "Май", "мая", "мая"},            {"июн", "Июнь", "июн", "июня"},
        {"июл", "Июль", "июл", "июля"},          {"авг", "Август", "авг", "августа"},
        {"сен", "Сентябрь", "сен", "сентября"},  {"окт", "Октябрь", "окт", "октября"},
        {"ноя", "Ноябрь", "ноя", "ноября"},      {"дек", "Декабрь", "дек", "декабря"},
    };
    for (int m = 1; m <= 12; ++m) {
        const TDateTime t = EncodeDate(2025, m, 1);
        const auto& names = months[m - 1];
        EXPECT_EQ(FormatDateTime("mmm|mmmm", t), std::string(names[0]) + "|" + names[1]) << m;
        EXPECT_EQ(FormatDateTime("d mmm|d mmmm", t), std::string("1 ") + names[2] + "|1 " + names[3]) << m;
    }
    EXPECT_EQ(FormatDateTime("dddddd", EncodeDate(2024, 5, 9)), "9 мая 2024 г.");

    const char* const days[7][2] = {{"Пн", "понедельник"}, {"Вт", "вторник"}, {"Ср", "среда"},
        {"Чт", "четверг"}, {"Пт", "пятница"}, {"Сб", "суббота"}, {"Вс", "воскресенье"}};
    for (int d = 0; d < 7; ++d) {
        const TDateTime monday = EncodeDate(2024, 3, 4);
        EXPECT_EQ(FormatDateTime("ddd|dddd", monday + d), std::string(days[d][0]) + "|" + days[d][1]) << d;
    }
}
