// Turning the names a template holds into components, data sets and field values.
#include <gtest/gtest.h>

#include "FakeTable.h"
#include "report/data/DBDataSet.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/ComponentLookup.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

class ComponentLookup : public ::testing::Test {
protected:
    ComponentLookup()
    {
        mainForm.setObjectName(QStringLiteral("fmMain"));
        frame->setObjectName(QStringLiteral("Frame1"));
        RegisterGlobalComponent(context, &mainForm);
        for (FakeTable* t : {dmReport, inFrame}) {
            t->AddField(QStringLiteral("TD1"), ftFloat);
            t->AddField(QStringLiteral("a.b"), ftString);
            t->AddRow({1.5, QStringLiteral("x")});
        }
        context.CurrentReport = report;   // the report on the main window is being built
    }

    TrpRunContext context;
    QObject mainForm;
    TrpReport* report = new TrpReport(context, &mainForm);
    FakeTable* dmReport = new FakeTable(QStringLiteral("dmReport"), &mainForm);
    QObject* frame = new QObject(&mainForm);
    FakeTable* inFrame = new FakeTable(QStringLiteral("dsFrame"), frame);
};

TEST_F(ComponentLookup, FindReportComponentByOwnerWindowAndFrame)
{
    EXPECT_EQ(FindReportComponent(context, &mainForm, QStringLiteral("DMREPORT")), dmReport);
    EXPECT_EQ(FindReportComponent(context, &mainForm, QStringLiteral("none")), nullptr);
    EXPECT_EQ(FindReportComponent(context, nullptr, QStringLiteral("dmReport")), nullptr);
    EXPECT_EQ(FindReportComponent(context, nullptr, QStringLiteral("FMMAIN.dmReport")), dmReport);
    EXPECT_EQ(FindReportComponent(context, nullptr, QStringLiteral("fmMain.Frame1.dsFrame")), inFrame);
    EXPECT_EQ(FindReportComponent(context, nullptr, QStringLiteral("fmMain.NoFrame.dsFrame")), nullptr);
    try {
        FindReportComponent(context, nullptr, QStringLiteral("fmOther.dmReport"));
        FAIL() << "a missing window must raise";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Missing fmOther.dmReport");
    }
}

TEST_F(ComponentLookup, ResolveFieldReferenceTable)
{
    FakeTable given(QStringLiteral("given"));
    given.AddField(QStringLiteral("Given"), ftInteger);
    struct Case {
        const char* reference;
        TDataSet* entry;
        TDataSet* dataSet;
        const char* field;
    };
    const Case cases[] = {
        {"dmReport.\"TD1\"", nullptr, dmReport, "TD1"},
        {"dmreport.td1", nullptr, dmReport, "td1"},
        {"dmReport.\"a.b\"", nullptr, dmReport, "a.b"},
        {"dmReport.\"missing\"", nullptr, dmReport, ""},
        {"nothing.\"TD1\"", &given, nullptr, ""},
        {"\"Given\"", &given, &given, "Given"},
        {"\"TD1\"", &given, &given, ""},
        {"\"TD1\"", nullptr, nullptr, ""},
        {"fmMain.dmReport.\"TD1\"", nullptr, dmReport, "TD1"},
        {"fmOther.dmReport.\"TD1\"", &given, nullptr, ""},
        {"fmMain.Frame1.dsFrame.\"a.b\"", nullptr, inFrame, "a.b"},
        {"a.b.c.d.e", &given, &given, ""},
    };
    for (const Case& c : cases) {
        TDataSet* dataSet = c.entry;
        QString field = QStringLiteral("stale");
        ResolveFieldReference(context, QString::fromUtf8(c.reference), dataSet, field);
        EXPECT_EQ(dataSet, c.dataSet) << c.reference;
        EXPECT_EQ(field, QString::fromUtf8(c.field)) << c.reference;
    }
}

TEST_F(ComponentLookup, FieldValuesAsExpressionsSeeThem)
{
    FakeTable t(QStringLiteral("t"));
    FakeField* number = t.AddField(QStringLiteral("N"), ftInteger);
    FakeField* text = t.AddField(QStringLiteral("S"), ftString);
    FakeField* flag = t.AddField(QStringLiteral("B"), ftBoolean);
    FakeField* shown = t.AddField(QStringLiteral("H"), ftFloat);
    shown->OnGetText = [](const QVariant& v) { return QStringLiteral("<%1>").arg(v.toDouble() * 2); };
    t.AddRow({QVariant(), QVariant(), QVariant(), 2.5});
    t.Close();

    const QVariant n = GetReportFieldValue(number);
    EXPECT_EQ(n.typeId(), QMetaType::Int);
    EXPECT_EQ(n.toInt(), 0);
    EXPECT_TRUE(t.Active());   // opened by the first read
    EXPECT_EQ(GetReportFieldValue(text), QVariant(QString()));
    EXPECT_EQ(GetReportFieldValue(flag), QVariant(false));
    EXPECT_EQ(GetReportFieldValue(shown), QVariant(QStringLiteral("<5>")));
}

TEST_F(ComponentLookup, FieldIsNullByName)
{
    dmReport->AddField(QStringLiteral("Empty"), ftInteger);   // the row has no value for it
    EXPECT_FALSE(FieldIsNullByName(context, QStringLiteral("dmReport.\"TD1\"")));
    EXPECT_TRUE(FieldIsNullByName(context, QStringLiteral("dmReport.\"Empty\"")));
    EXPECT_THROW(FieldIsNullByName(context, QStringLiteral("dmReport.\"Unknown\"")), EDatabaseError);

    TrpDBDataSet dsReport;
    dsReport.SetDataSet(dmReport);
    report->Dataset = &dsReport;
    EXPECT_TRUE(FieldIsNullByName(context, QStringLiteral("\"TD1\"")));   // default data-set names are off
    report->UseDefaultDataSetName = true;   // the report's own source then
    EXPECT_FALSE(FieldIsNullByName(context, QStringLiteral("\"TD1\"")));
    EXPECT_TRUE(FieldIsNullByName(context, QStringLiteral("Empty")));
}

}  // namespace
