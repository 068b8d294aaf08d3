// The XML form of a template.
#include <gtest/gtest.h>

#include <QBuffer>

#include "QtPrinters.h"
#include "report/file/XmlReportWriter.h"

namespace {

class Memo : public TXmlReportObject {
public:
    Memo(QString name, QStringList script, int left) : name_(std::move(name)), script_(std::move(script)), left_(left) {}
    QString Name() const override { return name_; }
    QStringList Script() const override { return script_; }
    int Left() const override { return left_; }
    void SetLeft(int left) override { left_ = left; }
    void WriteXml(QIODevice& stream) override
    {
        stream.write(QStringLiteral("<TrpMemoView Name=\"%1\" Left=\"%2\"").arg(name_).arg(left_).toLatin1());
    }

private:
    QString name_;
    QStringList script_;
    int left_;
};

TEST(XmlReportWriter, WritesTheReportItsPagesAndObjects)
{
    Memo withScript(QStringLiteral("Memo1"), {QStringLiteral("begin"), QStringLiteral("  a := 1"), QStringLiteral("end")}, 100);
    Memo plain(QStringLiteral("Memo2"), {QStringLiteral("x := 1")}, 40);
    TXmlReport report;
    report.name = QStringLiteral("Отчёт <1>");
    report.description = {QStringLiteral("a"), QStringLiteral("b")};
    report.createDate = 45000.5;
    report.storedPassword = QStringLiteral("kl");
    report.variables = {{QStringLiteral("Var"), 1.5}};
    TXmlReportPage page;
    page.paperWidth = 758;
    page.paperHeight = 1071;
    page.paperSize = 9;
    page.leftMargin = 36;
    page.topMargin = 36;
    page.rightMarginPosition = 722;
    page.bottomMarginPosition = 1035;
    page.objects = {&withScript, &plain};
    TXmlReportPage dialog;
    dialog.dialog = true;
    dialog.caption = QStringLiteral("\"Q\"");
    dialog.script = {QStringLiteral("go")};
    report.pages = {page, dialog};

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    SaveReportAsXml(report, buffer);
    const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));

    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines[0], QStringLiteral("<?xml version=\"1.0\"?>"));
    const QString root = lines[1];
    EXPECT_TRUE(root.startsWith(QStringLiteral("<TrpReport ScriptLanguage=\"PascalScript\" ScriptText.text=\"procedure Memo1OnBeforePrint(Sender: TrpComponent);&#13;&#10;begin&#13;&#10;  with Memo1, Engine do&#13;&#10;  begin&#13;&#10;  a := 1&#13;&#10;  end&#13;&#10;end;&#13;&#10;&#13;&#10;"
                                                "procedure Memo2OnBeforePrint(Sender: TrpComponent);&#13;&#10;begin&#13;&#10;  with Memo2, Engine do&#13;&#10;  begin&#13;&#10;x := 1&#13;&#10;  end&#13;&#10;end;&#13;&#10;&#13;&#10;"
                                                "procedure Page2OnBeforePrint(Sender: TrpComponent);&#13;&#10;begin&#13;&#10;  with Page2, Engine do&#13;&#10;  begin&#13;&#10;go&#13;&#10;  end&#13;&#10;end;&#13;&#10;&#13;&#10;"
                                                "begin&#13;&#10;&#13;&#10;end.&#13;&#10;\" Propdata=\"")))
        << root.toStdString();
    // Datasets: empty collection; Variables: one item with Name "Var" and Value "1.5".
    EXPECT_TRUE(root.contains(QStringLiteral("Propdata=\"084461746173657473 0E00 095661726961626C6573 0E 01 044E616D65 0603566172 0556616C7565 0603312E35 00 00\"").remove(QLatin1Char(' '))))
        << root.toStdString();
    EXPECT_TRUE(root.contains(QString::fromLatin1(QByteArray("ReportOptions.Name=\"\xce\xf2\xf7\xb8\xf2 &#60;1&#62;\""))));
    EXPECT_TRUE(root.contains(QStringLiteral("ReportOptions.Description.text=\"a&#13;&#10;b&#13;&#10;\"")));
    EXPECT_TRUE(root.contains(QStringLiteral("ReportOptions.CreateDate=\"45000.5\" ReportOptions.LastChange=\"0\"")));
    EXPECT_TRUE(root.endsWith(QStringLiteral("ReportOptions.Password=\"ab\">")));
    EXPECT_EQ(lines[2], QStringLiteral("<TrpReportPage Name=\"Page1\" Orientation=\"poPortrait\" PaperWidth=\"210\" "
                                       "PaperHeight=\"297\" PaperSize=\"9\" LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" "
                                       "BottomMargin=\"10\" Columns=\"1\" ColumnWidth=\"0\">"));
    // Objects are written relative to the left margin and keep their own position afterwards.
    EXPECT_EQ(lines[3], QStringLiteral("<TrpMemoView Name=\"Memo1\" Left=\"64\"/>"));
    EXPECT_EQ(lines[4], QStringLiteral("<TrpMemoView Name=\"Memo2\" Left=\"4\"/>"));
    EXPECT_EQ(withScript.Left(), 100);
    EXPECT_EQ(lines[5], QStringLiteral("</TrpReportPage>"));
    EXPECT_EQ(lines[6], QStringLiteral("<TrpDialogPage Name=\"Page2\" Height=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" BorderStyle=\"0\" "
                                       "Caption=\"&#34;Q&#34;\" Color=\"0\" Position=\"0\" OnActivate=\"Page2OnBeforePrint\"/>"));
    EXPECT_EQ(lines[7], QStringLiteral("</TrpReport>"));
    EXPECT_EQ(lines[8], QString());
}

}  // namespace
