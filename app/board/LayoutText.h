#pragma once
// Numbers and dates in the silo-block layout file. They are written in one form whatever the
// machine's locale: numbers with a decimal point (up to 15 significant digits), dates day first
// with dots and the time when it is not midnight ("01.03.2024 14:05:00", "01.03.2024"), and a
// bare time for a value without a date ("0:00:00"). Reading takes these forms, a decimal comma
// as files written under a Russian locale hold it, and ISO dates ("2024-03-01 14:05:00").
#include "base/DateTime.h"

#include <QString>

#include <optional>

QString LayoutFloatText(double value);
QString LayoutDateTimeText(TDateTime value);

// A decimal integer (optional sign and blanks around it); nullopt otherwise.
std::optional<int> TryParseLayoutInteger(const QString& text);
// The same, raising EConvertError with a message naming the text.
int ParseLayoutInteger(const QString& text);
// A number with a decimal point or comma and an optional exponent; EConvertError otherwise.
double ParseLayoutFloat(const QString& text);
std::optional<TDateTime> TryParseLayoutDateTime(const QString& text);
