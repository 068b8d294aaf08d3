#pragma once
// Text forms of a history point's time and temperature in the data file.
//
// The file is written in one fixed form that no locale changes: the time as
// "yyyy-mm-ddThh:nn:ss.zzz" (local wall-clock time, as the program keeps it) and the temperature
// with a decimal point in the shortest form that reads back to the same number. Older files hold
// the texts of the Russian locale ("01.05.2024 9:05:03", "12,5"); reading accepts those too.
#include "base/DateTime.h"

#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

using TPointTextBuffer = std::array<char, 40>;

std::string_view FormatPointTime(TDateTime time, TPointTextBuffer& buffer);
std::string_view FormatPointValue(double value, TPointTextBuffer& buffer);
std::string_view FormatInteger(int64_t value, TPointTextBuffer& buffer);

// The fixed form, or the Russian locale's "d.m.yyyy[ h:nn[:ss[.zzz]]]"; nothing for any other text.
std::optional<TDateTime> ParsePointTime(QStringView text);
// A decimal number with a point or a comma, an optional exponent; blanks around it are allowed.
std::optional<double> ParsePointValue(QStringView text);
// A decimal integer; blanks around it are allowed.
std::optional<int64_t> ParseInteger(QStringView text);
