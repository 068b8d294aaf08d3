#include "app/board/LayoutText.h"

#include "app/settings/DateTimeText.h"

#include "base/Exception.h"
#include "base/FormatDateTime.h"

#include <cmath>

namespace {

[[noreturn]] void NotANumber(const QString& text, const char* what)
{
    throw EConvertError(QStringLiteral("\"%1\" не является %2").arg(text, QString::fromUtf8(what)).toStdString());
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
    return ParseDateTimeText(text, true);
}
