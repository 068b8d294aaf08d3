#include "core/DataFile/PointXml.h"

#include "base/Exception.h"
#include "core/DataFile/PointText.h"

#include <QLatin1StringView>
#include <QString>
#include <QXmlStreamAttributes>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>

namespace {

[[noreturn]] void Fail(const QString& message)
{
    throw Exception(message.toStdString());
}

QStringView Required(const QXmlStreamAttributes& attributes, QLatin1StringView name)
{
    if (!attributes.hasAttribute(name))
        Fail(QStringLiteral("нет атрибута \"%1\"").arg(name));
    return attributes.value(name);
}

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

int ReadIndexAttribute(const QXmlStreamAttributes& attributes, QLatin1StringView name)
{
    const QStringView text = Required(attributes, name);
    const auto value = ParseInteger(text);
    if (!value)
        Fail(QStringLiteral("\"%1\" не является целым числом (атрибут \"%2\")").arg(text, name));
    if (*value < 0 || *value > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(*value);
}

TTITPoint ReadPoint(const QXmlStreamAttributes& attributes)
{
    const QStringView timeText = Required(attributes, QLatin1StringView("time"));
    const QStringView valueText = Required(attributes, QLatin1StringView("value"));
    TTITPoint point;
    if (const auto time = ParsePointTime(timeText)) {
        point.SetTime(*time);
    } else if (const auto unixTime = ParseInteger(attributes.value(QLatin1StringView("unixtime")));
               unixTime && IsDateTimeInRange(UnixToDateTime(*unixTime))) {
        // A time beyond the years the program encodes would overflow the sensor's averaging.
        point.SetTime(UnixToDateTime(*unixTime));
    } else {
        Fail(QStringLiteral("\"%1\" не является датой и временем").arg(timeText));
    }
    const auto value = ParsePointValue(valueText);
    if (!value)
        Fail(QStringLiteral("\"%1\" не является числом").arg(valueText));
    point.Value = *value;
    return point;
}

void ThrowOnXmlError(const QXmlStreamReader& xml)
{
    if (!xml.hasError())
        return;
    if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        Fail(QStringLiteral("файл обрывается в строке %1").arg(xml.lineNumber()));
    Fail(QStringLiteral("ошибка XML в строке %1, позиции %2: %3")
             .arg(xml.lineNumber())
             .arg(xml.columnNumber())
             .arg(xml.errorString()));
}

void WritePoint(QXmlStreamWriter& xml, const TTITPoint& point)
{
    TPointTextBuffer buffer;
    xml.writeStartElement(QStringLiteral("point"));
    xml.writeAttribute(QStringLiteral("time"), Latin1(FormatPointTime(point.Time, buffer)));
    xml.writeAttribute(QStringLiteral("value"), Latin1(FormatPointValue(point.Value, buffer)));
    xml.writeAttribute(QStringLiteral("unixtime"), Latin1(FormatInteger(point.UnixTime, buffer)));
    xml.writeEndElement();
}
