// The sensors' and suspensions' part of the data file.
#include "core/DataFile/PointXml.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

void TTIT::SavePoints(QXmlStreamWriter& xml) const
{
    const std::vector<TTITPoint> points = Points();
    if (points.empty())
        return;
    xml.writeStartElement(QStringLiteral("tit"));
    xml.writeAttribute(QStringLiteral("No"), QString::number(no_));
    for (const TTITPoint& point : points)
        WritePoint(xml, point);
    xml.writeEndElement();
}

void TTIT::LoadPoints(QXmlStreamReader& xml, int averagePeriod)
{
    ClearPoints();
    std::vector<TTITPoint> points;
    try {
        while (xml.readNextStartElement()) {
            points.push_back(ReadPoint(xml.attributes()));
            xml.skipCurrentElement();
        }
        ThrowOnXmlError(xml);
    } catch (...) {
        AssignPoints(std::move(points), averagePeriod);
        throw;
    }
    AssignPoints(std::move(points), averagePeriod);
}

void TSilos::SavePoints(QXmlStreamWriter& xml) const
{
    bool anyPoints = false;
    for (const auto& tit : tits_)
        anyPoints = anyPoints || tit->PointCount() > 0;
    if (!anyPoints)
        return;
    xml.writeStartElement(QStringLiteral("device"));
    xml.writeAttribute(QStringLiteral("Addr"), QString::number(GetMBAddr()));
    xml.writeAttribute(QStringLiteral("No"), QString::number(no_));
    xml.writeAttribute(QStringLiteral("SilosName"), GetName());
    for (const auto& tit : tits_)
        tit->SavePoints(xml);
    xml.writeEndElement();
}

void TSilos::LoadPoints(QXmlStreamReader& xml, int averagePeriod)
{
    while (xml.readNextStartElement()) {
        if (TTIT* tit = GetTIT(ReadIndexAttribute(xml.attributes(), QLatin1StringView("No"))))
            tit->LoadPoints(xml, averagePeriod);
        else
            xml.skipCurrentElement();
    }
    ThrowOnXmlError(xml);
}
