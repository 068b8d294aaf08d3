// Faults the band engine once had, each shown by a template of a few bands built in code, with
// what it must print worked out by hand from the bands' heights and the data. A fault found
// later gets a row of its own: a name, a builder and a check.
//
// The page is the virtual printer's A4 sheet with margins off (758 x 1071 units); a memo of the
// default font has lines of 15 units (13 pixels and 2 of spacing) and gaps of 1 above and below
// its text, and its smallest part (one line with gaps and the frame's 2) is 19 high. A part of a
// memo cut at the foot of a page gets the room left below its top and 1 more; the room is the
// page's limit less the Column footer, the band's top and 2.
#include <functional>
#include <memory>

#include "PageBuildFixture.h"
#include "QtPrinters.h"
#include "report/objects/PictureView.h"
#include "report/objects/SubReportView.h"

namespace {

struct TRegressionCase {
    const char* fault;   // what the engine printed wrong
    std::function<void(ReportBuild&)> build;   // the bands, their objects and the data
    std::function<void(ReportBuild&)> check;   // what the prepared pages must hold
};

QString Place(int page, int left, int top, int height, const QString& text)
{
    return QStringLiteral("%1@%2,%3+%4 %5").arg(page).arg(left).arg(top).arg(height).arg(text);
}

// Every printed object of that name, over all pages in order, as "page@left,top+height text".
QStringList Placed(ReportBuild& build, const QString& name)
{
    QStringList placed;
    for (int p = 0; p < build.PageCount(); ++p)
        for (const TPrinted& object : build.Printed(p))
            if (object.Name == name)
                placed << Place(p, object.Left, object.Top, object.Height, object.Text);
    return placed;
}

void ExpectBuilt(const ReportBuild& build)
{
    EXPECT_FALSE(build.context.ErrorFlag) << build.context.ErrorText.toStdString();
}

void AddRecords(ReportBuild& build, int count)
{
    for (int i = 1; i <= count; ++i)
        build.AddRow(QString::number(i), i);
}

// The readings of three silos, in the order a protocol lists them.
void AddReadings(ReportBuild& build)
{
    for (auto [silo, temp] : std::vector<std::pair<const char*, double>>{
             {"А", -2}, {"А", -4}, {"Б", 5}, {"Б", 1}, {"Б", -3}, {"В", 7}})
        build.AddRow(QString::fromUtf8(silo), temp);
}

// A data band that may split, below a report title of that height (none for 0), holding a memo
// of the record's lines "<record>.1" to "<record>.<lines>" at its top.
void SplitBandBelowTitle(ReportBuild& build, int title, int band, int memo, int lines)
{
    if (title > 0)
        build.AddBand(btReportTitle, 0, title);
    build.AddBand(btMasterData, 2000, band, QStringLiteral("Rows"))->Flags |= bfBreaked;
    QStringList text;
    for (int i = 1; i <= lines; ++i)
        text << QStringLiteral("[tbSilo.Silo].%1").arg(i);
    build.AddMemo(10, 2000, 300, memo, text.join(QLatin1Char('\n')), QStringLiteral("Cell"));
}

// The texts "<record>.1|...|<record>.<lines>", of records first to last.
QStringList WholeRecords(int first, int last, int lines)
{
    QStringList records;
    for (int r = first; r <= last; ++r) {
        QStringList text;
        for (int i = 1; i <= lines; ++i)
            text << QStringLiteral("%1.%2").arg(r).arg(i);
        records << text.join(QLatin1Char('|'));
    }
    return records;
}

// Records first to last, each whole at top, top + step, ... of that page, 10 from the left.
QStringList RecordsFrom(int page, int top, int step, int height, int first, int last, int lines)
{
    QStringList placed;
    for (const QString& text : WholeRecords(first, last, lines)) {
        placed << Place(page, 10, top, height, text);
        top += step;
    }
    return placed;
}

// Cross bands across a master band at 0: a header of 100 (memo "H"), data cells of 150 from
// 100, as many as columns, and a footer of 100; each memo 10 from its band's left, at top and
// that high.
void AddCrossBands(ReportBuild& build, int columns, const QString& data, const QString& footer, int top = 0,
                   int height = 20)
{
    const struct {
        int type, left, width;
        QString text, name;
    } crosses[] = {{btCrossHeader, 0, 100, QStringLiteral("H"), QStringLiteral("Header")},
                   {btCrossData, 100, 150, data, QStringLiteral("Data")},
                   {btCrossFooter, 250, 100, footer, QStringLiteral("Footer")}};
    for (const auto& cross : crosses) {
        TrpBandView* band = build.AddBand(cross.type, 0, 20);
        band->SetBounds(cross.left, 0, cross.width, 20);
        if (cross.type == btCrossData)
            band->FormatText = QString::number(columns);
        build.AddMemo(cross.left + 10, top, 80, height, cross.text, cross.name);
    }
}

// A report title of that height holding at its top, 400 from the left, a sub-report whose page
// prints rows of 25 ("Row", its line number), that many.
TrpBandView* AddSubReportTitle(ReportBuild& build, int height, int rows)
{
    TrpBandView* title = build.AddBand(btReportTitle, 0, height);
    auto* sub = static_cast<TrpSubReportView*>(build.page->AddObject(std::make_unique<TrpSubReportView>()));
    sub->SetBounds(400, 0, 200, 25);
    sub->SubPageIndex = 1;
    TrpPage* target = build.NewPage();
    build.AddBand(target, btMasterData, 0, 25)->FormatText = QString::number(rows);
    build.AddMemo(target, 10, 0, 100, 25, QStringLiteral("[LINE#]"), QStringLiteral("Row"));
    return title;
}

// A group header of 20 on the silo, repeated on new pages; its memo "Group" reads "Силос <silo>".
void AddRepeatingGroupHeader(ReportBuild& build, int top)
{
    TrpBandView* header = build.AddBand(btGroupHeader, top, 20);
    header->FormatText = QStringLiteral("[tbSilo.Silo]");
    header->Flags |= bfRepeatHeader;
    build.AddMemo(10, top, 300, 20, QStringLiteral("Силос [tbSilo.Silo]"), QStringLiteral("Group"));
}

// A title of 1200, split: its memo at 1150 goes to the next page ("TitleEnd"), before a group
// on the silo that repeats its header on new pages and a master band of the silo.
void SplitTitleAboveGroups(ReportBuild& build)
{
    build.AddBand(btReportTitle, 0, 1200);
    build.AddMemo(10, 0, 300, 20, QStringLiteral("Отчёт"), QStringLiteral("Title"));
    build.AddMemo(10, 1150, 300, 20, QStringLiteral("Конец"), QStringLiteral("TitleEnd"));
    AddRepeatingGroupHeader(build, 1300);
    build.AddBand(btMasterData, 1400, 20);
    build.AddMemo(10, 1400, 300, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
}

std::vector<TRegressionCase> Cases()
{
    std::vector<TRegressionCase> cases;

    // A band of 30 with a one-line memo of 20 after a title of 15: records 1 to 35 fill the
    // first page (15 + 35 x 30 = 1065), record 36 finds 1071 - 1065 - 2 = 4 below it, the memo
    // is cut at 5, less than its smallest part of 19: nothing of it prints there, and all of
    // the cut part goes on (20 + 5 = 25, moved up by 4: from -4 to 21 on the next page).
    cases.push_back({"a band that may split was refused at a page break: the rest of a cut memo was "
                     "compared with the room at the foot of the page, not with a fresh page's",
                     [](ReportBuild& b) {
                         AddRecords(b, 40);
                         SplitBandBelowTitle(b, 15, 30, 20, 1);
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         QStringList expected = RecordsFrom(0, 15, 30, 20, 1, 35, 1);
                         expected << Place(1, 10, 0, 21, QStringLiteral("36.1"));
                         expected << RecordsFrom(1, 21, 30, 20, 37, 40, 1);
                         EXPECT_EQ(Placed(b, QStringLiteral("Cell")), expected);
                     }});

    // The guard against objects that fit on no page, at its boundary for memos: a band of 1080,
    // taller than the page, with a one-line memo of 1080 whose gaps are g above and below its
    // text. Its smallest part is 2 + 2g + 15; a fresh page has room for 1071 - 2 = 1069.
    // g = 526: 1069 fits; the memo is cut at 1070 and its line prints there, the rest part
    // keeping the gaps and frame, 1054 of the 1070 (1080 + 1055 - 1069 = 1066 on page 2).
    // g = 527: 1071 fits on no page, and the build ends at once naming the memo.
    for (int gap : {526, 527}) {
        const bool fits = gap == 526;
        cases.push_back({fits ? "a memo whose smallest part fits a fresh page is cut across pages, never refused"
                              : "a memo whose smallest part is taller than a fresh page fits on no page and ends "
                                "the build at once",
                         [gap](ReportBuild& b) {
                             AddRecords(b, 1);
                             b.AddBand(btMasterData, 0, 1080, QStringLiteral("Tall"));
                             b.AddMemo(10, 0, 300, 1080, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Text"))->GapY = gap;
                         },
                         [fits](ReportBuild& b) {
                             if (fits) {
                                 ExpectBuilt(b);
                                 EXPECT_EQ(Placed(b, QStringLiteral("Text")),
                                           (QStringList{Place(0, 10, 0, 1070, "1"), Place(1, 10, 0, 1066, "")}));
                             } else {
                                 EXPECT_EQ(b.PageCount(), 1);
                                 EXPECT_TRUE(b.context.ErrorText.endsWith(QStringLiteral(
                                     "Object Text of band Tall fits on no page: it is 1071 high, a page has room for 1069")))
                                     << b.context.ErrorText.toStdString();
                             }
                         }});
    }

    // Records of 5 lines (77 of text) in bands of 81 after a title of 970 - 81 x k: record
    // k + 2 starts at 1051, 18 above the page's end; its memo is cut at 19, which holds its
    // smallest part: line 1 prints there. What is left is the 4 of gaps and frame the cut part
    // had besides the line (81 + 4 moved up by 18: 67 on the next page, lines 2 to 5), and
    // the next records follow at 67, 148, ...
    for (int k : {0, 4}) {
        const int title = 970 - 81 * k;
        cases.push_back({"a split band lost the last line of a record: a memo's part as high as its "
                         "smallest part was not printed, yet counted as printed",
                         [title](ReportBuild& b) {
                             AddRecords(b, 6);
                             SplitBandBelowTitle(b, title, 81, 81, 5);
                         },
                         [k, title](ReportBuild& b) {
                             ExpectBuilt(b);
                             const int cut = k + 2;
                             QStringList expected = RecordsFrom(0, title, 81, 81, 1, cut - 1, 5);
                             expected << Place(0, 10, 1051, 19, QStringLiteral("%1.1").arg(cut));
                             expected << Place(1, 10, 0, 67, QStringLiteral("%1.2|%1.3|%1.4|%1.5").arg(cut));
                             expected << RecordsFrom(1, 67, 81, 81, cut + 1, 6, 5);
                             EXPECT_EQ(Placed(b, QStringLiteral("Cell")), expected);
                         }});
    }

    // A band of 30 after a title of 1051: its one-line memo is cut at 19 and its line prints
    // there; the 4 of gaps and frame go on (20 + 4 moved up by 18: 0 to 6 on the next page,
    // no line left), and the second record follows at 6.
    cases.push_back({"a split band lost a whole record: its only line was counted as printed on a page "
                     "where it did not print",
                     [](ReportBuild& b) {
                         AddRecords(b, 2);
                         SplitBandBelowTitle(b, 1051, 30, 20, 1);
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(Placed(b, QStringLiteral("Cell")),
                                   (QStringList{Place(0, 10, 1051, 19, "1.1"), Place(1, 10, 0, 6, ""),
                                                Place(1, 10, 6, 20, "2.1")}));
                     }});
    // Readings -2, -4 | 5, 1, -3 | 7 of silos А, Б, В: the groups' means are -3, 1 and 7; the
    // summary's is 4 / 6 = 0.667 over all six, whatever footers printed before it.
    const QString summary = QStringLiteral("[FORMATFLOAT('0.000', AVG([tbSilo.Temp]))] [SUM([tbSilo.Temp])] [COUNT()]");
    cases.push_back({"the report summary's average after group footers printed 0: each footer's reset "
                     "zeroed the one record count all averages of the data band divided by",
                     [summary](ReportBuild& b) {
                         AddReadings(b);
                         b.AddBand(btGroupHeader, 0, 20)->FormatText = QStringLiteral("[tbSilo.Silo]");
                         b.AddBand(btMasterData, 30, 20, QStringLiteral("Rows"));
                         b.AddBand(btGroupFooter, 60, 20);
                         b.AddMemo(0, 60, 300, 20, QStringLiteral("[tbSilo.Silo]: [AVG([tbSilo.Temp])]"),
                                   QStringLiteral("Group"));
                         b.AddBand(btReportSummary, 90, 20);
                         b.AddMemo(0, 90, 300, 20, summary, QStringLiteral("Summary"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(b.Texts(QStringLiteral("Group")), (QStringList{"А: -3", "Б: 1", "В: 7"}));
                         EXPECT_EQ(b.Texts(QStringLiteral("Summary")), QStringList{"0.667 4 6"});
                     }});
    cases.push_back({"the report summary's average after the master footer printed 0",
                     [summary](ReportBuild& b) {
                         AddReadings(b);
                         b.AddBand(btMasterData, 0, 20, QStringLiteral("Rows"));
                         b.AddBand(btMasterFooter, 30, 20);
                         b.AddMemo(0, 30, 300, 20, summary, QStringLiteral("Footer"));
                         b.AddBand(btReportSummary, 60, 20);
                         b.AddMemo(0, 60, 300, 20, summary, QStringLiteral("Summary"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(b.Texts(QStringLiteral("Footer")), QStringList{"0.667 4 6"});
                         EXPECT_EQ(b.Texts(QStringLiteral("Summary")), QStringList{"0.667 4 6"});
                     }});
    // Silos А1, А1, А2 | Б1, Б1, Б2 in two outer groups by their letter: the inner means are
    // -3, 5, -1, 7; the outer ones (-2 - 4 + 5) / 3 = -0.333 and (1 - 3 + 7) / 3 = 1.667.
    cases.push_back({"an outer group footer's average after an inner group footer printed 0",
                     [](ReportBuild& b) {
                         for (auto [silo, temp] : std::vector<std::pair<const char*, double>>{
                                  {"А1", -2}, {"А1", -4}, {"А2", 5}, {"Б1", 1}, {"Б1", -3}, {"Б2", 7}})
                             b.AddRow(QString::fromUtf8(silo), temp);
                         b.AddBand(btGroupHeader, 0, 20)->FormatText = QStringLiteral("COPY([tbSilo.Silo], 1, 1)");
                         b.AddBand(btGroupHeader, 30, 20)->FormatText = QStringLiteral("[tbSilo.Silo]");
                         b.AddBand(btMasterData, 60, 20, QStringLiteral("Rows"));
                         b.AddBand(btGroupFooter, 90, 20);
                         b.AddMemo(0, 90, 300, 20, QStringLiteral("[tbSilo.Silo]: [AVG([tbSilo.Temp])]"),
                                   QStringLiteral("Inner"));
                         b.AddBand(btGroupFooter, 120, 20);
                         b.AddMemo(0, 120, 300, 20,
                                   QStringLiteral("[COPY([tbSilo.Silo], 1, 1)]: [FORMATFLOAT('0.000', AVG([tbSilo.Temp]))]"),
                                   QStringLiteral("Outer"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(b.Texts(QStringLiteral("Inner")), (QStringList{"А1: -3", "А2: 5", "Б1: -1", "Б2: 7"}));
                         EXPECT_EQ(b.Texts(QStringLiteral("Outer")), (QStringList{"А: -0.333", "Б: 1.667"}));
                     }});

    // A band of 1041 between a Column footer of 27 and a Page footer of 17: the room above the
    // Column footer is 1071 - 17 - 27 = 1027, so the band is split even at the top of a page.
    // Its memo at 0 prints; the one at 1021 is cut at 1025 - 1021 + 1 = 5, less than its
    // smallest part, and goes on whole (20 + 5 moved up by 1025: 0 to 21 on the next page).
    // The Column footer stands at the foot of the column, 1027, below the part that printed;
    // the second record does not fit below 21 and starts a page of its own.
    cases.push_back({"a band a little shorter than a page printed into the Column footer's room, the "
                     "Column footer over the Page footer and alone on a page",
                     [](ReportBuild& b) {
                         b.AddRow(QStringLiteral("А"), 0);
                         b.AddRow(QStringLiteral("Б"), 0);
                         b.AddBand(btMasterData, 0, 1041, QStringLiteral("Tall"));
                         b.AddMemo(10, 0, 300, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
                         b.AddMemo(10, 1021, 300, 20, QStringLiteral("конец [tbSilo.Silo]"), QStringLiteral("End"));
                         b.AddBand(btColumnFooter, 1100, 27);
                         b.AddMemo(10, 1100, 300, 27, QStringLiteral("колонка"), QStringLiteral("ColumnFooter"));
                         b.AddBand(btPageFooter, 1200, 17)->Flags |= bfOnFirstPage | bfOnLastPage;
                         b.AddMemo(10, 1200, 300, 17, QStringLiteral("стр. [PAGE#]"), QStringLiteral("PageFooter"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         ASSERT_EQ(b.PageCount(), 4);
                         EXPECT_EQ(Placed(b, QStringLiteral("Cell")),
                                   (QStringList{Place(0, 10, 0, 20, "А"), Place(2, 10, 0, 20, "Б")}));
                         EXPECT_EQ(Placed(b, QStringLiteral("End")), (QStringList{Place(1, 10, 0, 21, "конец А"),
                                                                                  Place(3, 10, 0, 21, "конец Б")}));
                         QStringList columnFooters, pageFooters;
                         for (int p = 0; p < 4; ++p) {
                             columnFooters << Place(p, 10, p % 2 ? 21 : 1027, 27, QStringLiteral("колонка"));
                             pageFooters << Place(p, 10, 1054, 17, QStringLiteral("стр. %1").arg(p + 1));
                         }
                         EXPECT_EQ(Placed(b, QStringLiteral("ColumnFooter")), columnFooters);
                         EXPECT_EQ(Placed(b, QStringLiteral("PageFooter")), pageFooters);
                     }});

    // Two page columns of 369 with a gap of 20; rows of 25 above a Column footer of 20: the 40
    // rows end at 1000, the Column footer prints at 1000, and the summary of 60 does not fit
    // below it (1020 + 60 > 1071) and moves to the second column, at its top.
    cases.push_back({"the Column footer printed twice when the report summary moved to the next column, "
                     "the second copy over the page's end",
                     [](ReportBuild& b) {
                         b.page->Columns = 2;
                         b.page->ColumnGap = 20;
                         AddRecords(b, 40);
                         b.AddBand(btMasterData, 0, 25, QStringLiteral("Rows"));
                         b.AddMemo(10, 0, 100, 25, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
                         b.AddBand(btColumnFooter, 40, 20);
                         b.AddMemo(10, 40, 100, 20, QStringLiteral("колонка"), QStringLiteral("ColumnFooter"));
                         b.AddBand(btReportSummary, 70, 60);
                         b.AddMemo(10, 70, 100, 60, QStringLiteral("итог"), QStringLiteral("Summary"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         ASSERT_EQ(b.PageCount(), 1);
                         EXPECT_EQ(Placed(b, QStringLiteral("ColumnFooter")),
                                   QStringList{Place(0, 10, 1000, 20, "колонка")});
                         EXPECT_EQ(Placed(b, QStringLiteral("Summary")),
                                   QStringList{Place(0, 10 + 369 + 20, 0, 60, "итог")});
                         EXPECT_EQ(Placed(b, QStringLiteral("Cell")).size(), 40);
                     }});

    // A group header and the data band both start a new page: every record prints on a page of
    // its own, below the page header, with its group's header when a group starts there.
    cases.push_back({"a group header and its data band both starting a new page made a page with "
                     "nothing but the page header at every group change",
                     [](ReportBuild& b) {
                         AddReadings(b);
                         b.AddBand(btPageHeader, 0, 20)->Flags |= bfOnFirstPage;
                         b.AddMemo(10, 0, 100, 20, QStringLiteral("шапка"), QStringLiteral("PageHeader"));
                         TrpBandView* group = b.AddBand(btGroupHeader, 30, 20);
                         group->FormatText = QStringLiteral("[tbSilo.Silo]");
                         group->Flags |= bfFormNewPage;
                         b.AddMemo(10, 30, 100, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Group"));
                         b.AddBand(btMasterData, 60, 20, QStringLiteral("Rows"))->Flags |= bfFormNewPage;
                         b.AddMemo(10, 60, 100, 20, QStringLiteral("[tbSilo.Temp]"), QStringLiteral("Row"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         ASSERT_EQ(b.PageCount(), 6);
                         EXPECT_EQ(Placed(b, QStringLiteral("Group")),
                                   (QStringList{Place(0, 10, 20, 20, "А"), Place(2, 10, 20, 20, "Б"),
                                                Place(5, 10, 20, 20, "В")}));
                         EXPECT_EQ(Placed(b, QStringLiteral("Row")),
                                   (QStringList{Place(0, 10, 40, 20, "-2"), Place(1, 10, 20, 20, "-4"),
                                                Place(2, 10, 40, 20, "5"), Place(3, 10, 20, 20, "1"),
                                                Place(4, 10, 20, 20, "-3"), Place(5, 10, 40, 20, "7")}));
                         EXPECT_EQ(Placed(b, QStringLiteral("PageHeader")).size(), 6);
                     }});

    // A band of 1500 holding a picture, below a page header of 20 on every page: the band is
    // taller than any page and is split where it stands, at 20, on the first page, which holds
    // nothing else. The room below the header is 1071 - 20 - 2 = 1049: a picture of 1048 prints
    // there; one of 1049 fits on no page, and the build ends naming it once the page it is
    // pushed to shows the same room.
    for (int height : {1048, 1049}) {
        const bool fits = height == 1048;
        cases.push_back({fits ? "a band too tall for the room below the page header of a page holding nothing else "
                                "made a page of the header alone before it"
                              : "a picture as tall as the room below every page's header fits on no page",
                         [height](ReportBuild& b) {
                             AddRecords(b, 1);
                             b.AddBand(btPageHeader, 0, 20)->Flags |= bfOnFirstPage;
                             b.AddMemo(10, 0, 100, 20, QStringLiteral("шапка"), QStringLiteral("PageHeader"));
                             b.AddBand(btMasterData, 100, 1500, QStringLiteral("Tall"));
                             TrpView* picture = b.page->AddObject(std::make_unique<TrpPictureView>());
                             picture->SetBounds(10, 100, 100, height);
                             picture->Name = QStringLiteral("Picture");
                         },
                         [fits](ReportBuild& b) {
                             if (fits) {
                                 ExpectBuilt(b);
                                 EXPECT_EQ(Placed(b, QStringLiteral("Picture")), QStringList{Place(0, 10, 20, 1048, "")});
                             } else {
                                 EXPECT_TRUE(b.context.ErrorText.endsWith(QStringLiteral(
                                     "Object Picture of band Tall fits on no page: it is 1049 high, a page has room for 1049")))
                                     << b.context.ErrorText.toStdString();
                             }
                         }});
    }

    // A band holding a sub-report whose page lists 4500 rows of 25: 42 rows fill a page
    // (42 x 25 = 1050, a 43rd would end at 1075), so 108 pages, the last holding the 6 rows
    // 4495 to 4500. What the sub-report prints is the parent page's content: its page breaks
    // are no breaks with nothing printed between them.
    cases.push_back({"a sub-report longer than a hundred pages ended the build as a band that never fits",
                     [](ReportBuild& b) {
                         b.AddBand(btMasterData, 0, 30)->FormatText = QStringLiteral("1");
                         auto* sub = static_cast<TrpSubReportView*>(b.page->AddObject(std::make_unique<TrpSubReportView>()));
                         sub->SetBounds(0, 0, 300, 30);
                         sub->SubPageIndex = 1;
                         TrpPage* target = b.NewPage();
                         b.AddBand(target, btMasterData, 0, 25)->FormatText = QStringLiteral("4500");
                         b.AddMemo(target, 10, 0, 100, 25, QStringLiteral("[LINE#]"), QStringLiteral("Line"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         ASSERT_EQ(b.PageCount(), 108);
                         EXPECT_EQ(b.Texts(QStringLiteral("Line")).size(), 4500);
                         QStringList last;
                         for (int line = 4495; line <= 4500; ++line)
                             last << Place(107, 10, (line - 4495) * 25, 25, QString::number(line));
                         EXPECT_EQ(Placed(b, QStringLiteral("Line")).mid(4494), last);
                     }});

    // A cross table of three silos by three columns, cell = temperature x 10 + column:
    //   -2: -19 -18 -17;  5: 51 52 53;  1: 11 12 13.
    // The Master footer's row totals each column (43, 46, 49); both its corners, under the
    // Cross header and under the Cross footer, total the whole table: sum 138, minimum -19,
    // maximum 53, 9 cells, mean 138 / 9 = 15.333.
    cases.push_back({"the corners of a Cross footer's and a Cross header's column in a footer row printed "
                     "a value of the data set past its last record, or nothing",
                     [](ReportBuild& b) {
                         for (auto [silo, temp] : std::vector<std::pair<const char*, double>>{{"А", -2}, {"Б", 5}, {"В", 1}})
                             b.AddRow(QString::fromUtf8(silo), temp);
                         b.AddBand(btMasterData, 0, 20, QStringLiteral("Rows"));
                         const QString cell = QStringLiteral("[tbSilo.Temp] * 10 + [COLUMN#]");
                         const QString totals =
                             QStringLiteral("[SUM(%1)]/[MIN(%1)]/[MAX(%1)]/[COUNT()]/[FORMATFLOAT('0.000', AVG(%1))]").arg(cell);
                         const struct {
                             int type, left, width;
                             QString row;
                         } crosses[] = {
                             {btCrossHeader, 0, 100, QStringLiteral("[tbSilo.Silo]")},
                             {btCrossData, 100, 150, QStringLiteral("[%1]").arg(cell)},
                             {btCrossFooter, 250, 150, QStringLiteral("[SUM(%1)]").arg(cell)},
                         };
                         for (const auto& cross : crosses) {
                             TrpBandView* band = b.AddBand(cross.type, 0, 20);
                             band->SetBounds(cross.left, 0, cross.width, 20);
                             if (cross.type == btCrossData)
                                 band->FormatText = QStringLiteral("3");
                             const int width = cross.width - 20;   // inside the cross band
                             b.AddMemo(cross.left + 10, 0, width, 20, cross.row, QStringLiteral("Cell%1").arg(cross.type));
                             b.AddMemo(cross.left + 10, 40, width, 20, totals, QStringLiteral("Total%1").arg(cross.type));
                         }
                         b.AddBand(btMasterFooter, 40, 20, QStringLiteral("Totals"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(b.Texts(QStringLiteral("Cell%1").arg(btCrossFooter)), (QStringList{"-54", "156", "36"}));
                         EXPECT_EQ(b.Texts(QStringLiteral("Total%1").arg(btCrossData)),
                                   (QStringList{"43/-19/51/3/14.333", "46/-18/52/3/15.333", "49/-17/53/3/16.333"}));
                         const QStringList corner{"138/-19/53/9/15.333"};
                         EXPECT_EQ(b.Texts(QStringLiteral("Total%1").arg(btCrossHeader)), corner);
                         EXPECT_EQ(b.Texts(QStringLiteral("Total%1").arg(btCrossFooter)), corner);
                     }});
    // A cross table on a master band that may split, one record: the row fits, and its cells
    // print beside it as on any band, the header's at 10, the two data cells' at 110 and 260
    // (cells of 150 from 100), the footer's at 410.
    cases.push_back({"a band that may split printed none of its cross table's cells",
                     [](ReportBuild& b) {
                         b.AddRow(QStringLiteral("А"), 0);
                         b.AddBand(btMasterData, 0, 20)->Flags |= bfBreaked;
                         AddCrossBands(b, 2, QStringLiteral("D[COLUMN#]"), QStringLiteral("F"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(Placed(b, QStringLiteral("Header")), QStringList{Place(0, 10, 0, 20, "H")});
                         EXPECT_EQ(Placed(b, QStringLiteral("Data")),
                                   (QStringList{Place(0, 110, 0, 20, "D1"), Place(0, 260, 0, 20, "D2")}));
                         EXPECT_EQ(Placed(b, QStringLiteral("Footer")), QStringList{Place(0, 410, 0, 20, "F")});
                     }});

    // A stretched master band measures its cross cells before it prints them; a reading of -2
    // in three columns prints -2 x 10 + 1, + 2, + 3 = -19, -18, -17 and the row's total -54.
    cases.push_back({"a stretched band's cross table printed its first cell with the last column's number and "
                     "its row total as 0",
                     [](ReportBuild& b) {
                         b.AddRow(QStringLiteral("А"), -2);
                         b.AddBand(btMasterData, 0, 20)->Flags |= kFlagStretched;
                         const QString cell = QStringLiteral("[tbSilo.Temp] * 10 + [COLUMN#]");
                         AddCrossBands(b, 3, QStringLiteral("[%1]").arg(cell), QStringLiteral("[SUM(%1)]").arg(cell));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(b.Texts(QStringLiteral("Data")), (QStringList{"-19", "-18", "-17"}));
                         EXPECT_EQ(b.Texts(QStringLiteral("Footer")), QStringList{"-54"});
                     }});

    // A title of 1060 leaves 11 of the page: the page header of 20 asked for on the first page
    // goes to the second, where the break that made it has printed it at 0; the record follows
    // at 20.
    cases.push_back({"a page header that the title pushed to the next page printed twice there",
                     [](ReportBuild& b) {
                         b.AddRow(QStringLiteral("А"), 0);
                         b.AddBand(btReportTitle, 0, 1060);
                         b.AddMemo(10, 0, 300, 20, QStringLiteral("Отчёт"), QStringLiteral("Title"));
                         b.AddBand(btPageHeader, 1100, 20)->Flags |= bfOnFirstPage;
                         b.AddMemo(10, 1100, 300, 20, QStringLiteral("Стр. [PAGE#]"), QStringLiteral("Header"));
                         b.AddBand(btMasterData, 1200, 20);
                         b.AddMemo(10, 1200, 300, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(Placed(b, QStringLiteral("Header")), QStringList{Place(1, 10, 0, 20, "Стр. 2")});
                         EXPECT_EQ(Placed(b, QStringLiteral("Cell")), QStringList{Place(1, 10, 20, 20, "А")});
                     }});

    // One group of 42 records of 25 below its header of 20 fills the page to 1070; the master
    // footer of 20 goes to the next page. The group has ended there: its header, repeated on
    // new pages, does not print above the footer.
    cases.push_back({"a master footer moved to a new page repeated the header of a group that had ended",
                     [](ReportBuild& b) {
                         for (int i = 0; i < 42; ++i)
                             b.AddRow(QStringLiteral("А"), 1);
                         AddRepeatingGroupHeader(b, 0);
                         b.AddBand(btMasterData, 30, 25);
                         b.AddMemo(10, 30, 300, 25, QStringLiteral("[tbSilo.Temp]"), QStringLiteral("Cell"));
                         b.AddBand(btMasterFooter, 60, 20);
                         b.AddMemo(10, 60, 300, 20, QStringLiteral("Итого [SUM([tbSilo.Temp])]"), QStringLiteral("Total"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(Placed(b, QStringLiteral("Group")), QStringList{Place(0, 10, 0, 20, "Силос А")});
                         EXPECT_EQ(Placed(b, QStringLiteral("Total")), QStringList{Place(1, 10, 0, 20, "Итого 42")});
                     }});

    // A title of 1200 is split: its second memo, at 1150, goes to the next page. No group has
    // begun then, so the group header that repeats on new pages prints once, before its record.
    cases.push_back({"a title's page break repeated a group header before the group began",
                     [](ReportBuild& b) {
                         b.AddRow(QStringLiteral("А"), 0);
                         SplitTitleAboveGroups(b);
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(b.Texts(QStringLiteral("Group")), QStringList{"Силос А"});
                         EXPECT_EQ(b.Texts(QStringLiteral("TitleEnd")), QStringList{"Конец"});
                     }});

    // The same over silos А and Б in a build of two passes: the second pass begins its groups
    // again, so the title's break repeats no header of the group the first pass ended with.
    {
        auto groups = std::make_shared<QStringList>();
        cases.push_back({"in a build of two passes, a title's page break repeated the group header the first "
                         "pass ended with",
                         [groups](ReportBuild& b) {
                             b.AddRow(QStringLiteral("А"), 0);
                             b.AddRow(QStringLiteral("Б"), 0);
                             SplitTitleAboveGroups(b);
                             b.report->TwoPass = true;
                             b.report->ShowProgress = false;
                             EXPECT_TRUE(b.report->BuildReportPages());
                             *groups = b.Texts(QStringLiteral("Group"));
                         },
                         [groups](ReportBuild&) { EXPECT_EQ(*groups, (QStringList{"Силос А", "Силос Б"})); }});
    }

    // A title of 400 holds a sub-report of 50 rows of 25 at its top; a Column footer of 30
    // keeps 1071 - 30 = 1041 for them: rows 1 to 41 (to 1025) on the first page, the Column
    // footer below them at 1025; rows 42 to 50 at 0 to 225 on the second, where the title ends
    // with them, the Column footer at 225 and the summary below it at 255.
    cases.push_back({"sub-report rows printed into the Column footer's room, the Column footer over them at the "
                     "band's top, and the band took its whole height again on the page they ended",
                     [](ReportBuild& b) {
                         AddSubReportTitle(b, 400, 50);
                         b.AddBand(btColumnFooter, 1000, 30);
                         b.AddMemo(10, 1000, 100, 30, QStringLiteral("колонка"), QStringLiteral("ColumnFooter"));
                         b.AddBand(btReportSummary, 1100, 20);
                         b.AddMemo(10, 1100, 100, 20, QStringLiteral("итог"), QStringLiteral("Summary"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         ASSERT_EQ(b.PageCount(), 2);
                         const QStringList rows = Placed(b, QStringLiteral("Row"));
                         ASSERT_EQ(rows.size(), 50);
                         EXPECT_EQ(rows[40], Place(0, 410, 1000, 25, "41"));
                         EXPECT_EQ(rows[41], Place(1, 410, 0, 25, "42"));
                         EXPECT_EQ(Placed(b, QStringLiteral("ColumnFooter")),
                                   (QStringList{Place(0, 10, 1025, 30, "колонка"), Place(1, 10, 225, 30, "колонка")}));
                         EXPECT_EQ(Placed(b, QStringLiteral("Summary")), QStringList{Place(1, 10, 255, 20, "итог")});
                     }});

    // The same title of 100, allowed to split, with 3 rows (to 75): it takes its height of 100
    // once, and the summary follows at 100.
    cases.push_back({"a band that may split added its height again below its sub-reports' rows",
                     [](ReportBuild& b) {
                         AddSubReportTitle(b, 100, 3)->Flags |= bfBreaked;
                         b.AddBand(btReportSummary, 1100, 20);
                         b.AddMemo(10, 1100, 100, 20, QStringLiteral("итог"), QStringLiteral("Summary"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(Placed(b, QStringLiteral("Summary")), QStringList{Place(0, 10, 100, 20, "итог")});
                     }});

    // A Column header of 20, 41 records of 25 (to 1045), the Column footer of 20 at 1045: the
    // summary of 20 does not fit below it and starts the second page, at its top, with neither
    // Column header nor Column footer there.
    cases.push_back({"the page the report summary moved to had a Column header and no Column footer",
                     [](ReportBuild& b) {
                         AddRecords(b, 41);
                         b.AddBand(btColumnHeader, 0, 20);
                         b.AddMemo(10, 0, 100, 20, QStringLiteral("шапка"), QStringLiteral("ColumnHeader"));
                         b.AddBand(btMasterData, 30, 25);
                         b.AddMemo(10, 30, 100, 25, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
                         b.AddBand(btColumnFooter, 60, 20);
                         b.AddMemo(10, 60, 100, 20, QStringLiteral("колонка"), QStringLiteral("ColumnFooter"));
                         b.AddBand(btReportSummary, 90, 20);
                         b.AddMemo(10, 90, 100, 20, QStringLiteral("итог"), QStringLiteral("Summary"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(Placed(b, QStringLiteral("ColumnHeader")), QStringList{Place(0, 10, 0, 20, "шапка")});
                         EXPECT_EQ(Placed(b, QStringLiteral("ColumnFooter")),
                                   QStringList{Place(0, 10, 1045, 20, "колонка")});
                         EXPECT_EQ(Placed(b, QStringLiteral("Summary")), QStringList{Place(1, 10, 0, 20, "итог")});
                     }});

    // A master footer that starts a new page after it, as the report's last band: the new page
    // would hold nothing of the report's body, and is not made.
    cases.push_back({"the report's last band, starting a new page after it, left an empty page",
                     [](ReportBuild& b) {
                         AddRecords(b, 2);
                         b.AddBand(btMasterData, 0, 20);
                         b.AddMemo(10, 0, 100, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
                         b.AddBand(btMasterFooter, 30, 20)->Flags |= bfFormNewPage;
                         b.AddMemo(10, 30, 100, 20, QStringLiteral("итог"), QStringLiteral("Total"));
                         b.AddBand(btPageFooter, 100, 20)->Flags |= bfOnFirstPage | bfOnLastPage;
                         b.AddMemo(10, 100, 100, 20, QStringLiteral("стр. [PAGE#]"), QStringLiteral("PageFooter"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         EXPECT_EQ(b.PageCount(), 1);
                         EXPECT_EQ(Placed(b, QStringLiteral("Total")), QStringList{Place(0, 10, 40, 20, "итог")});
                     }});

    // Two page columns inside margins of 50 at top and bottom and 20 at the sides: a title of
    // 2000 is split, its memo at 1100 cut from the room 1021 - 50 - 2 = 969 and moved up by
    // it, to 131 below the second column's top, the top margin: 181.
    cases.push_back({"a title that ran into the next page column went on there above the top margin",
                     [](ReportBuild& b) {
                         b.page->MarginsOn = true;
                         b.page->TopMargin = b.page->BottomMargin = 50;
                         b.page->LeftMargin = b.page->RightMargin = 20;
                         b.page->Columns = 2;
                         b.page->ColumnGap = 20;
                         b.AddBand(btReportTitle, 0, 2000);
                         b.AddMemo(10, 0, 100, 20, QStringLiteral("Отчёт"), QStringLiteral("Title"));
                         b.AddMemo(10, 1100, 100, 20, QStringLiteral("Конец"), QStringLiteral("TitleEnd"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         const std::vector<TPrinted> printed = b.Printed(0);
                         const auto end = std::find_if(printed.begin(), printed.end(), [](const TPrinted& object) {
                             return object.Name == QLatin1String("TitleEnd");
                         });
                         ASSERT_NE(end, printed.end());
                         EXPECT_EQ(end->Top, 181);
                     }});

    // A master band of 20 below a title, its cross row of a header (0-100) and five cells of 150
    // from 100: four fit the page's 758 (to 700), the fifth and the footer go on at 0 and 150 of
    // the page the row adds, at the row's place. That page has the page header of 20 at its top
    // when the row, below the title, leaves it room (a title of 20, not of 19); page 1 has none
    // (not asked for the first page). Page footers of 20 at 1051, by their flags: a page the row
    // adds is the report's last or a middle one like any other.
    const struct {
        int title, records;
        uint16_t footerFlags;
        std::vector<int> headers, footers;   // pages that have them, from 0
        const char* fault;
    } wideRows[] = {
        {20, 1, bfOnFirstPage, {1}, {0},
         "a page a cross row added had its page header at the row's place, and the Page footer the last-page "
         "flag does not allow"},
        {19, 1, bfOnFirstPage | bfOnLastPage, {}, {0, 1},
         "a page a cross row added had its page header over the row, which left it no room"},
        // The master band starts a new page: record 2 at 20 on page 2 (below its header), its
        // row going on to page 3; pages 1 and 2 are the middle ones.
        {20, 2, 0, {1, 2, 3}, {1, 2}, "the page a cross row added before a page break missed its Page footer"},
    };
    for (const auto& wide : wideRows)
        cases.push_back({wide.fault,
                         [wide](ReportBuild& b) {
                             AddRecords(b, wide.records);
                             b.AddBand(btReportTitle, 100, wide.title);
                             TrpBandView* rows = b.AddBand(btMasterData, 0, 20);
                             if (wide.records > 1)
                                 rows->Flags |= bfFormNewPage;
                             AddCrossBands(b, 5, QStringLiteral("[tbSilo.Silo]:[COLUMN#]"), QStringLiteral("F[tbSilo.Silo]"));
                             const uint16_t pageFlags = bfOnFirstPage | bfOnLastPage;
                             b.AddBand(btPageHeader, 200, 20)->Flags &= uint16_t(~bfOnFirstPage);
                             b.AddMemo(10, 200, 100, 20, QStringLiteral("PH[PAGE#]"), QStringLiteral("PageHeader"));
                             TrpBandView* footer = b.AddBand(btPageFooter, 300, 20);
                             footer->Flags = uint16_t((footer->Flags & ~pageFlags) | wide.footerFlags);
                             b.AddMemo(10, 300, 100, 20, QStringLiteral("PF[PAGE#]"), QStringLiteral("PageFooter"));
                         },
                         [wide](ReportBuild& b) {
                             ExpectBuilt(b);
                             ASSERT_EQ(b.PageCount(), 2 * wide.records);
                             QStringList data, footers, headers, pageFooters;
                             for (int r = 1; r <= wide.records; ++r) {
                                 const int page = 2 * (r - 1), top = r == 1 ? wide.title : 20;
                                 for (int column = 1; column <= 4; ++column)
                                     data << Place(page, 110 + 150 * (column - 1), top, 20, QStringLiteral("%1:%2").arg(r).arg(column));
                                 data << Place(page + 1, 10, top, 20, QStringLiteral("%1:5").arg(r));
                                 footers << Place(page + 1, 160, top, 20, QStringLiteral("F%1").arg(r));
                             }
                             for (int page : wide.headers)
                                 headers << Place(page, 10, 0, 20, QStringLiteral("PH%1").arg(page + 1));
                             for (int page : wide.footers)
                                 pageFooters << Place(page, 10, 1051, 20, QStringLiteral("PF%1").arg(page + 1));
                             EXPECT_EQ(Placed(b, QStringLiteral("Data")), data);
                             EXPECT_EQ(Placed(b, QStringLiteral("Footer")), footers);
                             EXPECT_EQ(Placed(b, QStringLiteral("PageHeader")), headers);
                             EXPECT_EQ(Placed(b, QStringLiteral("PageFooter")), pageFooters);
                         }});

    // A master band of 1200, taller than the page's 1071, is split where it stands: its own
    // memo at 0 (at 600 from the left) prints on the first part, whose room is 1071 - 2 = 1069.
    // Its cross row at 0 prints there too: the header's cell at 10, the data cells at 110 and
    // 260, the footer's at 410. A row at 1060 to 1080 is cut by the part's end and goes on whole
    // at the next page's top. The band ends below the row, at 20, so the second record, which
    // does not fit below it, starts a page of its own.
    for (int rowTop : {0, 1060}) {
        cases.push_back({"a band taller than a page printed none of its cross table's cells",
                         [rowTop](ReportBuild& b) {
                             AddRecords(b, 2);
                             b.AddBand(btMasterData, 0, 1200, QStringLiteral("Tall"));
                             b.AddMemo(600, 0, 100, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("Cell"));
                             AddCrossBands(b, 2, QStringLiteral("[tbSilo.Silo]:[COLUMN#]"), QStringLiteral("F"), rowTop);
                         },
                         [rowTop](ReportBuild& b) {
                             ExpectBuilt(b);
                             const bool cut = rowTop > 0;
                             ASSERT_EQ(b.PageCount(), cut ? 4 : 2);
                             QStringList cells, headers, data, footers;
                             for (int r = 1; r <= 2; ++r) {
                                 const int page = cut ? 2 * (r - 1) : r - 1, rowPage = cut ? page + 1 : page;
                                 cells << Place(page, 600, 0, 20, QString::number(r));
                                 headers << Place(rowPage, 10, 0, 20, QStringLiteral("H"));
                                 data << Place(rowPage, 110, 0, 20, QStringLiteral("%1:1").arg(r))
                                      << Place(rowPage, 260, 0, 20, QStringLiteral("%1:2").arg(r));
                                 footers << Place(rowPage, 410, 0, 20, QStringLiteral("F"));
                             }
                             EXPECT_EQ(Placed(b, QStringLiteral("Cell")), cells);
                             EXPECT_EQ(Placed(b, QStringLiteral("Header")), headers);
                             EXPECT_EQ(Placed(b, QStringLiteral("Data")), data);
                             EXPECT_EQ(Placed(b, QStringLiteral("Footer")), footers);
                         }});
    }

    // The same band with a cross row as tall as the room a page gives, 1069: it fits on no
    // page, and the build ends at once naming its first object; a row of 1068 prints on the
    // first part.
    for (int height : {1068, 1069}) {
        const bool fits = height == 1068;
        cases.push_back({fits ? "a cross row as tall as a page's room but one prints with the first part of its band"
                              : "a cross row taller than any page's room fits on no page",
                         [height](ReportBuild& b) {
                             AddRecords(b, 1);
                             b.AddBand(btMasterData, 0, 1200, QStringLiteral("Tall"));
                             AddCrossBands(b, 1, QStringLiteral("D"), QStringLiteral("F"), 0, height);
                         },
                         [fits](ReportBuild& b) {
                             if (fits) {
                                 ExpectBuilt(b);
                                 EXPECT_EQ(Placed(b, QStringLiteral("Data")), QStringList{Place(0, 110, 0, 1068, "D")});
                             } else {
                                 EXPECT_TRUE(b.context.ErrorText.endsWith(QStringLiteral(
                                     "Object Header of band Tall fits on no page: it is 1069 high, a page has room for 1069")))
                                     << b.context.ErrorText.toStdString();
                             }
                         }});
    }

    // A title of 1200, taller than the page's 1071, holds a sub-report of 3 rows of 25 at its
    // top and is split: its memo at 0 prints on the first page; the room there is
    // 1071 - 0 - 2 = 1069, so its memo at 1150 goes on at 1150 - 1069 = 81 of the second page,
    // where the title's last part ends at 81 + 20 = 101. The rows print beside that part, at
    // 0, 25 and 50, once each; the summary follows at max(101, 75) = 101.
    cases.push_back({"a band split across pages printed none of its sub-report's rows",
                     [](ReportBuild& b) {
                         AddSubReportTitle(b, 1200, 3);
                         b.AddMemo(10, 0, 300, 20, QStringLiteral("Отчёт"), QStringLiteral("Title"));
                         b.AddMemo(10, 1150, 300, 20, QStringLiteral("Конец"), QStringLiteral("TitleEnd"));
                         b.AddBand(btReportSummary, 1300, 20);
                         b.AddMemo(10, 1300, 100, 20, QStringLiteral("итог"), QStringLiteral("Summary"));
                     },
                     [](ReportBuild& b) {
                         ExpectBuilt(b);
                         ASSERT_EQ(b.PageCount(), 2);
                         EXPECT_EQ(Placed(b, QStringLiteral("Title")), QStringList{Place(0, 10, 0, 20, "Отчёт")});
                         EXPECT_EQ(Placed(b, QStringLiteral("TitleEnd")), QStringList{Place(1, 10, 81, 20, "Конец")});
                         EXPECT_EQ(Placed(b, QStringLiteral("Row")),
                                   (QStringList{Place(1, 410, 0, 25, "1"), Place(1, 410, 25, 25, "2"),
                                                Place(1, 410, 50, 25, "3")}));
                         EXPECT_EQ(Placed(b, QStringLiteral("Summary")), QStringList{Place(1, 10, 101, 20, "итог")});
                     }});

    return cases;
}

}  // namespace

TEST(BandEngineRegressions, EachFaultStaysMended)
{
    for (const TRegressionCase& c : Cases()) {
        SCOPED_TRACE(c.fault);
        ReportBuild build;
        c.build(build);
        build.Build();
        c.check(build);
    }
}
