#include "report/file/XmlReportWriter.h"

#include "base/Rounding.h"
#include "report/file/Cp1251Text.h"
#include "report/expr/ReportVariant.h"
#include "report/file/StreamPrimitives.h"
#include "report/runtime/TextRoutines.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// Value-type octets of the component-streaming form.
constexpr char kEndOfList = 0;
constexpr char kListBegin = 1;
constexpr char kString = 6;
constexpr char kLongString = 12;
constexpr char kCollection = 14;

class XmlOut {
public:
    explicit XmlOut(QIODevice& stream) : stream_(stream) {}

    void Text(const QString& text) { WriteFrBytes(stream_, ToCp1251(text)); }
    void Line(const QString& text) { Text(text + kLineEnd); }
    void Open(const char* element) { text_ = QLatin1Char('<') + QLatin1String(element); }
    void Attribute(const char* name, const QString& value)
    {
        text_ += QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + value + QLatin1Char('"');
    }
    void Attribute(const char* name, int value) { Attribute(name, QString::number(value)); }
    // Ends the start tag: ">" when children follow, "/>" when none do.
    void Close(bool children)
    {
        Text(text_);
        Line(children ? QStringLiteral(">") : QStringLiteral("/>"));
    }
    QIODevice& Stream() { return stream_; }

private:
    QIODevice& stream_;
    QString text_;
};

QString PageName(size_t index)
{
    return QStringLiteral("Page%1").arg(index + 1);
}

void AddProcedure(QStringList& text, const QString& name, const QStringList& script)
{
    if (script.isEmpty())
        return;
    text << QStringLiteral("procedure %1OnBeforePrint(Sender: TrpComponent);").arg(name)
         << QStringLiteral("begin") << QStringLiteral("  with %1, Engine do").arg(name) << QStringLiteral("  begin");
    const QStringList middle = script.mid(1, std::max<qsizetype>(0, script.size() - 2));
    if (script.first() != QLatin1String("begin")) {
        text << script.first() << middle;
        if (script.size() > 1)
            text << script.last();
        text << QStringLiteral("  end") << QStringLiteral("end;");
    } else {
        text << middle << QStringLiteral("  end") << script.last() + QLatin1Char(';');
    }
    text << QString();
}

QString ScriptText(const TXmlReport& report)
{
    QStringList text;
    for (size_t i = 0; i < report.pages.size(); ++i) {
        AddProcedure(text, PageName(i), report.pages[i].script);
        for (const TXmlReportObject* object : report.pages[i].objects)
            AddProcedure(text, object->Name(), object->Script());
    }
    text << QStringLiteral("begin") << QString() << QStringLiteral("end.");
    return text.join(kLineEnd) + kLineEnd;
}

void PutName(QByteArray& block, const char* name)
{
    block.append(char(qstrlen(name))).append(name);
}

void PutString(QByteArray& block, const QString& value)
{
    const QByteArray octets = ToCp1251(value);
    if (octets.size() <= 255) {
        block.append(kString).append(char(octets.size()));
    } else {
        const auto n = uint32_t(octets.size());
        block.append(kLongString);
        for (int shift = 0; shift < 32; shift += 8)
            block.append(char((n >> shift) & 0xFF));
    }
    block.append(octets);
}

// The dictionary's variables in the component-streaming form, as hexadecimal digits.
QString PropData(const TXmlReport& report)
{
    QByteArray block;
    PutName(block, "Datasets");
    block.append(kCollection).append(kEndOfList);
    PutName(block, "Variables");
    block.append(kCollection);
    for (const TXmlReportVariable& v : report.variables) {
        block.append(kListBegin);
        PutName(block, "Name");
        PutString(block, v.name);
        PutName(block, "Value");
        PutString(block, VarToStr(v.value));
        block.append(kEndOfList);
    }
    block.append(kEndOfList);
    return StreamToHex(block);
}

void WriteObjects(XmlOut& out, const TXmlReportPage& page, int shift)
{
    for (TXmlReportObject* object : page.objects) {
        const int left = object->Left();
        object->SetLeft(left - shift);
        try {
            object->WriteXml(out.Stream());
        } catch (...) {
            object->SetLeft(left);
            throw;
        }
        object->SetLeft(left);
        out.Line(QStringLiteral("/>"));
    }
}

void WriteReportPage(XmlOut& out, const TXmlReportPage& page, size_t index)
{
    out.Open("TrpReportPage");
    out.Attribute("Name", PageName(index));
    out.Attribute("Orientation", page.landscape ? QStringLiteral("poLandscape") : QStringLiteral("poPortrait"));
    out.Attribute("PaperWidth", PageUnitsToXmlMillimetres(page.paperWidth));
    out.Attribute("PaperHeight", PageUnitsToXmlMillimetres(page.paperHeight));
    out.Attribute("PaperSize", page.paperSize);
    out.Attribute("LeftMargin", PageUnitsToXmlMillimetres(page.leftMargin));
    out.Attribute("RightMargin", PageUnitsToXmlMillimetres(page.paperWidth - page.rightMarginPosition));
    out.Attribute("TopMargin", PageUnitsToXmlMillimetres(page.topMargin));
    out.Attribute("BottomMargin", PageUnitsToXmlMillimetres(page.paperHeight - page.bottomMarginPosition));
    out.Attribute("Columns", page.columns);
    out.Attribute("ColumnWidth", page.columnWidth);
    if (page.printOnPreviousPage)
        out.Attribute("PrintOnPreviousPage", QStringLiteral("True"));
    if (!page.script.isEmpty())
        out.Attribute("OnBeforePrint", PageName(index) + QStringLiteral("OnBeforePrint"));
    out.Close(!page.objects.empty());
    WriteObjects(out, page, page.leftMargin);
    if (!page.objects.empty())
        out.Line(QStringLiteral("</TrpReportPage>"));
}

void WriteDialogPage(XmlOut& out, const TXmlReportPage& page, size_t index)
{
    out.Open("TrpDialogPage");
    out.Attribute("Name", PageName(index));
    out.Attribute("Height", page.height);
    out.Attribute("Left", page.left);
    out.Attribute("Top", page.top);
    out.Attribute("Width", page.width);
    out.Attribute("BorderStyle", page.borderStyle);
    out.Attribute("Caption", XmlEscape(page.caption));
    out.Attribute("Color", page.color);
    out.Attribute("Position", page.position);
    if (!page.script.isEmpty())
        out.Attribute("OnActivate", PageName(index) + QStringLiteral("OnBeforePrint"));
    out.Close(!page.objects.empty());
    WriteObjects(out, page, 0);
    if (!page.objects.empty())
        out.Line(QStringLiteral("</TrpDialogPage>"));
}

}  // namespace

int PageUnitsToXmlMillimetres(int units)
{
    return int(Round(units / 3.77953 * 1.047741935483871));
}

void SaveReportAsXml(const TXmlReport& report, QIODevice& stream)
{
    XmlOut out(stream);
    out.Line(QStringLiteral("<?xml version=\"1.0\"?>"));
    out.Open("TrpReport");
    out.Attribute("ScriptLanguage", QStringLiteral("PascalScript"));
    out.Attribute("ScriptText.text", XmlEscape(ScriptText(report)));
    out.Attribute("Propdata", PropData(report));
    out.Attribute("ReportOptions.Name", XmlEscape(report.name));
    out.Attribute("ReportOptions.Author", XmlEscape(report.author));
    QString description;
    for (const QString& line : report.description)
        description += line + kLineEnd;
    out.Attribute("ReportOptions.Description.text", XmlEscape(description));
    out.Attribute("ReportOptions.CreateDate", QString::number(report.createDate, 'g', 15));
    out.Attribute("ReportOptions.LastChange", QString::number(report.lastChange, 'g', 15));
    out.Attribute("ReportOptions.VersionMajor", XmlEscape(report.versionMajor));
    out.Attribute("ReportOptions.VersionMinor", XmlEscape(report.versionMinor));
    out.Attribute("ReportOptions.VersionRelease", XmlEscape(report.versionRelease));
    out.Attribute("ReportOptions.VersionBuild", XmlEscape(report.versionBuild));
    out.Attribute("ReportOptions.Password", XmlEscape(ShiftTextDown10(report.storedPassword)));
    out.Close(true);
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (report.pages[i].dialog)
            WriteDialogPage(out, report.pages[i], i);
        else
            WriteReportPage(out, report.pages[i], i);
    }
    out.Line(QStringLiteral("</TrpReport>"));
}
