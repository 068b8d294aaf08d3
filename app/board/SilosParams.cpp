#include "app/board/SilosParams.h"

#include "app/board/LayoutText.h"
#include "base/Exception.h"
#include "core/Device/MB.h"
#include "core/Device/Silos.h"

#include <QDomElement>
#include <QXmlStreamWriter>

namespace {

QString Required(const QDomElement& element, const char* name)
{
    const QString key = QString::fromLatin1(name);
    if (!element.hasAttribute(key))
        throw EConvertError(QStringLiteral("Элемент \"%1\" без атрибута \"%2\"").arg(element.tagName(), key).toStdString());
    return element.attribute(key);
}

double OptionalFloat(const QDomElement& element, const char* name)
{
    const QString key = QString::fromLatin1(name);
    return element.hasAttribute(key) ? ParseLayoutFloat(element.attribute(key)) : 0.0;
}

TDateTime ReadLoadDate(const QDomElement& element)
{
    if (!element.hasAttribute(QStringLiteral("LoadData")))
        return 0;
    if (const auto date = TryParseLayoutDateTime(element.attribute(QStringLiteral("LoadData"))))
        return *date;
    if (!element.hasAttribute(QStringLiteral("LoadDataUnix")))
        return 0;
    // Plain arithmetic, as the value was written: no time-zone conversion. Seconds beyond the
    // years 1 to 9999 are no date, as if absent.
    const TDateTime date =
        ParseLayoutFloat(element.attribute(QStringLiteral("LoadDataUnix"))) / kSecsPerDay + kUnixDateDelta;
    return IsDateTimeInRange(date) ? date : 0;
}

} // namespace

void SaveParams(const TSilos& silos, QXmlStreamWriter& xml)
{
    xml.writeAttribute(QStringLiteral("Addr"), QString::number(silos.GetMBAddr()));
    xml.writeAttribute(QStringLiteral("No"), QString::number(silos.No()));
    xml.writeAttribute(QStringLiteral("SilosName"), silos.GetName());
    xml.writeAttribute(QStringLiteral("LoadData"), LayoutDateTimeText(silos.LoadData));
    xml.writeAttribute(QStringLiteral("LoadDataUnix"), QString::number(DateTimeToUnix(silos.LoadData)));
    xml.writeAttribute(QStringLiteral("TypeCorn"), silos.TypeCorn);
    xml.writeAttribute(QStringLiteral("ClassCorn"), silos.ClassCorn);
    xml.writeAttribute(QStringLiteral("Weight"), LayoutFloatText(silos.Weight));
    xml.writeAttribute(QStringLiteral("Wet"), LayoutFloatText(silos.Wet));
    xml.writeAttribute(QStringLiteral("OperName"), silos.OperName);
    for (int i = 0; i < silos.TITCount(); ++i) {
        xml.writeStartElement(QStringLiteral("tit"));
        SaveParams(*silos.GetTIT(i), xml);
        xml.writeEndElement();
    }
}

void SaveParams(const TTIT& tit, QXmlStreamWriter& xml)
{
    xml.writeAttribute(QStringLiteral("No"), QString::number(tit.No()));
    xml.writeAttribute(QStringLiteral("Tk"), LayoutFloatText(tit.Tk()));
    xml.writeAttribute(QStringLiteral("Mult"), LayoutFloatText(tit.Mult()));
    xml.writeAttribute(QStringLiteral("Off"), LayoutFloatText(tit.Off()));
}

void LoadParams(TSilos& silos, const QDomElement& element)
{
    silos.SetSilosName(element.attribute(QStringLiteral("SilosName")));
    silos.TypeCorn = element.attribute(QStringLiteral("TypeCorn"));
    silos.ClassCorn = element.attribute(QStringLiteral("ClassCorn"));
    silos.OperName = element.attribute(QStringLiteral("OperName"));
    silos.LoadData = ReadLoadDate(element);
    silos.Weight = OptionalFloat(element, "Weight");
    silos.Wet = OptionalFloat(element, "Wet");
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const int number = ParseLayoutInteger(Required(child, "No"));
        if (TTIT* tit = silos.GetTIT(number); tit && tit->No() == number)
            LoadParams(*tit, child);
    }
}

void LoadParams(TTIT& tit, const QDomElement& element)
{
    const double tk = ParseLayoutFloat(Required(element, "Tk"));
    const double mult = ParseLayoutFloat(Required(element, "Mult"));
    const double off = ParseLayoutFloat(Required(element, "Off"));
    tit.SetTk(tk);
    tit.SetMult(mult);
    tit.SetOff(off);
}
