// The view as attributes of an XML element, for the XML report writer.
#include "report/objects/ViewXml.h"

#include "report/file/Cp1251Text.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/View.h"
#include "report/runtime/TextRoutines.h"

void WriteXmlText(QIODevice& stream, const QString& text)
{
    WriteFrBytes(stream, ToCp1251(text));
}

void WriteXmlAttribute(QIODevice& stream, const char* name, const QString& value)
{
    WriteXmlText(stream, QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + value + QLatin1Char('"'));
}

void WriteXmlAttribute(QIODevice& stream, const char* name, int64_t value)
{
    WriteXmlAttribute(stream, name, QString::number(value));
}

namespace {

// Frame sides as the XML form numbers them: left 1, right 2, top 4, bottom 8.
int XmlFrameSides(uint16_t sides)
{
    return (sides & frLeft ? 1 : 0) | (sides & frRight ? 2 : 0) | (sides & frTop ? 4 : 0) | (sides & frBottom ? 8 : 0);
}

int XmlAlign(uint8_t bandAlign)
{
    if (bandAlign == baRest)
        return baWidth;
    if (bandAlign == baTop)
        return baNone;
    return bandAlign;
}

int XmlRestrictions(uint16_t restrictions)
{
    return (restrictions & 0x0F ? 1 : 0) | (restrictions & 16 ? 2 : 0) | (restrictions & 32 ? 4 : 0) |
           (restrictions & 64 ? 8 : 0);
}

}  // namespace

void TrpView::SaveToXml(QIODevice& stream)
{
    WriteXmlText(stream, QLatin1Char('<') + ClassName());
    WriteXmlAttribute(stream, "Name", Name);
    WriteXmlAttribute(stream, "Left", Left);
    WriteXmlAttribute(stream, "Top", Top);
    WriteXmlAttribute(stream, "Width", Width);
    WriteXmlAttribute(stream, "Height", Height);
    WriteXmlAttribute(stream, "Color", int32_t(FillColor));
    if (!Visible)
        WriteXmlAttribute(stream, "Visible", QStringLiteral("False"));
    WriteXmlAttribute(stream, "Frame.Typ", XmlFrameSides(FrameTyp));
    WriteXmlAttribute(stream, "Frame.Width", QString::number(double(FrameWidth)));
    WriteXmlAttribute(stream, "Frame.Color", int32_t(FrameColor));
    WriteXmlAttribute(stream, "Frame.Style", FrameStyle);
    WriteXmlAttribute(stream, "GapX", GapX);
    WriteXmlAttribute(stream, "GapY", GapY);
    WriteXmlAttribute(stream, "TagStr", XmlEscape(Tag));
    WriteXmlAttribute(stream, "Memo.text", XmlEscape(LinesToText(Memo)));
    WriteXmlAttribute(stream, "Align", XmlAlign(BandAlign));
    if (!ScriptLines.isEmpty()) {
        const QString handler = Name + QStringLiteral("OnBeforePrint");
        WriteXmlAttribute(stream, "OnBeforePrint", handler);
        WriteXmlAttribute(stream, "OnClick", handler);
        WriteXmlAttribute(stream, "OnActivate", handler);
    }
    WriteXmlAttribute(stream, "Restrictions", XmlRestrictions(Restrictions));
}
