#pragma once
// Date-time formatting with the classic format letters (d, m, y, h, n, s, z, t, c, am/pm, quoted
// literals), as the program's texts and its calculation scripts use them. The names and formats
// follow the Russian locale the program runs under.
#include "base/DateTime.h"

#include <array>
#include <string>

struct TFormatSettings {
    std::string ShortDateFormat = "dd.mm.yyyy";
    std::string LongDateFormat = "d mmmm yyyy 'г.'";
    std::string ShortTimeFormat = "h:nn";
    std::string LongTimeFormat = "h:nn:ss";
    std::string TimeAMString;   // Russian has no AM/PM designators
    std::string TimePMString;
    char DateSeparator = '.';
    char TimeSeparator = ':';
    std::array<std::string, 12> ShortMonthNames{"янв", "фев", "мар", "апр", "май", "июн",
                                                "июл", "авг", "сен", "окт", "ноя", "дек"};
    std::array<std::string, 12> LongMonthNames{"Январь", "Февраль", "Март",     "Апрель",
                                               "Май",    "Июнь",    "Июль",     "Август",
                                               "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    // Beside a day number ("5 марта", "1 мая") months take the genitive.
    std::array<std::string, 12> ShortMonthGenitiveNames{"янв", "фев", "мар", "апр", "мая", "июн",
                                                        "июл", "авг", "сен", "окт", "ноя", "дек"};
    std::array<std::string, 12> LongMonthGenitiveNames{"января", "февраля", "марта",    "апреля",
                                                       "мая",    "июня",    "июля",     "августа",
                                                       "сентября", "октября", "ноября", "декабря"};
    std::array<std::string, 7> ShortDayNames{"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    std::array<std::string, 7> LongDayNames{"воскресенье", "понедельник", "вторник", "среда",
                                            "четверг",     "пятница",     "суббота"};
};

// The settings used when none are given.
const TFormatSettings& DefaultFormatSettings();

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// Formats a value: "dd.mm.yy hh:nn:ss.zzz", "ddddd" (short date), "c" (date and long time, the
// time left out at midnight), 'quoted' and "quoted" literal text; other characters are copied.
// Month names ("mmm", "mmmm") are genitive in a format that also holds a day number ("d", "dd").
std::string FormatDateTime(const std::string& format, TDateTime value,
                           const TFormatSettings& settings = DefaultFormatSettings());
