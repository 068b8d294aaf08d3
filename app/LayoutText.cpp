#include "app/LayoutText.h"

#include "base/Exception.h"
#include "base/FormatDateTime.h"

#include <QRegularExpression>

#include <cmath>

namespace {

[[noreturn]] void NotANumber(const QString& text, const char* what)
{
    throw EConvertError(QStringLiteral("\"%1\" не является %2").arg(text, QString::fromUtf8(what)).toStdString());
}

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

QString LayoutFloatText(double value)
{
    return QString::number(value, 'g', 15);
}

QString LayoutDateTimeText(TDateTime value)
{
    if (std::trunc(value) == 0)
        return QString::fromStdString(FormatDateTime("h:nn:ss", value));
    return QString::fromStdString(FormatDateTime("c", value));
}

std::optional<int> TryParseLayoutInteger(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

int ParseLayoutInteger(const QString& text)
{
    if (const auto value = TryParseLayoutInteger(text))
        return *value;
    NotANumber(text, "целым числом");
}

double ParseLayoutFloat(const QString& text)
{
    QString normal = text.trimmed();
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = normal.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        NotANumber(text, "числом");
    return value;
}

std::optional<TDateTime> TryParseLayoutDateTime(const QString& text)
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
    if (const auto match = timeOnly.match(text); match.hasMatch())
        return Compose(1899, 12, 30, match, 1);
    return std::nullopt;
}
