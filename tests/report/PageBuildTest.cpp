// Page builds of templates made in code, checked on their prepared pages: bands on every page,
// page breaks, levels, groups, stretching and splitting, columns, and builds that cannot end.
#include "PageBuildFixture.h"

#include <QtGlobal>

#include "FakeTable.h"
#include "SampleGraphics.h"
#include "report/data/Dataset.h"
#include "report/file/Cp1251Text.h"
#include "report/objects/PictureView.h"
#include "report/objects/SubReportView.h"

namespace {

// Title 40, page header 20 and page footer 20 around master rows of 25: 39 rows fit on the
// first page (60 + 39 x 25 = 1035 <= 1051), 41 on the next.
struct ListTemplate : ReportBuild {
    ListTemplate()
    {
        AddBand(btReportTitle, 0, 40);
        AddMemo(10, 0, 300, 40, QStringLiteral("Отчёт"), QStringLiteral("Title"));
        AddBand(btPageHeader, 50, 20);
        AddMemo(10, 50, 300, 20, QStringLiteral("Стр. [PAGE#]"), QStringLiteral("Header"));
        AddBand(btMasterData, 80, 25, QStringLiteral("Row"));
        AddMemo(10, 80, 300, 25, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
        AddBand(btPageFooter, 200, 20);
        AddMemo(10, 200, 300, 20, QStringLiteral("Подвал [PAGE#]"), QStringLiteral("Footer"));
    }
    void AddRows(int count)
    {
        for (int i = 1; i <= count; ++i)
            AddRow(QStringLiteral("С%1").arg(i), i);
    }
};

class ListReport : public ::testing::Test, public ListTemplate {};

const TPrinted* Find(const std::vector<TPrinted>& objects, const QString& name)
{
    for (const TPrinted& object : objects)
        if (object.Name == name)
            return &object;
    return nullptr;
}

// Every object printed, over all pages, as "name:text".
QStringList Sequence(ReportBuild& build, const QStringList& names)
{
    QStringList sequence;
    for (int i = 0; i < build.report->EMFPages->Count(); ++i)
        for (const TPrinted& object : build.Printed(i))
            if (names.contains(object.Name))
                sequence << object.Name + QLatin1Char(':') + object.Text;
    return sequence;
}

}  // namespace

TEST_F(ListReport, PrintsHeaderAndFooterOnEveryPageAndRowsBelowEachOther)
{
    struct Case {
        int records;
        int pages;
    } const cases[] = {{0, 1}, {1, 1}, {39, 1}, {40, 2}, {80, 2}, {81, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        // A build changes its template (the driver reloads it afterwards): one template a case.
        ListTemplate fresh;
        fresh.AddRows(c.records);
        fresh.Build();
        ASSERT_FALSE(fresh.context.ErrorFlag) << fresh.context.ErrorText.toStdString();
        ASSERT_EQ(fresh.PageCount(), c.pages);
        int row = 0;
        for (int p = 0; p < c.pages; ++p) {
            const std::vector<TPrinted> objects = fresh.Printed(p);
            const TPrinted* header = Find(objects, QStringLiteral("Header"));
            const TPrinted* footer = Find(objects, QStringLiteral("Footer"));
            ASSERT_TRUE(header && footer) << "page " << p;
            EXPECT_EQ(header->Top, p == 0 ? 40 : 0);
            EXPECT_EQ(header->Text, QStringLiteral("Стр. %1").arg(p + 1));
            EXPECT_EQ(footer->Top, kPageHeight - 20) << "the footer stands at the bottom limit";
            EXPECT_EQ(footer->Text, QStringLiteral("Подвал %1").arg(p + 1));
            EXPECT_EQ(Find(objects, QStringLiteral("Title")) != nullptr, p == 0);
            int top = p == 0 ? 60 : 20;
            for (const TPrinted& object : objects)
                if (object.Name == QLatin1String("Cell")) {
                    EXPECT_EQ(object.Text, QStringLiteral("С%1").arg(++row));
                    EXPECT_EQ(object.Top, top);
                    EXPECT_EQ(object.Left, 10);
                    EXPECT_LE(object.Top + object.Height, kPageHeight - 20);
                    top += 25;
                }
        }
        EXPECT_EQ(row, c.records);
    }
}

TEST_F(ListReport, PageHeaderAndFooterFollowTheirFirstAndLastPageOptions)
{
    struct Case {
        uint16_t headerFlags, footerFlags;
        int records;
        QStringList headers, footers;
    } const cases[] = {
        // Without the header the first page holds 40 rows.
        {0, bfOnFirstPage | bfOnLastPage, 41, {"Стр. 2"}, {"Подвал 1", "Подвал 2"}},
        {bfOnFirstPage, bfOnLastPage, 40, {"Стр. 1", "Стр. 2"}, {"Подвал 2"}},
        {bfOnFirstPage, bfOnFirstPage, 40, {"Стр. 1", "Стр. 2"}, {"Подвал 1"}},
        {bfOnFirstPage, bfOnLastPage, 5, {"Стр. 1"}, {"Подвал 1"}},
        {bfOnFirstPage, 0, 5, {"Стр. 1"}, {}},
    };
    for (const Case& c : cases) {
        ListTemplate build;
        build.AddRows(c.records);
        build.page->Objects[2]->Flags = c.headerFlags;
        build.page->Objects[6]->Flags = c.footerFlags;
        build.Build();
        EXPECT_EQ(build.Texts(QStringLiteral("Header")), c.headers) << c.headerFlags << " " << c.footerFlags;
        EXPECT_EQ(build.Texts(QStringLiteral("Footer")), c.footers) << c.headerFlags << " " << c.footerFlags;
    }
}

TEST_F(ListReport, EmptySourceBuildsNoPageUnlessPrintIfEmpty)
{
    report->PrintIfEmpty = false;
    Build();
    EXPECT_EQ(PageCount(), 0);
}

TEST_F(ListReport, ScriptBreaksPagesBeforeTheBandPrints)
{
    AddRows(2);
    page->Objects[4]->ScriptLines = QStringList{QStringLiteral("if [LINE#] = 2 then begin NEWPAGE; NEWPAGE end")};
    Build();
    ASSERT_EQ(PageCount(), 3) << "two new pages before the second record";
    EXPECT_EQ(Printed(2).size(), 3u) << "header, row and footer";
    EXPECT_EQ(Find(Printed(2), QStringLiteral("Cell"))->Text, QStringLiteral("С2"));
    EXPECT_EQ(Find(Printed(2), QStringLiteral("Cell"))->Top, 20);
    EXPECT_EQ(Texts(QStringLiteral("Footer")).size(), 3);
}

// A master footer's aggregates over temperatures below and above zero.
TEST_F(PageBuild, MasterFooterAggregatesCoverEveryRecord)
{
    struct Case {
        std::vector<double> temps;
        QString sum, min, max, avg, count;
    } const cases[] = {
        {{-5, -12, 3, -1}, "-15", "-12", "3", "-3.75", "4"},
        {{-7, -3}, "-10", "-7", "-3", "-5", "2"},   // a cold silo: the maximum is below zero
        {{4}, "4", "4", "4", "4", "1"},
    };
    for (const Case& c : cases) {
        ReportBuild build;
        for (double temp : c.temps)
            build.AddRow(QStringLiteral("С"), temp);
        build.AddBand(btMasterData, 0, 20, QStringLiteral("Row"));
        build.AddMemo(0, 0, 100, 20, QStringLiteral("[tbSilo.Temp]"));
        build.AddBand(btMasterFooter, 40, 20);
        const char* names[] = {"Sum", "Min", "Max", "Avg", "Count"};
        const char* calls[] = {"SUM([tbSilo.Temp])", "MIN([tbSilo.Temp])", "MAX([tbSilo.Temp])",
                               "AVG([tbSilo.Temp])", "COUNT()"};
        for (int i = 0; i < 5; ++i)
            build.AddMemo(i * 100, 40, 100, 20, QStringLiteral("[%1]").arg(QLatin1String(calls[i])),
                          QLatin1String(names[i]));
        build.Build();
        ASSERT_FALSE(build.context.ErrorFlag) << build.context.ErrorText.toStdString();
        const QString expected[] = {c.sum, c.min, c.max, c.avg, c.count};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(build.Texts(QLatin1String(names[i])), QStringList{expected[i]}) << names[i];
    }
}

// A summary over no records: every aggregate is 0, the extremes too (no record reached them).
TEST_F(PageBuild, AggregatesOverNoRecordsAreZero)
{
    AddBand(btMasterData, 0, 20, QStringLiteral("Row"));
    AddMemo(0, 0, 100, 20, QStringLiteral("[tbSilo.Temp]"));
    AddBand(btReportSummary, 40, 20);
    AddMemo(0, 40, 300, 20,
            QStringLiteral("[SUM([tbSilo.Temp])]/[MIN([tbSilo.Temp])]/[MAX([tbSilo.Temp])]/[AVG([tbSilo.Temp])]/[COUNT()]"),
            QStringLiteral("Summary"));
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    EXPECT_EQ(Texts(QStringLiteral("Summary")), QStringList{"0/0/0/0/0"});
}

TEST_F(PageBuild, GroupsPrintTheirHeaderAndFooterWithTheGroupsOwnAggregates)
{
    for (auto [silo, temp] : std::vector<std::pair<const char*, double>>{
             {"А", -2}, {"А", -4}, {"Б", 5}, {"Б", 1}, {"Б", -3}, {"В", 7}})
        AddRow(QString::fromUtf8(silo), temp);
    TrpBandView* header = AddBand(btGroupHeader, 0, 20);
    header->FormatText = QStringLiteral("[tbSilo.Silo]");
    AddMemo(0, 0, 100, 20, QStringLiteral("Силос [tbSilo.Silo]"), QStringLiteral("Group"));
    AddBand(btMasterData, 30, 20, QStringLiteral("Row"));
    AddMemo(0, 30, 100, 20, QStringLiteral("[tbSilo.Temp]"), QStringLiteral("Row"));
    AddBand(btGroupFooter, 60, 20);
    AddMemo(0, 60, 300, 20, QStringLiteral("[tbSilo.Silo]: [COUNT()] по [SUM([tbSilo.Temp])], макс. [MAX([tbSilo.Temp])]"),
            QStringLiteral("Total"));
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    EXPECT_EQ(Sequence(*this, {"Group", "Row", "Total"}),
              (QStringList{"Group:Силос А", "Row:-2", "Row:-4", "Total:А: 2 по -6, макс. -2",
                           "Group:Силос Б", "Row:5", "Row:1", "Row:-3", "Total:Б: 3 по 3, макс. 5",
                           "Group:Силос В", "Row:7", "Total:В: 1 по 7, макс. 7"}));
}

TEST_F(PageBuild, InvisibleDataBandAccumulatesOnlyValuesFlaggedToCount)
{
    AddRow(QStringLiteral("А"), 2);
    AddRow(QStringLiteral("Б"), 3);
    TrpBandView* rows = AddBand(btMasterData, 0, 20, QStringLiteral("Row"));
    rows->Visible = false;
    AddMemo(0, 0, 100, 20, QStringLiteral("[tbSilo.Temp]"), QStringLiteral("Row"));
    AddBand(btMasterFooter, 40, 20);
    AddMemo(0, 40, 100, 20, QStringLiteral("[SUM([tbSilo.Temp],Row,1)]"), QStringLiteral("Counted"));
    AddMemo(100, 40, 100, 20, QStringLiteral("[SUM([tbSilo.Temp])]"), QStringLiteral("Skipped"));
    Build();
    EXPECT_TRUE(Texts(QStringLiteral("Row")).isEmpty());
    EXPECT_EQ(Texts(QStringLiteral("Counted")), QStringList{"5"});
    EXPECT_EQ(Texts(QStringLiteral("Skipped")), QStringList{"0"});
}

// A picture named by a dictionary variable and a memo named by the aliases of a table and its
// field take their content from the blob fields those names stand for: the report's
// before-print step loads them (expanded, the memo would show the field's display text).
TEST_F(PageBuild, ObjectsNamingAFieldThroughTheDictionaryPrintTheFieldsContent)
{
    FakeTable notes(QStringLiteral("tbNotes"), &owner);
    notes.AddField(QStringLiteral("Photo"), ftGraphic);
    notes.AddField(QStringLiteral("Note"), ftMemo)->OnGetText = [](const QVariant&) { return QStringLiteral("(MEMO)"); };
    notes.AddRow({SampleImageFile("JPEG", Qt::red), ToCp1251(QStringLiteral("Зерно сухое\r\nвлажность 12 %"))});
    notes.First();
    report->Dictionary.Variables.SetValueByName(QStringLiteral("Снимок"), QStringLiteral("tbNotes.\"Photo\""));
    report->Dictionary.FieldAliasList.SetValueByName(QStringLiteral("tbNotes"), QStringLiteral("Заметки"));
    report->Dictionary.FieldAliasList.SetValueByName(QStringLiteral("tbNotes.\"Note\""), QStringLiteral("Текст"));
    report->OnBeforePrint = [](QStringList&, TrpView*) {};
    AddBand(btReportTitle, 0, 100);
    auto* picture = static_cast<TrpPictureView*>(page->AddObject(std::make_unique<TrpPictureView>()));
    picture->Name = QStringLiteral("Picture");
    picture->SetBounds(0, 0, 50, 50);
    picture->Memo = {QStringLiteral("[Снимок]")};
    picture->BlobType = btJPG;
    AddMemo(100, 0, 300, 50, QStringLiteral("[Заметки.Текст]"), QStringLiteral("Note"));
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    EXPECT_EQ(Texts(QStringLiteral("Note")), QStringList{QStringLiteral("Зерно сухое|влажность 12 %")});
    TrpEMFPages& pages = *report->EMFPages;
    pages.RestoreObjects(0);
    const TrpPictureView* printed = nullptr;
    for (const auto& view : pages.Page(0).LivePage->Objects)
        if (view->Name == QLatin1String("Picture"))
            printed = dynamic_cast<const TrpPictureView*>(view.get());
    ASSERT_NE(printed, nullptr);
    EXPECT_EQ(printed->Picture.Kind(), gkJpeg);
    EXPECT_TRUE(printed->Picture.Decode());
    pages.ReleaseObjects(0);
}

// Three master records with 2, 0 and 1 detail records.
TEST_F(PageBuild, MasterWithEmptyDetailPrintsOnlyWhenAskedTo)
{
    for (bool printIfSubsetEmpty : {false, true}) {
        ReportBuild build;
        build.AddRow(QStringLiteral("А"), 0);
        build.AddRow(QStringLiteral("Б"), 0);
        build.AddRow(QStringLiteral("В"), 0);
        TrpUserDataset detail;
        detail.setObjectName(QStringLiteral("dsDetail"));
        detail.setParent(&build.owner);
        detail.RangeEnd = reCount;
        const int counts[] = {2, 0, 1};
        detail.OnFirst = [&](QObject*) { detail.RangeEndCount = counts[build.table.RecNo()]; };
        TrpBandView* master = build.AddBand(btMasterData, 0, 20);
        if (printIfSubsetEmpty)
            master->Flags |= bfPrintIfSubsetEmpty;
        build.AddMemo(0, 0, 100, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Master"));
        build.AddBand(btDetailData, 30, 20)->FormatText = QStringLiteral("dsDetail");
        build.AddMemo(20, 30, 100, 20, QStringLiteral("[LINE#]"), QStringLiteral("Detail"));
        build.Build();
        ASSERT_FALSE(build.context.ErrorFlag) << build.context.ErrorText.toStdString();
        const QStringList expected =
            printIfSubsetEmpty
                ? QStringList{"Master:А", "Detail:1", "Detail:2", "Master:Б", "Master:В", "Detail:1"}
                : QStringList{"Master:А", "Detail:1", "Detail:2", "Master:В", "Detail:1"};
        EXPECT_EQ(Sequence(build, {"Master", "Detail"}), expected);
        detail.setParent(nullptr);
    }
}

TEST_F(PageBuild, StretchedBandMovesWholeToTheNextPageOrSplitsWhenTallerThanAPage)
{
    struct Case {
        int lines;
        int pagesAtLeast;
    } const cases[] = {{5, 2}, {150, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        ReportBuild build;
        build.AddRow(QStringLiteral("А"), 0);
        // A spacer band pushes the stretched band near the bottom of the first page.
        build.AddBand(btReportTitle, 0, 1000);
        TrpBandView* band = build.AddBand(btMasterData, 1010, 20);
        band->Flags |= kFlagStretched;
        QStringList lines;
        for (int i = 1; i <= c.lines; ++i)
            lines << QStringLiteral("Строка %1").arg(i);
        TrpMemoView* memo = build.AddMemo(10, 1010, 300, 20, lines.join(QLatin1Char('\n')), QStringLiteral("Long"));
        memo->Flags = kFlagStretched;
        build.Build();
        ASSERT_FALSE(build.context.ErrorFlag) << build.context.ErrorText.toStdString();
        EXPECT_GE(build.PageCount(), c.pagesAtLeast);
        QStringList printed;
        for (int p = 0; p < build.PageCount(); ++p)
            for (const TPrinted& object : build.Printed(p))
                if (object.Name == QLatin1String("Long")) {
                    EXPECT_GE(object.Top, 0);
                    EXPECT_LE(object.Top + object.Height, kPageHeight) << "page " << p;
                    EXPECT_NE(p, 0) << "nothing of it fits beside the spacer";
                    printed << object.Text.split(QLatin1Char('|'), Qt::SkipEmptyParts);
                }
        EXPECT_EQ(printed, lines) << "every line once, in order";
    }
}

TEST_F(PageBuild, PageColumnsFillOneAfterTheOther)
{
    page->Columns = 2;
    page->ColumnGap = 20;   // column width (758 - 20) / 2 = 369
    for (int i = 1; i <= 60; ++i)
        AddRow(QString::number(i), i);
    AddBand(btPageHeader, 0, 20);
    AddBand(btColumnHeader, 30, 20);
    AddMemo(10, 30, 100, 20, QStringLiteral("Колонка"), QStringLiteral("Column"));
    AddBand(btMasterData, 60, 25);
    AddMemo(10, 60, 100, 25, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
    Build();
    ASSERT_EQ(PageCount(), 1);
    const std::vector<TPrinted> objects = Printed(0);
    std::vector<TPrinted> columns, cells;
    for (const TPrinted& object : objects)
        (object.Name == QLatin1String("Column") ? columns : cells).push_back(object);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[1].Left, 10 + 369 + 20);
    EXPECT_EQ(columns[1].Top, columns[0].Top);
    ASSERT_EQ(cells.size(), 60u);
    // (1071 - 40) / 25: 41 rows in the first column, below the page and column headers.
    EXPECT_EQ(cells[40].Left, 10);
    EXPECT_EQ(cells[40].Top, 40 + 40 * 25);
    EXPECT_EQ(cells[41].Text, QStringLiteral("42"));
    EXPECT_EQ(cells[41].Left, 10 + 369 + 20);
    EXPECT_EQ(cells[41].Top, 40);
}

TEST_F(PageBuild, BandThatCanNeverFitEndsTheBuildWithAnError)
{
    AddRow(QStringLiteral("А"), 0);
    AddBand(btPageHeader, 0, 20);
    AddBand(btMasterData, 30, 1500, QStringLiteral("Huge"));
    page->AddObject(std::make_unique<TrpPictureView>())->SetBounds(0, 30, 100, 1500);
    Build();
    EXPECT_TRUE(report->Terminated);
    EXPECT_TRUE(context.ErrorFlag);
    EXPECT_TRUE(context.ErrorText.contains(QStringLiteral("Huge"))) << context.ErrorText.toStdString();
    EXPECT_LT(PageCount(), 200);
}

// A band taller than a page is split; a picture in it cannot be cut and starts a page of its
// own when it does not fit. Taller than the room at the top of every page, it would be pushed on
// for ever: the build ends at once, naming it, with no page made for it. The room is the page
// limit less the band's top and 2 (1071 - 0 - 2 = 1069 without a page header; below a header of
// 20 on the pages a break makes, 1049); a picture fits when its bottom stays above that.
TEST(SplitBand, AnObjectTallerThanAnyPageEndsTheBuildAtOnce)
{
    const struct {
        bool header;     // a report title and a page header push the band to a second page
        int height;      // of the picture
        int pages;       // made when the build ends
        bool fails;
    } cases[] = {
        {false, 1069, 1, true},
        {false, 1068, 1, false},
        {true, 1049, 2, true},
        {true, 1048, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.header << " " << c.height);
        ReportBuild build;
        build.AddRow(QStringLiteral("А"), 0);
        int top = 0;
        if (c.header) {
            build.AddBand(btReportTitle, 0, 40);
            build.AddMemo(0, 0, 100, 40, QStringLiteral("Отчёт"));
            build.AddBand(btPageHeader, 50, 20)->Flags |= bfOnFirstPage;
            top = 100;
        }
        build.AddBand(btMasterData, top, 1500, QStringLiteral("Tall"));
        TrpView* picture = build.page->AddObject(std::make_unique<TrpPictureView>());
        picture->SetBounds(0, top, 100, c.height);
        picture->Name = QStringLiteral("Picture");
        build.Build();
        EXPECT_EQ(build.PageCount(), c.pages) << "no page is made for the picture alone";
        EXPECT_EQ(build.context.ErrorFlag, c.fails) << build.context.ErrorText.toStdString();
        EXPECT_EQ(build.context.CurrentView, nullptr);
        if (c.fails) {
            const QString room = QString::number(c.header ? 1049 : 1069);
            EXPECT_TRUE(build.context.ErrorText.contains(QStringLiteral("Object: Picture\r")));
            EXPECT_TRUE(build.context.ErrorText.endsWith(
                QStringLiteral("Object Picture of band Tall fits on no page: it is %1 high, a page has room for %2")
                    .arg(c.height)
                    .arg(room)))
                << build.context.ErrorText.toStdString();
        } else {
            const std::vector<TPrinted> printed = build.Printed(c.pages - 1);
            const auto found = std::find_if(printed.begin(), printed.end(),
                                            [](const TPrinted& object) { return object.Name == QLatin1String("Picture"); });
            ASSERT_NE(found, printed.end());
            EXPECT_EQ(found->Top, c.header ? 20 : 0);
            EXPECT_EQ(found->Height, c.height);
        }
    }
}

TEST_F(PageBuild, AScriptCannotSetWhatTheEngineCannotLayOut)
{
    const struct {
        const char* script;
        const char* refused;
    } cases[] = {
        {"Left := 2000000000", "Left = 2000000000"},
        {"Height := -1000001", "Height = -1000001"},
        {"FrameWidth := 2000000.5", "FrameWidth = 2e+06"},
        {"Font.Size := 100000", "Font.Size = 100000"},
        {"LineSpacing := 5000", "LineSpacing = 5000"},
        {"PAGE1.Type := 208", "Type = 208"},
        {"PAGE1.Columns := 101", "Columns = 101"},
        {"PAGE1.Width := 1000000000000", "Width = 1e+12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        ReportBuild build;
        build.AddRow(QStringLiteral("А"), 0);
        build.AddBand(btMasterData, 0, 40);
        TrpMemoView* memo = build.AddMemo(0, 0, 100, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("fSilo"));
        memo->ScriptLines = QStringList{QString::fromLatin1(c.script)};
        build.Build();
        EXPECT_TRUE(build.context.ErrorFlag);
        EXPECT_TRUE(build.context.ErrorText.contains(QString::fromLatin1(c.refused))) << build.context.ErrorText.toStdString();
        EXPECT_TRUE(build.context.ErrorText.contains(QStringLiteral("вне пределов")));
        EXPECT_EQ(build.page->Type, ptReport);
    }
}

TEST_F(PageBuild, PageHeaderTallerThanThePageEndsTheBuildWithAnError)
{
    for (int i = 0; i < 100; ++i)
        AddRow(QStringLiteral("А"), 0);
    AddBand(btPageHeader, 0, 1100, QStringLiteral("TallHeader"));
    AddMemo(0, 0, 100, 1100, QStringLiteral("Шапка"));
    AddBand(btMasterData, 1200, 25);
    AddMemo(0, 1200, 100, 25, QStringLiteral("[tbSilo.Silo]"));
    Build();
    EXPECT_TRUE(context.ErrorFlag);
    EXPECT_TRUE(context.ErrorText.contains(QStringLiteral("TallHeader"))) << context.ErrorText.toStdString();
}

TEST_F(PageBuild, GroupHeadersNestDeeperThanAHundredBands)
{
    constexpr int kGroups = 150;
    AddRow(QStringLiteral("А"), 1);
    AddRow(QStringLiteral("Б"), 2);
    for (int g = 0; g < kGroups; ++g) {
        AddBand(btGroupHeader, g * 10, 5)->FormatText = QStringLiteral("[tbSilo.Silo]");
        AddMemo(0, g * 10, 50, 5, QStringLiteral("G"), QStringLiteral("Group"));
    }
    AddBand(btMasterData, kGroups * 10, 5);
    AddMemo(0, kGroups * 10, 50, 5, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Row"));
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    EXPECT_EQ(Texts(QStringLiteral("Group")).size(), 2 * kGroups);
    EXPECT_EQ(Texts(QStringLiteral("Row")), (QStringList{"А", "Б"}));
}

// One band holds two sub-reports side by side: 60 rows of 25 on the left need two pages, 10 on
// the right fit on the first; the summary follows the longer one.
TEST_F(PageBuild, SideBySideSubReportsContinueTogetherAndTheBandEndsBelowTheLonger)
{
    AddBand(btPageHeader, 0, 20);
    AddMemo(0, 0, 100, 20, QStringLiteral("Стр. [PAGE#]"), QStringLiteral("Header"));
    AddBand(btMasterData, 30, 30)->FormatText = QStringLiteral("1");
    for (int i = 0; i < 2; ++i) {
        auto* sub = static_cast<TrpSubReportView*>(page->AddObject(std::make_unique<TrpSubReportView>()));
        sub->SetBounds(i * 400, 30, 300, 30);
        sub->SubPageIndex = i + 1;
    }
    AddBand(btReportSummary, 100, 20);
    AddMemo(0, 100, 100, 20, QStringLiteral("Итог"), QStringLiteral("Summary"));
    const struct {
        int rows;
        QString prefix;
    } targets[] = {{60, "Л"}, {10, "П"}};
    for (const auto& target : targets) {
        TrpPage* sub = NewPage();
        AddBand(sub, btMasterData, 0, 25)->FormatText = QString::number(target.rows);
        AddMemo(sub, 10, 0, 100, 25, target.prefix + QStringLiteral("[LINE#]"), target.prefix);
    }
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    ASSERT_EQ(PageCount(), 2) << "the sub-reports' pages are built only inside the band";
    QStringList left, right;
    int lastLeftBottom = 0;
    for (int p = 0; p < PageCount(); ++p)
        for (const TPrinted& object : Printed(p)) {
            if (object.Name == QStringLiteral("Л")) {
                left << object.Text;
                EXPECT_EQ(object.Left, 10);
                EXPECT_LE(object.Top + object.Height, kPageHeight);
                EXPECT_GE(object.Top, 20) << "below the page header";
                lastLeftBottom = object.Top + object.Height;
            } else if (object.Name == QStringLiteral("П")) {
                right << object.Text;
                EXPECT_EQ(p, 0);
                EXPECT_EQ(object.Left, 410);
            } else if (object.Name == QLatin1String("Summary")) {
                EXPECT_EQ(p, 1);
                EXPECT_EQ(object.Top, lastLeftBottom) << "the band ends below the longer sub-report";
            }
        }
    QStringList expectedLeft, expectedRight;
    for (int i = 1; i <= 60; ++i)
        expectedLeft << QStringLiteral("Л%1").arg(i);
    for (int i = 1; i <= 10; ++i)
        expectedRight << QStringLiteral("П%1").arg(i);
    EXPECT_EQ(left, expectedLeft);
    EXPECT_EQ(right, expectedRight);
    EXPECT_EQ(Texts(QStringLiteral("Header")), (QStringList{"Стр. 1", "Стр. 2"}));
    EXPECT_EQ(Texts(QStringLiteral("Summary")).size(), 1);
}

// Sub-reports whose targets place one another in a ring would build without end: the build is
// refused before any page is made, its error naming the ring and the object that closes it. A
// chain of sub-reports that ends builds every page of it once.
TEST(SubReportRings, ARingIsRefusedAndAChainThatEndsBuilds)
{
    const struct {
        std::vector<int> targets;   // from the second page on: the page its sub-report places, or -1
        const char* ring;           // empty: the build succeeds
        const char* closing;        // the sub-report that closes the ring
    } cases[] = {
        {{1}, "Page2 → Page2", "Sub2"},
        {{2, 1}, "Page2 → Page3 → Page2", "Sub3"},
        {{2, 3, 1}, "Page2 → Page3 → Page4 → Page2", "Sub4"},
        {{2, 3, -1}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ring);
        ReportBuild build;
        QStringList boxes;
        build.context.MessageBox = [&boxes](const QString& text, const QString&, int) {
            boxes << text;
            return 1;
        };
        int pagesBegun = 0;
        build.report->OnBeginPage = [&pagesBegun](int) { ++pagesBegun; };
        const auto addSubReport = [&build](TrpPage* on, int index, int target) {
            auto* sub = static_cast<TrpSubReportView*>(on->AddObject(std::make_unique<TrpSubReportView>()));
            sub->SetBounds(300, 0, 200, 30);
            sub->SubPageIndex = target;
            sub->Name = QStringLiteral("Sub%1").arg(index + 1);
        };
        build.AddBand(btMasterData, 0, 30)->FormatText = QStringLiteral("1");
        addSubReport(build.page, 0, 1);
        for (size_t i = 0; i < c.targets.size(); ++i) {
            TrpPage* page = build.NewPage();
            build.AddBand(page, btMasterData, 0, 30)->FormatText = QStringLiteral("1");
            build.AddMemo(page, 0, 0, 100, 30, QStringLiteral("P%1").arg(i + 2), QStringLiteral("Text"));
            if (c.targets[i] >= 0)
                addSubReport(page, int(i + 1), c.targets[i]);
        }
        const bool built = build.report->BuildReportPages();
        EXPECT_EQ(build.context.CurrentView, nullptr);
        if (*c.ring == 0) {
            EXPECT_TRUE(built);
            EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
            EXPECT_EQ(build.Texts(QStringLiteral("Text")), (QStringList{"P2", "P3", "P4"}));
            continue;
        }
        EXPECT_FALSE(built);
        EXPECT_EQ(pagesBegun, 0);
        EXPECT_EQ(build.PageCount(), 0);
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0].contains(QStringLiteral("Object: ") + QString::fromLatin1(c.closing)))
            << boxes[0].toStdString();
        EXPECT_TRUE(boxes[0].endsWith(QStringLiteral("Sub-reports place one another in a ring: ") +
                                      QString::fromUtf8(c.ring)))
            << boxes[0].toStdString();
    }
}

TEST_F(PageBuild, ObjectsBelongToTheBandTheyLieInAndHeadersAndFootersToTheDataBandTheyFrame)
{
    AddRow(QStringLiteral("А"), 0);
    AddRow(QStringLiteral("Б"), 0);
    // A master header below its data band heads nothing; a footer above the data band's bottom
    // closes nothing; equal tops keep the objects' order.
    AddBand(btMasterHeader, 300, 20);
    AddMemo(0, 300, 100, 20, QStringLiteral("Не шапка"), QStringLiteral("LateHeader"));
    AddBand(btMasterHeader, 0, 20);
    AddMemo(0, 0, 100, 20, QStringLiteral("Шапка"), QStringLiteral("Header"));
    AddBand(btMasterData, 40, 20);
    AddMemo(0, 40, 100, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Row"));
    AddMemo(200, 60, 100, 10, QStringLiteral("край"), QStringLiteral("Edge"));   // on the lower edge
    AddBand(btMasterFooter, 55, 20);
    AddMemo(0, 65, 100, 10, QStringLiteral("Не подвал"), QStringLiteral("EarlyFooter"));
    AddMemo(500, 900, 100, 20, QStringLiteral("Вне полос"), QStringLiteral("Loose"));
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    EXPECT_EQ(Sequence(*this, {"Header", "LateHeader", "Row", "Edge", "EarlyFooter"}),
              (QStringList{"Header:Шапка", "Row:А", "Edge:край", "Row:Б", "Edge:край"}));
    const std::vector<TPrinted> objects = Printed(0);
    const TPrinted* loose = Find(objects, QStringLiteral("Loose"));
    ASSERT_NE(loose, nullptr) << "an object in no band prints at its page position";
    EXPECT_EQ(loose->Left, 500);
    EXPECT_EQ(loose->Top, 900);
    EXPECT_EQ(Find(objects, QStringLiteral("Edge"))->Top, 20 + 20) << "the edge object moves with its band";
}

TEST_F(PageBuild, PageThatPrintsOnThePreviousPageContinuesBelowIt)
{
    for (int i = 0; i < 3; ++i)
        AddRow(QStringLiteral("С%1").arg(i + 1), 0);
    AddBand(btMasterData, 0, 20);
    AddMemo(0, 0, 100, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("First"));
    AddBand(btPageFooter, 100, 20);
    AddMemo(0, 100, 100, 20, QStringLiteral("Подвал [PAGE#]"), QStringLiteral("Footer"));
    TrpPage* second = NewPage();
    second->PrintToPrevPage = true;
    AddBand(second, btMasterData, 0, 20)->FormatText = QStringLiteral("2");
    AddMemo(second, 0, 0, 100, 20, QStringLiteral("Второй [LINE#]"), QStringLiteral("Second"));
    Build();
    ASSERT_EQ(PageCount(), 1);
    EXPECT_EQ(Sequence(*this, {"First", "Second", "Footer"}),
              (QStringList{"First:С1", "First:С2", "First:С3", "Footer:Подвал 1", "Second:Второй 1",
                           "Second:Второй 2"}));
    const std::vector<TPrinted> objects = Printed(0);
    EXPECT_EQ(Find(objects, QStringLiteral("Second"))->Top, 60) << "below the first page's rows";
}

// A cross table: each master row repeats its cross data cell once per record of the cross
// source between the header and the footer cell; a row wider than the page goes on on the next.
// The master footer below has as many cells as the widest row.
TEST_F(PageBuild, CrossBandsRepeatTheirCellsAcrossTheRow)
{
    struct Case {
        int columns;
        int pages;
        QStringList firstPage, secondPage;
    } const cases[] = {
        {3, 1, {"H:10", "D1:110", "D2:260", "D3:410", "F:560", "T1:110", "T2:260", "T3:410"}, {}},
        {6, 2, {"H:10", "D1:110", "D2:260", "D3:410", "D4:560", "T1:110", "T2:260", "T3:410", "T4:560"},
         {"D5:10", "D6:160", "F:310", "T5:10", "T6:160"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        ReportBuild build;
        build.AddRow(QStringLiteral("А"), 0);
        build.AddBand(btMasterData, 0, 20);
        const struct {
            int type, left, width;
            const char* text;
            const char* name;
        } crosses[] = {{btCrossHeader, 0, 100, "H", "H"}, {btCrossData, 100, 150, "D[COLUMN#]", "D"},
                       {btCrossFooter, 250, 100, "F", "F"}};
        for (const auto& cross : crosses) {
            TrpBandView* band = build.AddBand(cross.type, 0, 20);
            band->SetBounds(cross.left, 0, cross.width, 20);
            if (cross.type == btCrossData)
                band->FormatText = QString::number(c.columns);
            build.AddMemo(cross.left + 10, 0, 80, 20, QString::fromUtf8(cross.text), QString::fromUtf8(cross.name));
        }
        build.AddBand(btMasterFooter, 40, 20);
        build.AddMemo(110, 40, 80, 20, QStringLiteral("T[COLUMN#]"), QStringLiteral("T"));
        build.Build();
        ASSERT_FALSE(build.context.ErrorFlag) << build.context.ErrorText.toStdString();
        ASSERT_EQ(build.PageCount(), c.pages);
        for (int p = 0; p < c.pages; ++p) {
            QStringList cells;
            for (const TPrinted& object : build.Printed(p)) {
                EXPECT_EQ(object.Top, object.Name == QLatin1String("T") ? 20 : 0);
                cells << object.Text + QLatin1Char(':') + QString::number(object.Left);
            }
            EXPECT_EQ(cells, p == 0 ? c.firstPage : c.secondPage);
        }
    }
}

// A cross table of three silos by three columns, cell = temperature x 10 + column:
//   -2: -19 -18 -17 (row total -54)
//    5:  51  52  53 (156)
//    1:  11  12  13 (36)
// The Master footer's cells total their own column: sums 43, 46, 49, minima -19, -18, -17,
// maxima 51, 52, 53, three records each.
TEST_F(PageBuild, CrossTableFooterTotalsEveryColumn)
{
    for (auto [silo, temp] : std::vector<std::pair<const char*, double>>{{"А", -2}, {"Б", 5}, {"В", 1}})
        AddRow(QString::fromUtf8(silo), temp);
    AddBand(btMasterData, 0, 20, QStringLiteral("Row"));
    const QString cell = QStringLiteral("[tbSilo.Temp] * 10 + [COLUMN#]");
    const struct {
        int type, left, width;
        QString row, footer;
    } crosses[] = {
        {btCrossHeader, 0, 100, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Итого")},
        {btCrossData, 100, 150, QStringLiteral("[%1]").arg(cell),
         QStringLiteral("[SUM(%1)]/[MIN(%1)]/[MAX(%1)]/[COUNT()]").arg(cell)},
        {btCrossFooter, 250, 100, QStringLiteral("[SUM(%1)]").arg(cell), QString()},
    };
    for (const auto& cross : crosses) {
        TrpBandView* band = AddBand(cross.type, 0, 20);
        band->SetBounds(cross.left, 0, cross.width, 20);
        if (cross.type == btCrossData)
            band->FormatText = QStringLiteral("3");
        AddMemo(cross.left + 10, 0, 80, 20, cross.row, QStringLiteral("Cell%1").arg(cross.type));
        if (!cross.footer.isEmpty())
            AddMemo(cross.left + 10, 40, 80, 20, cross.footer, QStringLiteral("Total%1").arg(cross.type));
    }
    AddBand(btMasterFooter, 40, 20, QStringLiteral("Totals"));
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    EXPECT_EQ(Texts(QStringLiteral("Cell%1").arg(btCrossData)),
              (QStringList{"-19", "-18", "-17", "51", "52", "53", "11", "12", "13"}));
    EXPECT_EQ(Texts(QStringLiteral("Cell%1").arg(btCrossFooter)), (QStringList{"-54", "156", "36"}));
    EXPECT_EQ(Texts(QStringLiteral("Total%1").arg(btCrossHeader)), QStringList{"Итого"});
    EXPECT_EQ(Texts(QStringLiteral("Total%1").arg(btCrossData)),
              (QStringList{"43/-19/51/3", "46/-18/52/3", "49/-17/53/3"}));
}

TEST_F(PageBuild, BandColumnsPrintRecordsSideBySide)
{
    for (int i = 1; i <= 7; ++i)
        AddRow(QString::number(i), i);
    TrpBandView* rows = AddBand(btMasterData, 0, 25);
    rows->Columns = 3;
    rows->ColumnWidth = 200;
    rows->ColumnGap = 20;
    AddMemo(10, 0, 100, 25, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
    AddBand(btMasterFooter, 40, 20);
    AddMemo(10, 40, 100, 20, QStringLiteral("Итог"), QStringLiteral("Total"));
    Build();
    QStringList placed;
    for (const TPrinted& object : Printed(0))
        placed << QStringLiteral("%1@%2,%3").arg(object.Text).arg(object.Left).arg(object.Top);
    EXPECT_EQ(placed, (QStringList{"1@10,0", "2@230,0", "3@450,0", "4@10,25", "5@230,25", "6@450,25", "7@10,50",
                                   "Итог@10,75"}))
        << "the run of columns ends below the last row";
}

// A band that fits an empty page but not below the page header moves to a new page, where it
// still does not fit below the header: it is split there instead of printing past the footer.
TEST_F(PageBuild, BandTallerThanTheRoomBelowThePageHeaderIsSplitNotOverflowed)
{
    AddRow(QStringLiteral("А"), 0);
    AddRow(QStringLiteral("Б"), 0);
    AddBand(btPageHeader, 0, 300);
    AddMemo(0, 0, 100, 20, QStringLiteral("Шапка"), QStringLiteral("Header"));
    AddBand(btMasterData, 400, 1000, QStringLiteral("Tall"));
    QStringList lines;
    // 60 lines fill 900 of the memo's 1000: more than the 750 below the header.
    for (int i = 1; i <= 60; ++i)
        lines << QStringLiteral("[tbSilo.Silo] %1").arg(i);
    AddMemo(0, 400, 300, 1000, lines.join(QLatin1Char('\n')), QStringLiteral("Text"));
    AddBand(btPageFooter, 1500, 20);
    AddMemo(0, 1500, 100, 20, QStringLiteral("Подвал"), QStringLiteral("Footer"));
    Build();
    ASSERT_FALSE(context.ErrorFlag) << context.ErrorText.toStdString();
    QStringList printed;
    for (int p = 0; p < PageCount(); ++p)
        for (const TPrinted& object : Printed(p))
            if (object.Name == QLatin1String("Text")) {
                EXPECT_LE(object.Top + object.Height, kPageHeight - 20) << "page " << p;
                printed << object.Text.split(QLatin1Char('|'), Qt::SkipEmptyParts);
            }
    QStringList expected;
    for (const QString& silo : {QStringLiteral("А"), QStringLiteral("Б")})
        for (int i = 1; i <= 60; ++i)
            expected << silo + QLatin1Char(' ') + QString::number(i);
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(Texts(QStringLiteral("Footer")).size(), PageCount());
}
