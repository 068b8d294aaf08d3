// The in-memory table and the report data source that walks it.
#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

namespace {

// A table of silos: name, temperature (float, may be null) and an alarm flag.
class SiloTable : public ::testing::Test {
protected:
    SiloTable()
    {
        table.setObjectName(QStringLiteral("dmReport"));
        table.AddField(QStringLiteral("SilName"), ftString, 10)->DisplayLabel = QStringLiteral("Силос");
        table.AddField(QStringLiteral("TD1"), ftFloat)->Tag = 1;
        table.AddField(QStringLiteral("Alarm1"), ftBoolean);
        table.Open();
    }

    void AddRow(const QString& name, const QVariant& td1, bool alarm = false)
    {
        table.Append();
        table.Field(QStringLiteral("SilName"))->SetValue(name);
        table.Field(QStringLiteral("TD1"))->SetValue(td1);
        table.Field(QStringLiteral("Alarm1"))->SetValue(alarm);
        table.Post();
    }
    QStringList Names()
    {
        QStringList names;
        for (table.First(); !table.Eof(); table.Next())
            names << table.Field(QStringLiteral("SilName"))->Value().toString();
        return names;
    }
    // The band engine's walk, bounded so that a walk that never ends fails instead of hanging.
    QStringList Walk(TrpDataset& source)
    {
        QStringList names;
        source.Init();
        for (source.First(); !source.Eof() && names.size() < 100; source.Next())
            names << table.Field(QStringLiteral("SilName"))->Value().toString();
        source.Exit();
        return names;
    }

    TMemoryTable table;
};

TEST_F(SiloTable, RowsFieldsAndNulls)
{
    AddRow(QStringLiteral("С-1"), 12.5);
    AddRow(QStringLiteral("Силос номер 22"), QVariant());   // cut to the field's size; no value
    EXPECT_EQ(table.RecordCount(), 2);
    table.First();
    TMemoryField* td1 = table.Field(QStringLiteral("td1"));
    EXPECT_EQ(td1->Value(), QVariant(12.5));
    EXPECT_EQ(td1->Tag, 1);
    table.Next();
    EXPECT_EQ(table.Field(QStringLiteral("SilName"))->Value(), QVariant(QStringLiteral("Силос номе")));
    EXPECT_TRUE(td1->IsNull());
    EXPECT_EQ(td1->DisplayText(), QString());

    table.Append();   // a cancelled record leaves nothing behind
    table.Field(QStringLiteral("SilName"))->SetValue(QStringLiteral("x"));
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(table.Field(QStringLiteral("SilName"))->Value(), QVariant(QStringLiteral("Силос номе")));

    table.Edit();
    td1->SetValue(QStringLiteral("3,5"));   // converted to the field's type
    table.Post();
    EXPECT_EQ(td1->Value(), QVariant(3.5));
    EXPECT_THROW(td1->SetValue(1), EDatabaseError);   // not being edited
    table.Append();
    table.First();   // moving posts the pending record
    EXPECT_EQ(table.RecordCount(), 3);
    table.Last();
    EXPECT_TRUE(table.Field(QStringLiteral("SilName"))->IsNull());
    EXPECT_THROW(table.AddField(QStringLiteral("Late"), ftString), EDatabaseError);
}

TEST_F(SiloTable, DisplayTextHandlerPerField)
{
    AddRow(QStringLiteral("С-1"), -999.0);
    AddRow(QStringLiteral("С-2"), 45.5);
    TMemoryField* td1 = table.Field(QStringLiteral("TD1"));
    td1->OnGetText = [](TMemoryField& field, QString& text, bool displayText) {
        EXPECT_TRUE(displayText);
        const double v = field.Value().toDouble();
        text = v == -999 ? QString() : QString::number(v, 'f', 1);
    };
    EXPECT_TRUE(td1->HasTextHandler());
    table.First();
    EXPECT_EQ(td1->DisplayText(), QString());
    table.Next();
    EXPECT_EQ(td1->DisplayText(), QStringLiteral("45.5"));
    EXPECT_FALSE(table.Field(QStringLiteral("SilName"))->HasTextHandler());
}

TEST_F(SiloTable, NavigationEndsAndClosedTable)
{
    table.First();
    EXPECT_TRUE(table.Eof());
    EXPECT_TRUE(table.Bof());
    AddRow(QStringLiteral("a"), 1.0);
    AddRow(QStringLiteral("b"), 2.0);
    table.First();
    EXPECT_FALSE(table.Eof());
    table.Next();
    table.Next();   // past the last: Eof, the last record stays current
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.Field(QStringLiteral("SilName"))->Value(), QVariant(QStringLiteral("b")));
    table.Prior();
    table.Prior();
    EXPECT_TRUE(table.Bof());
    EXPECT_EQ(table.RecNo(), 0);
    table.Close();
    EXPECT_THROW(table.Next(), EDatabaseError);
    table.Open();   // the rows stay
    EXPECT_EQ(Names(), (QStringList{"a", "b"}));
    table.EmptyTable();
    EXPECT_TRUE(table.IsEmpty());
}

TEST_F(SiloTable, SortingAsTextAndBookmarks)
{
    for (const char* name : {"2", "b", "10", "A", "c"})
        AddRow(QString::fromLatin1(name), 0.0);
    table.First();
    table.Next();
    const TBookmark atB = table.GetBookmark();
    table.SortOnField(QStringLiteral("SilName"));
    EXPECT_EQ(Names(), (QStringList{"10", "2", "A", "b", "c"}));   // names sort as text, case ignored
    table.GotoBookmark(atB);
    EXPECT_EQ(table.Field(QStringLiteral("SilName"))->Value(), QVariant(QStringLiteral("b")));

    table.First();
    const TBookmark first = table.GetBookmark();
    EXPECT_LT(table.CompareBookmarks(first, atB), 0);
    EXPECT_EQ(table.CompareBookmarks(atB, atB), 0);
    table.Delete();   // the first row goes: its bookmark finds nothing, the others still work
    EXPECT_FALSE(table.BookmarkValid(first));
    EXPECT_THROW(table.GotoBookmark(first), EDatabaseError);
    table.GotoBookmark(atB);
    EXPECT_EQ(table.RecNo(), 2);
    table.SortOnField(QStringLiteral("SilName"), true, true);
    EXPECT_EQ(Names(), (QStringList{"c", "b", "A", "2"}));
}

TEST_F(SiloTable, WalkOfTheWholeTableAndByCount)
{
    for (const char* name : {"a", "b", "c", "d", "e"})
        AddRow(QString::fromLatin1(name), 1.0);
    TrpDBDataSet source;
    source.SetDataSet(&table);
    EXPECT_EQ(Walk(source), (QStringList{"a", "b", "c", "d", "e"}));
    source.RangeEnd = reCount;
    source.RangeEndCount = 3;
    EXPECT_EQ(Walk(source), (QStringList{"a", "b", "c"}));
    source.RangeEndCount = 9;   // the table ends first
    EXPECT_EQ(Walk(source).size(), 5);
    EXPECT_EQ(source.RecNo(), 5);
}

TEST_F(SiloTable, WalkOfTheCurrentRecordReturnsToIt)
{
    for (const char* name : {"a", "b", "c"})
        AddRow(QString::fromLatin1(name), 1.0);
    table.First();
    table.Next();
    TrpDBDataSet source;
    source.SetDataSet(&table);
    source.RangeBegin = rbCurrent;
    source.RangeEnd = reCurrent;
    EXPECT_EQ(Walk(source), QStringList{"b"});
    EXPECT_EQ(table.Field(QStringLiteral("SilName"))->Value(), QVariant(QStringLiteral("b")));

    // From the first record to the current one: the walk steps forward until it gets there.
    source.RangeBegin = rbFirst;
    EXPECT_EQ(Walk(source), (QStringList{"a", "b"}));
    EXPECT_EQ(table.RecNo(), 1);
}

TEST_F(SiloTable, EmptyTableEndsAtOnce)
{
    TrpDBDataSet source;
    source.SetDataSet(&table);
    source.Init();
    source.First();
    EXPECT_TRUE(source.Eof());
    source.Exit();
}

TEST_F(SiloTable, TableThroughADataSourceAndOpenClose)
{
    AddRow(QStringLiteral("a"), 1.0);
    TMemoryTable other;
    other.AddField(QStringLiteral("SilName"), ftString, 10);
    TDataSource link;
    link.DataSet = &table;
    TrpDBDataSet source;
    source.setObjectName(QStringLiteral("dsReport"));
    source.SetDataSource(&link);
    EXPECT_EQ(source.ActiveDataSet(), &table);

    QStringList events;
    source.OnOpen = [&](QObject*) { events << QStringLiteral("open:%1").arg(other.Active()); };
    source.OnClose = [&](QObject*) { events << QStringLiteral("close:%1").arg(other.Active()); };
    source.SetDataSet(&other);   // only the table remains, though the data source still exists
    EXPECT_EQ(source.DataSource(), nullptr);
    EXPECT_EQ(source.ActiveDataSet(), &other);
    source.CloseDataSource = true;
    source.Init();
    source.Exit();
    EXPECT_EQ(events, (QStringList{"open:1", "close:1"}));
    EXPECT_FALSE(other.Active());

    source.SetDataSource(&link);
    EXPECT_EQ(source.DataSet(), nullptr);
    link.DataSet = nullptr;
    try {
        source.Init();
        FAIL() << "no error";
    } catch (const EDSError& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Unable to open dataset dsReport"));
    }
    {
        auto gone = std::make_unique<TDataSource>();
        source.SetDataSource(gone.get());
    }
    EXPECT_EQ(source.DataSource(), nullptr);   // a destroyed data source is forgotten
}

TEST_F(SiloTable, DataSetOfTheBandBeingBuilt)
{
    TMemoryTable detail;
    TrpDBDataSet dsReport, dsDetail;
    dsReport.SetDataSet(&table);
    dsDetail.SetDataSet(&detail);
    TrpRunContext context;
    TrpReport report(context);
    report.Dataset = &dsReport;
    TrpPage* page = report.AddPage();
    TrpBand master(btMasterData, page), detailBand(btDetailData, page), title(btReportTitle, page);
    detailBand.DataSet = &dsDetail;
    page->Bands[btDetailData] = &detailBand;
    context.CurrentReport = &report;
    EXPECT_EQ(CurrentBandDataSet(context), &table);   // no band: the report's own source

    context.CurrentPage = page;
    const std::pair<int, TDataSet*> cases[] = {
        {btReportTitle, &table},   // no master data band on the page: the report's source
        {btDetailData, &detail},
        {btDetailFooter, &detail},
        {btDetailHeader, &table},  // headers of lower levels keep the report's source
        {btOverlay, &table},
    };
    for (const auto& [type, expected] : cases) {
        TrpBand band(type, page);
        context.CurrentBand = &band;
        EXPECT_EQ(CurrentBandDataSet(context), expected) << type;
    }
    page->Bands[btMasterData] = &master;   // a master band without a source of its own
    context.CurrentBand = &title;
    EXPECT_EQ(CurrentBandDataSet(context), nullptr);
    TrpUserDataset counting;
    report.Dataset = &counting;   // not a table source
    context.CurrentBand = nullptr;
    EXPECT_EQ(CurrentBandDataSet(context), nullptr);
}

}  // namespace
