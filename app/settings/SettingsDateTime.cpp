#include "app/settings/SettingsDateTime.h"

#include "app/settings/DateTimeText.h"

#include "base/Format.h"

#include <QString>


std::string DateTimeToSettingsText(TDateTime value)
{
    const DateTimeParts p = DecodeDateTime(value);
    return Format("%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
}

std::optional<TDateTime> SettingsTextToDateTime(const std::string& text)
{
    return ParseDateTimeText(QString::fromStdString(text), false);
}
