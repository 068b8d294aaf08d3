#include "app/settings/DateTimeText.h"

#include <QRegularExpression>

namespace {

int Group(const QRegularExpressionMatch& match, int index)
{
    return match.capturedLength(index) > 0 ? match.captured(index).toInt() : 0;
}

std::optional<TDateTime> Compose(int year, int month, int day, const QRegularExpressionMatch& match, int timeGroup)
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

std::optional<TDateTime> ParseDateTimeText(const QString& text, bool acceptBareTime)
{
    static const QString time = QStringLiteral("(?:[ T]+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?");
    static const QRegularExpression dotted(
        QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4}|\\d{2})") + time + QStringLiteral("\\s*$"));
    static const QRegularExpression iso(
        QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})") + time + QStringLiteral("\\s*$"));
    static const QRegularExpression timeOnly(QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2}))?\\s*$"));

    if (const auto match = dotted.match(text); match.hasMatch()) {
        int year = Group(match, 3);
        if (match.capturedLength(3) == 2)
            year += year < 50 ? 2000 : 1900;
        return Compose(year, Group(match, 2), Group(match, 1), match, 4);
    }
    if (const auto match = iso.match(text); match.hasMatch())
        return Compose(Group(match, 1), Group(match, 2), Group(match, 3), match, 4);
    if (acceptBareTime)
        if (const auto match = timeOnly.match(text); match.hasMatch())
            return Compose(1899, 12, 30, match, 1);
    return std::nullopt;
}
