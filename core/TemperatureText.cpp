#include "core/TemperatureText.h"

#include "core/Device/SensorLimits.h"
#include "core/Parameters.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

// The value with the given decimals, exactly rounded from its binary value (an exact tie goes to
// the even neighbour), independent of the C locale.
std::string Fixed(double value, int decimals)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

double HalfDegrees(double value)
{
    const double whole = std::trunc(value) + 0.0;   // + 0.0: no "-0.0" for values just below zero
    const double fraction = value - std::trunc(value);
    if (fraction <= 0.35)
        return whole;
    if (fraction < 0.66)
        return whole + 0.5;
    return whole + 1.0;
}

} // namespace

QString FormatTemperature(int precision, double value)
{
    std::string text = precision < 4 ? Fixed(value, std::max(precision, 0)) : Fixed(HalfDegrees(value), 1);
    if (text.size() < 5)
        text.insert(0, 5 - text.size(), ' ');
    QString shown = QString::fromLatin1(text);
    shown.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return shown;
}

QString SensorValueText(double value, const Parameters& settings)
{
    if (value == kNoData)
        return {};
    if (IsShortCircuit(value))
        return settings.TextShort;
    if (IsOpenLine(value))
        return settings.TextBreak;
    return FormatTemperature(settings.Precision, value);
}
