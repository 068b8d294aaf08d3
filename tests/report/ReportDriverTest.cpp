// The report driver: builds in one and two passes under the progress window (offscreen), the
// template restored after a build, failed and cancelled builds, exports of the pages the user
// sees, prepared-report files, a second work refused while one runs, a script that never ends.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "HoldingPreview.h"
#include "PageBuildFixture.h"
#include "report/engine/PreviewHost.h"
#include "report/export/ExportFilter.h"
#include "report/ui/ProgressForm.h"

namespace {

// The progress window as the program has it, recording its lines; it can press Cancel when a
// line appears, as a user's press would arrive in the events processed after the line.
class RecordingProgressForm : public TrpProgressForm {
public:
    using TrpProgressForm::TrpProgressForm;
    void SetFirstLine(const QString& text) override
    {
        TrpProgressForm::SetFirstLine(text);
        Lines << text;
        if (text == CancelAt)
            Button1->click();
    }
    QStringList Lines;
    QString CancelAt;
};

// Counts the calls of one export and writes a line per page.
class CountingFilter : public TrpExportFilter {
public:
    void OnBeginDoc() override { ++beginDoc; }
    void OnEndDoc() override { ++endDoc; }
    void OnBeginPage() override { ++beginPage; }
    void OnEndPage() override
    {
        ++endPage;
        Write("page\n");
    }
    void OnData(int, int, TrpView* view) override { names << view->Name; }
    int beginDoc = 0, endDoc = 0, beginPage = 0, endPage = 0;
    QStringList names;
};

}  // namespace

// Five records, two per page (bands of 400 on a 1071-unit page): three pages, each with a
// footer telling its number and the total.
class ReportDriver : public ::testing::Test, public ReportBuild {
protected:
    ReportDriver()
    {
        for (int i = 1; i <= 5; ++i)
            AddRow(QStringLiteral("С%1").arg(i), i);
        AddBand(btMasterData, 0, 400, QStringLiteral("Row"));
        AddMemo(0, 0, 200, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("fSilo"));
        AddBand(btPageFooter, 1000, 30, QStringLiteral("Footer"));
        AddMemo(0, 1000, 200, 20, QStringLiteral("[PAGE#] / [TOTALPAGES]"), QStringLiteral("fPage"));
        report->Title = QStringLiteral("Протокол");
        context.MessageBox = [this](const QString& text, const QString&, int) {
            boxes << text;
            return 1;
        };
    }

    TrpMemoView* Memo(const QString& name) { return static_cast<TrpMemoView*>(report->FindObject(name)); }

    QStringList boxes;
};

TEST_F(ReportDriver, OneAndTwoPassBuildsUnderTheProgressWindow)
{
    RecordingProgressForm form(context);
    ASSERT_TRUE(report->BuildReportPages());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preparing report - Протокол"));
    EXPECT_EQ(PageCount(), 3);
    EXPECT_EQ(context.TotalPages, 0);
    EXPECT_EQ(form.Lines.first(), QStringLiteral("Processing page:  1"));
    EXPECT_TRUE(form.Lines.contains(QStringLiteral("Processing page:  3")));
    for (const QString& line : form.Lines)
        EXPECT_FALSE(line.contains(QStringLiteral("from"))) << line.toStdString();
    EXPECT_EQ(Texts(QStringLiteral("fPage")), (QStringList{"1 / 0", "2 / 0", "3 / 0"}));

    report->TwoPass = true;
    form.Lines.clear();
    ASSERT_TRUE(report->BuildReportPages());
    EXPECT_EQ(PageCount(), 3) << "the first pass's pages are dropped";
    EXPECT_EQ(context.TotalPages, 3);
    EXPECT_EQ(Texts(QStringLiteral("fPage")), (QStringList{"1 / 3", "2 / 3", "3 / 3"}));
    const qsizetype final = form.Lines.indexOf(QStringLiteral("Processing page:  1"));
    ASSERT_GT(final, 0);
    EXPECT_EQ(form.Lines.first(), QStringLiteral("Performing 1st pass:  1"));
    for (qsizetype i = 0; i < final; ++i)
        EXPECT_TRUE(form.Lines[i].startsWith(QStringLiteral("Performing 1st pass:  "))) << form.Lines[i].toStdString();
    EXPECT_TRUE(form.Lines.contains(QStringLiteral("Processing page:  2 from 3")));
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ReportDriver, AChangeBeforeTheBuildStaysAndOneDuringItIsGone)
{
    Memo(QStringLiteral("fSilo"))->Memo = QStringList{QStringLiteral("Силос [tbSilo.Silo]")};
    Memo(QStringLiteral("fPage"))->ScriptLines = QStringList{QStringLiteral("Left := 300")};
    report->OnBeginDoc = [this] { Memo(QStringLiteral("fSilo"))->Width = 50; };
    report->PrinterName = QStringLiteral("TASKalfa 3050ci");   // not installed here
    ASSERT_TRUE(report->BuildReportPages());
    EXPECT_EQ(report->PrinterName, QStringLiteral("TASKalfa 3050ci"));
    EXPECT_EQ(Texts(QStringLiteral("fSilo")).first(), QStringLiteral("Силос С1"));
    EXPECT_EQ(Printed(0).back().Left, 300) << "the script moved the printed memo";
    EXPECT_EQ(Memo(QStringLiteral("fSilo"))->Memo.first(), QStringLiteral("Силос [tbSilo.Silo]"));
    EXPECT_EQ(Memo(QStringLiteral("fSilo"))->Width, 200);
    EXPECT_EQ(Memo(QStringLiteral("fPage"))->Left, 0);
    EXPECT_FALSE(Memo(QStringLiteral("fPage"))->PrintedForm) << "the template is back in its design form";
}

// After a build that fails, or whose dialog page is cancelled, no pages are left: neither the
// report nor the preview that showed the build before holds any, so no earlier build's pages can
// be shown, printed, exported or saved in its place.
TEST_F(ReportDriver, AFailedOrCancelledBuildLeavesNoPages)
{
    HoldingPreview preview;
    report->SetPreview(&preview);
    enum TSpoil { kError, kErrorUnderTheWindow, kDialogCancelled };
    for (const TSpoil spoil : {kError, kErrorUnderTheWindow, kDialogCancelled}) {
        SCOPED_TRACE(spoil);
        Memo(QStringLiteral("fSilo"))->Memo = QStringList{QStringLiteral("[tbSilo.Silo]")};
        report->ShowReport();
        ASSERT_EQ(preview.HeldCount(), 3) << "the good build is shown";
        const int connects = preview.connects;

        std::unique_ptr<TrpProgressForm> form;
        if (spoil == kErrorUnderTheWindow)
            form = std::make_unique<TrpProgressForm>(context);
        if (spoil == kDialogCancelled) {
            TrpPage* dialog = NewPage();
            dialog->Type = ptDialog;
            dialog->Script = QStringList{QStringLiteral("MODALRESULT := 2")};
        } else {
            Memo(QStringLiteral("fSilo"))->Memo = QStringList{QStringLiteral("[NoSuchName]")};
        }
        boxes.clear();
        report->ShowReport();
        EXPECT_EQ(preview.HeldCount(), 0) << "the preview shows no pages";
        EXPECT_EQ(preview.connects, connects + 1);
        EXPECT_EQ(PageCount(), 0);
        if (spoil == kDialogCancelled) {
            EXPECT_TRUE(boxes.isEmpty());
        } else {
            ASSERT_EQ(boxes.size(), 1);
            EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("An error occured during calculating\n[NoSuchName]")));
            EXPECT_TRUE(boxes[0].contains(QStringLiteral("Object: fSilo")));
        }
    }
}

// A failed build of a report the preview does not show leaves the preview alone.
TEST_F(ReportDriver, AFailedBuildOfAnotherReportLeavesThePreviewAlone)
{
    HoldingPreview preview;
    report->SetPreview(&preview);
    report->ShowReport();
    ASSERT_EQ(preview.HeldCount(), 3);
    ReportBuild other;
    other.report->SetPreview(&preview);
    other.context.MessageBox = [](const QString&, const QString&, int) { return 1; };
    other.AddRow(QStringLiteral("С1"), 1);
    other.AddBand(btMasterData, 0, 400);
    other.AddMemo(0, 0, 200, 20, QStringLiteral("[NoSuchName]"));
    EXPECT_FALSE(other.report->BuildReportPages());
    EXPECT_EQ(preview.HeldCount(), 3);
    EXPECT_EQ(preview.shown, report.get());
}

TEST_F(ReportDriver, CancelKeepsThePagesBuiltSoFarAndShowsThem)
{
    HoldingPreview preview;
    report->SetPreview(&preview);
    RecordingProgressForm form(context);
    form.CancelAt = QStringLiteral("Processing page:  2");
    report->ShowReport();
    EXPECT_TRUE(report->Terminated);
    EXPECT_EQ(preview.connects, 1);
    EXPECT_GE(preview.HeldCount(), 1);
    preview.ReleasePages();
    EXPECT_LT(Texts(QStringLiteral("fSilo")).size(), 5) << "the build stopped before the last record";
    EXPECT_TRUE(boxes.isEmpty());

    form.CancelAt = QStringLiteral("Performing 1st pass:  1");
    report->TwoPass = true;
    EXPECT_FALSE(report->BuildReportPages());
    EXPECT_EQ(PageCount(), 0) << "a cancelled first pass leaves nothing to show";
}

TEST_F(ReportDriver, ASecondWorkStartedDuringABuildIsRefused)
{
    CountingFilter filter;
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("inner.txt"));
    std::vector<bool> inner;
    bool printAsked = false;
    context.PdfFileDialog = [&](const QString&) {
        printAsked = true;
        return QString();
    };
    report->OnBeginPage = [&](int) {
        inner.push_back(report->BuildReportPages());
        inner.push_back(report->RunExport(filter, target));
        inner.push_back(report->PrintReportPages(QString(), 1, true, ppAll));
    };
    ASSERT_TRUE(report->BuildReportPages());
    EXPECT_EQ(PageCount(), 3);
    EXPECT_EQ(inner, std::vector<bool>(9, false));
    EXPECT_FALSE(printAsked);
    EXPECT_EQ(filter.beginDoc, 0);
    EXPECT_FALSE(QFile::exists(target));
}

TEST_F(ReportDriver, ExportsThePagesThePreviewShowsThroughTheFilter)
{
    QTemporaryDir dir;
    CountingFilter filter;
    QString after;
    filter.OnBeforeExport = [&](QString& name, bool&) { name = dir.filePath(QStringLiteral("renamed.txt")); };
    filter.OnAfterExport = [&](const QString& name) { after = name; };
    HoldingPreview preview;
    report->SetPreview(&preview);
    RecordingProgressForm form(context);
    report->ShowReport();
    ASSERT_EQ(preview.HeldCount(), 3);
    ASSERT_EQ(PageCount(), 0) << "the preview holds the pages";

    form.Lines.clear();
    EXPECT_TRUE(report->RunExport(filter, dir.filePath(QStringLiteral("asked.txt"))));
    EXPECT_EQ(after, dir.filePath(QStringLiteral("renamed.txt")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("asked.txt"))));
    QFile file(after);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("page\npage\npage\n"));
    EXPECT_EQ(filter.beginDoc, 1);
    EXPECT_EQ(filter.endDoc, 1);
    EXPECT_EQ(filter.beginPage, 3);
    EXPECT_EQ(filter.endPage, 3);
    EXPECT_EQ(filter.names.count(QStringLiteral("fSilo")), 5);
    EXPECT_TRUE(form.Lines.contains(QStringLiteral("Processing page:  3 from 3")));
    EXPECT_EQ(preview.HeldCount(), 3) << "shown again after the export";
    EXPECT_EQ(preview.shown, report.get());

    // The preview shows another report now: its pages are the ones exported, never rebuilt.
    ReportBuild other;
    other.AddRow(QStringLiteral("Другой"), 1);
    other.AddBand(btMasterData, 0, 40);
    other.AddMemo(0, 0, 200, 20, QStringLiteral("[tbSilo.Silo]"), QStringLiteral("fOther"));
    other.report->ShowProgress = false;
    other.report->SetPreview(&preview);
    other.report->ShowReport();
    ASSERT_EQ(preview.shown, other.report.get());
    filter.names.clear();
    filter.OnBeforeExport = nullptr;
    EXPECT_TRUE(report->RunExport(filter, dir.filePath(QStringLiteral("shown.txt"))));
    EXPECT_EQ(filter.names, QStringList{QStringLiteral("fOther")});
    EXPECT_EQ(preview.shown, other.report.get());
    EXPECT_EQ(preview.HeldCount(), 1);

    // A file that cannot be written raises, and the preview shows its pages again.
    EXPECT_THROW(report->RunExport(filter, dir.filePath(QStringLiteral("no/such/folder/x.txt"))), std::exception);
    EXPECT_EQ(preview.HeldCount(), 1);
    EXPECT_EQ(preview.shown, other.report.get());

    // A cancelled export makes no file.
    filter.OnBeforeExport = [](QString&, bool& go) { go = false; };
    EXPECT_FALSE(report->RunExport(filter, dir.filePath(QStringLiteral("none.txt"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.txt"))));
    EXPECT_EQ(preview.HeldCount(), 1);
}

TEST_F(ReportDriver, PreparedPagesGoToAFileAndComeBack)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("protocol.rpp"));
    report->ShowProgress = false;
    ASSERT_TRUE(report->BuildReportPages());
    EXPECT_TRUE(report->Rebuildable);
    report->SaveReportPages(file);

    TrpReport reopened(context);
    reopened.LoadReportPages(file);
    EXPECT_EQ(reopened.EMFPages->Count(), 3);
    EXPECT_FALSE(reopened.Rebuildable);
    EXPECT_THROW(reopened.LoadReportPages(dir.filePath(QStringLiteral("missing.rpp"))), std::exception);
    EXPECT_EQ(reopened.EMFPages->Count(), 3);
}

TEST_F(ReportDriver, AScriptThatNeverEndsIsStopped)
{
    Memo(QStringLiteral("fSilo"))->ScriptLines = QStringList{QStringLiteral("while 1 do begin end")};
    context.ReportInterpreter.MaxSteps = 100'000;
    report->ShowProgress = false;
    EXPECT_FALSE(report->BuildReportPages());
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("зациклился"))) << boxes[0].toStdString();

    // With the window the user's Cancel ends it long before the budget.
    context.ReportInterpreter.MaxSteps = std::numeric_limits<int64_t>::max();
    report->ShowProgress = true;
    TrpProgressForm form(context);
    QTimer::singleShot(50, form.Button1, &QPushButton::click);
    boxes.clear();
    EXPECT_FALSE(report->BuildReportPages());
    EXPECT_TRUE(report->Terminated);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(ReportDriver, AFirstPassOfManyPagesIsNoBandThatNeverFits)
{
    // The first pass writes no objects: its page breaks still follow printed bands.
    for (int i = 6; i <= 240; ++i)
        AddRow(QStringLiteral("С%1").arg(i), i);
    report->TwoPass = true;
    report->ShowProgress = false;
    ASSERT_TRUE(report->BuildReportPages()) << boxes.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(context.TotalPages, 120);
    EXPECT_EQ(PageCount(), 120);
}

TEST_F(ReportDriver, WithoutAnEmbeddedPreviewThePagesGoToAWindowOfTheirOwn)
{
    QStringList captions;
    context.ShowPreviewWindow = [&](TrpReport& shown, const QString& caption) {
        EXPECT_EQ(&shown, report.get());
        captions << caption;
    };
    report->ShowReportPages();
    EXPECT_TRUE(captions.isEmpty()) << "no pages, nothing shown";
    report->ShowProgress = false;
    report->ShowReport();
    EXPECT_EQ(captions, QStringList{QStringLiteral("Preview - Протокол")});
    EXPECT_EQ(PageCount(), 3);
}
