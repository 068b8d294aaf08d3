#include "app/SettingsDateTime.h"

#include "base/Format.h"

#include <QRegularExpression>
#include <QString>

namespace {

int Group(const QRegularExpressionMatch& match, int index, int fallback = 0)
{
    return match.capturedLength(index) > 0 ? match.captured(index).toInt() : fallback;
}

std::optional<TDateTime> Encode(int year, int month, int day, const QRegularExpressionMatch& match, int timeGroup)
{
    DateTimeParts parts;
    parts.year = year;
    parts.month = month;
    parts.day = day;
    parts.hour = Group(match, timeGroup);
    parts.minute = Group(match, timeGroup + 1);
    parts.second = Group(match, timeGroup + 2);
    TDateTime result = 0;
    if (!TryEncodeDateTime(parts, result))
        return std::nullopt;
    return result;
}

} // namespace

std::string DateTimeToSettingsText(TDateTime value)
{
    const DateTimeParts p = DecodeDateTime(value);
    return Format("%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
}

std::optional<TDateTime> SettingsTextToDateTime(const std::string& text)
{
    static const QString time = QStringLiteral("(?:[ T]+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?");
    static const QRegularExpression iso(QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})") + time + QStringLiteral("\\s*$"));
    static const QRegularExpression dotted(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})") + time + QStringLiteral("\\s*$"));

    const QString value = QString::fromStdString(text);
    if (const auto match = iso.match(value); match.hasMatch())
        return Encode(Group(match, 1), Group(match, 2), Group(match, 3), match, 4);
    if (const auto match = dotted.match(value); match.hasMatch()) {
        int year = Group(match, 3);
        if (match.capturedLength(3) == 2)
            year += year < 50 ? 2000 : 1900;
        return Encode(year, Group(match, 2), Group(match, 1), match, 4);
    }
    return std::nullopt;
}
