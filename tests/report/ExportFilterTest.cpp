// The export sequence a filter receives, the file it writes into (made whole or not at all),
// the filters' registration, and page ranges.
#include "ExportFixture.h"

#include <QDir>

#include "report/export/PageRange.h"
#include "report/export/RtfAdvExport.h"
#include "report/objects/ObjectRegistry.h"
#include "report/runtime/ReportErrors.h"

namespace {

// Records the calls it gets; writes one line a page; can refuse its dialog or fail on a page.
class RecordingFilter : public TrpExportFilter {
public:
    int ShowModal() override
    {
        calls << QStringLiteral("ShowModal");
        return dialogResult;
    }
    void OnBeginDoc() override { calls << QStringLiteral("BeginDoc"); }
    void OnEndDoc() override { calls << QStringLiteral("EndDoc"); }
    void OnBeginPage() override { calls << QStringLiteral("BeginPage"); }
    void OnEndPage() override
    {
        calls << QStringLiteral("EndPage");
        if (PageIndex == failOnPage)
            throw EWriteError(QStringLiteral("disk full"));
        Write("page\n");
    }
    void OnData(int, int, TrpView* view) override { calls << QStringLiteral("Data ") + view->Name; }
    void OnText(const TrpRect&, int, int, const QString& text, int, TrpView*) override
    {
        calls << QStringLiteral("Text ") + text;
        if (text == failOnText)
            throw EWriteError(QStringLiteral("text refused"));
    }

    QStringList calls;
    int dialogResult = mrOk;
    int failOnPage = -1;
    QString failOnText;
};

class ExportFilter : public ExportFixture {
protected:
    ExportFilter()
    {
        for (int page = 0; page < 3; ++page)
            Print(AddPage(), {10, 10, 100, 20, {QStringLiteral("t%1").arg(page)}},
                  [page](TrpMemoView& memo) { memo.Name = QStringLiteral("m%1").arg(page); });
    }

    QStringList FilesInFolder() const { return QDir(folder.path()).entryList(QDir::Files); }

    RecordingFilter filter;
};

TEST_F(ExportFilter, EachPageGoesThroughTheFilterInOrder)
{
    QStringList after;
    filter.OnBeforeExport = [](QString& fileName, bool&) { fileName += QStringLiteral(".txt"); };
    filter.OnAfterExport = [&after](const QString& fileName) { after << fileName; };
    int progress = 0;
    ASSERT_TRUE(filter.BeginExport(Path()));
    filter.WriteExport(Pages(), [&progress](int pageNo) { progress = pageNo; });

    QStringList expected{QStringLiteral("ShowModal"), QStringLiteral("BeginDoc")};
    for (int page = 0; page < 3; ++page)
        expected << QStringLiteral("BeginPage") << QStringLiteral("Data m%1").arg(page)
                 << QStringLiteral("Text t%1").arg(page) << QStringLiteral("EndPage");
    expected << QStringLiteral("EndDoc");
    EXPECT_EQ(filter.calls, expected);
    EXPECT_EQ(progress, 3);
    // The name the handler chose is the file made and the one reported.
    EXPECT_EQ(after, QStringList{Path() + QStringLiteral(".txt")});
    EXPECT_EQ(Contents(Path() + QStringLiteral(".txt")), QByteArray("page\npage\npage\n"));
    EXPECT_EQ(FilesInFolder(), QStringList{QStringLiteral("out.txt")});
    EXPECT_EQ(report.CurrentFilter, nullptr);
    EXPECT_EQ(filter.Stream, nullptr);
}

TEST_F(ExportFilter, StoppedBeforeTheFileNothingIsMade)
{
    const struct {
        const char* name;
        bool go;
        int dialog;
        QStringList calls;
    } cases[] = {
        {"before-export handler", false, mrOk, {}},
        {"dialog cancelled", true, mrCancel, {"ShowModal"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingFilter stopped;
        bool after = false;
        stopped.OnBeforeExport = [&c](QString&, bool& go) { go = c.go; };
        stopped.OnAfterExport = [&after](const QString&) { after = true; };
        stopped.dialogResult = c.dialog;
        EXPECT_FALSE(Export(stopped, Path()));
        EXPECT_EQ(stopped.calls, c.calls);
        EXPECT_FALSE(after);
        EXPECT_TRUE(FilesInFolder().isEmpty());
    }
}

TEST_F(ExportFilter, AFailedExportLeavesTheOldFileAndSaysWhy)
{
    QFile old(Path());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old report");
    old.close();
    bool after = false;
    filter.OnAfterExport = [&after](const QString&) { after = true; };
    filter.failOnPage = 1;
    try {
        Export(filter, Path());
        ADD_FAILURE() << "exported";
    } catch (const EWriteError& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()),
                  QStringLiteral("Не удалось записать файл \"%1\": disk full").arg(Path()));
    }
    EXPECT_FALSE(after);
    EXPECT_EQ(Contents(Path()), QByteArray("old report"));
    EXPECT_EQ(FilesInFolder(), QStringList{QStringLiteral("out")});
    EXPECT_EQ(report.CurrentFilter, nullptr);

    // A folder that does not exist: the file cannot be made.
    filter.failOnPage = -1;
    const QString missing = Path(QStringLiteral("no/such/folder.txt"));
    try {
        Export(filter, missing);
        ADD_FAILURE() << "exported";
    } catch (const EWriteError& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith(QStringLiteral("Не удалось записать файл \"%1\": ").arg(missing)))
            << error.what();
    }
}

TEST_F(ExportFilter, AnObjectThatFailsLeavesNothingPointingAtIt)
{
    // The memo being exported is the run's current object while it lays its text out; it is
    // freed as the failure passes, and the run must not go on pointing at it.
    filter.failOnText = QStringLiteral("t1");
    EXPECT_THROW(Export(filter, Path()), EWriteError);
    EXPECT_EQ(context.CurrentView, nullptr);
    EXPECT_EQ(report.CurrentFilter, nullptr);
}

TEST_F(ExportFilter, ObjectsWhollyOffThePageAreNotHandedOver)
{
    // A4 is 758 x 1071 page units; an object touching the page at an edge is on it.
    report.EMFPages->Clear();
    const int page = AddPage();
    const struct {
        const char* name;
        QRect box;
    } objects[] = {
        {"inside", {10, 10, 100, 20}},   {"across the right edge", {700, 10, 200, 20}},
        {"touching the left edge", {-100, 10, 100, 20}}, {"right of the page", {759, 10, 100, 20}},
        {"below the page", {10, 1072, 100, 20}}, {"above the page", {10, -50, 100, 20}},
        {"far away", {900000, 900000, 100000, 100000}},
    };
    for (const auto& o : objects)
        Print(page, {o.box.x(), o.box.y(), o.box.width(), o.box.height(), {}},
              [&o](TrpMemoView& memo) { memo.Name = QString::fromUtf8(o.name); });
    ASSERT_TRUE(Export(filter, Path()));
    EXPECT_EQ(filter.calls.filter(QStringLiteral("Data ")),
              (QStringList{"Data inside", "Data across the right edge", "Data touching the left edge"}));
}

TEST_F(ExportFilter, RunsUnderTheReportsExportButRefusesASecondOne)
{
    // The report's export makes its filter current before the file is written.
    report.CurrentFilter = &filter;
    ASSERT_TRUE(Export(filter, Path()));
    EXPECT_EQ(report.CurrentFilter, &filter);

    RecordingFilter other;
    EXPECT_THROW(Export(other, Path(QStringLiteral("second"))), EWriteError);
    EXPECT_EQ(other.calls, QStringList{QStringLiteral("ShowModal")});
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("second"))));
    report.CurrentFilter = nullptr;
}

TEST_F(ExportFilter, OneEntryPerFilterClass)
{
    const auto rtfEntries = [] {
        return std::count_if(ExportFilterTable().begin(), ExportFilterTable().end(), [](const TrpExportFilterInfo& info) {
            return info.Description == QStringLiteral("Rich text file advanced (*.rtf)") &&
                   info.FileMask == QStringLiteral("*.rtf");
        });
    };
    {
        TrpRtfAdvExport first(context);
        {
            TrpRtfAdvExport second(context);
            EXPECT_EQ(rtfEntries(), 1);
        }
        // Freeing either removes the class's entry.
        EXPECT_EQ(rtfEntries(), 0);
    }
    EXPECT_EQ(rtfEntries(), 0);
}

TEST(PageRange, ReadsPagesAndRanges)
{
    const struct {
        const char* text;
        QList<int> pages;   // which of pages 1 to 15 are taken
    } cases[] = {
        {"", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"1,3,5-12", {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}},
        {" 2 - 4 , 15", {2, 3, 4, 15}},
        {"12-5", {}},
        {"0,16-2000000000", {}},
    };
    for (const auto& c : cases) {
        const TrpPageRange range(QString::fromUtf8(c.text));
        QList<int> pages;
        for (int page = 1; page <= 15; ++page)
            if (range.Contains(page))
                pages.append(page);
        EXPECT_EQ(pages, c.pages) << c.text;
        EXPECT_EQ(range.SelectsAny(15), !c.pages.isEmpty()) << c.text;
    }
    EXPECT_TRUE(TrpPageRange(QStringLiteral("16-2000000000")).Contains(1999999999));
    for (const char* bad : {"5-", "-5", "a", "1,,2", "1-3-5", "+1", "99999999999"})
        EXPECT_THROW(TrpPageRange(QString::fromUtf8(bad)), EConvertError) << bad;
}

} // namespace
