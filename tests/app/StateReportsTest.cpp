// The state reports built by the engine from the program's templates over a small board and
// shown in an embedded preview: the protocol's cells, header and pages, the two columns, the
// silo card, the export of the pages shown, reopening a saved report and printing to PDF.
#include "ScriptedModal.h"

#include "app/files/BackupCopy.h"
#include "app/main/ActionList.h"
#include "app/reports/CellTexts.h"
#include "app/reports/PreviewButtons.h"
#include "app/reports/PrinterSetup.h"
#include "app/reports/StateReports.h"
#include "base/Exception.h"
#include "report/engine/EMFPages.h"
#include "report/engine/PreviewHost.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"
#include "report/objects/ReportFont.h"
#include "report/objects/TextMeasure.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/RunContext.h"
#include "report/ui/SpeedButton.h"
#include "support/ScopedUmask.h"
#include "tests/app/StateReportBoard.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QSet>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <functional>
#include <memory>

namespace {

// The embedded preview: it holds the pages of the report it shows.
class HoldingPreview : public TrpPreviewHost {
public:
    void Connect(TrpReport& report) override
    {
        held = std::exchange(report.EMFPages, std::make_unique<TrpEMFPages>(report));
        shown = &report;
    }
    void ReleasePages() override
    {
        if (shown && held)
            shown->EMFPages = std::move(held);
    }
    TrpReport* ShownReport() const override { return shown; }

    std::unique_ptr<TrpEMFPages> held;
    TrpReport* shown = nullptr;
};

// One memo as a prepared page holds it.
struct TPrinted {
    QString Name;
    QString Text;   // its lines joined by "|"
    int Left = 0, Width = 0, Top = 0;
    TColor Fill = 0;
};

class StateReports : public ::testing::Test, public TStateReportBoard {
protected:
    explicit StateReports(int suspensions = 4) : TStateReportBoard(suspensions)
    {
        for (QAction** action : {&a.acPreview, &a.acPevewErr, &a.acPrevewSelTemp, &a.acPreviwSilBin, &a.acReport2Col,
                                 &a.acReportColor, &a.acColorPrint, &a.acSortBySilos, &a.acReportExportRTF,
                                 &a.acReportExportTXT, &a.acPrint, &a.miReportTimeManual}) {
            *action = new QAction(&owner);
            (*action)->setCheckable(true);
        }
        a.acSortBySilos->setChecked(true);
        TStateReportsWindow window;
        window.Window = &modal.Window;
        window.Settings = &Settings;
        window.Actions = a;
        window.Board = [this] { return Board(); };
        window.ChosenPoll = [this] { return chosen; };
        window.AirSensor = [] { return nullptr; };
        window.ShowPreviewPage = [this] { ++pagesShown; };
        reports = std::make_unique<TStateReports>(context, window);
        reports->SetPreview(&preview);
        reports->InstallActions(actions);
        chosen = Poll;
    }

    int PageCount() const { return preview.held ? preview.held->Count() : 0; }

    std::vector<TPrinted> Printed(int page) const
    {
        std::vector<TPrinted> objects;
        TrpEMFPages& pages = *preview.held;
        pages.RestoreObjects(page);
        for (const auto& view : pages.Page(page).LivePage->Objects) {
            QString text = view->Memo.join(QLatin1Char('|'));
            text.remove(kParagraphEnd);
            objects.push_back({view->Name, text.trimmed(), view->Left, view->Width, view->Top, view->FillColor});
        }
        pages.ReleaseObjects(page);
        return objects;
    }

    // The memos of that name over every page, in order.
    std::vector<TPrinted> Memos(const QString& name) const
    {
        std::vector<TPrinted> found;
        for (int page = 0; page < PageCount(); ++page)
            for (const TPrinted& object : Printed(page))
                if (object.Name == name)
                    found.push_back(object);
        return found;
    }
    QStringList Texts(const QString& name) const
    {
        QStringList texts;
        for (const TPrinted& memo : Memos(name))
            texts << memo.Text;
        return texts;
    }

    TScriptedModal modal;
    TrpRunContext context;
    QObject owner;
    TStateReportActions a;
    TActionList actions;
    HoldingPreview preview;
    std::unique_ptr<TStateReports> reports;
    std::optional<TTITPoint> chosen;
    int pagesShown = 0;
};

TEST_F(StateReports, ProtocolCellsShowTheirTextsAndColours)
{
    Settings.CheckT1 = 30;
    Settings.CheckT2 = 40;
    Settings.MaxT = 50;
    Settings.Precision = 1;
    Settings.PrintColorCheckT1 = 0x000011;
    Settings.PrintColorCheckT2 = 0x000022;
    Settings.PrintColorMaxT = 0x000033;
    Settings.PrintColorKz = 0x000044;
    Settings.PrintColorX = 0x000055;
    const double row1[] = {-999, -36, -36.5, 70, 70.5, 45};
    for (int k = 0; k < 6; ++k)
        Reading(0, k, row1[k]);
    Reading(1, 0, 55);   // row 2: over the maximum, the other cells empty
    a.acColorPrint->setChecked(true);
    actions.Execute(a.acPreview);
    EXPECT_TRUE(a.acPreview->isChecked());
    EXPECT_EQ(pagesShown, 1);
    struct Cell {
        QString text;
        TColor fill;
    };
    const Cell expected[2][6] = {
        {{"", kNoReadingColour}, {"-36.0", kPlainCellColour}, {"КЗ", 0x000044}, {"70.0", 0x000033},
         {"X", 0x000055}, {"45.0", 0x000022}},
        // Empty cells are white, not the colour of the cell above them.
        {{"55.0", 0x000033}, {"", kPlainCellColour}, {"", kPlainCellColour}, {"", kPlainCellColour},
         {"", kPlainCellColour}, {"", kPlainCellColour}},
    };
    for (int k = 0; k < 6; ++k) {
        const std::vector<TPrinted> cells = Memos(QStringLiteral("fTD%1").arg(k + 1));
        ASSERT_EQ(cells.size(), 2u);
        for (int row = 0; row < 2; ++row) {
            SCOPED_TRACE(testing::Message() << "row " << row + 1 << " sensor " << k + 1);
            EXPECT_EQ(cells[size_t(row)].Text, expected[row][k].text);
            EXPECT_EQ(cells[size_t(row)].Fill, expected[row][k].fill);
        }
    }
    // Without colour printing the cells keep the template's fill.
    a.acColorPrint->setChecked(false);
    actions.Execute(a.acPreview);
    EXPECT_EQ(Memos(QStringLiteral("fTD6")).front().Fill, clTransparent);
}

TEST_F(StateReports, ProtocolHeaderTellsThePollTheRangeAndErrors)
{
    Reading(0, 0, 15);
    Reading(1, 0, 25);
    reports->ShowReport({});
    EXPECT_EQ(Texts("meTime"), QStringList({"Протокол температур на 10.03.24 14:30:00"}));
    EXPECT_EQ(Texts("meTemp"), QStringList());
    EXPECT_EQ(Texts("meError"), QStringList());
    EXPECT_EQ(Texts("fSilName"), QStringList({"1-1", "1-2"}));
    reports->ShowReport({false, 20, 30});
    EXPECT_EQ(Texts("meTemp"), QStringList({"Диапазон температур от 20° до 30°"}));
    EXPECT_EQ(Texts("fSilName"), QStringList({"1-2"}));
    // Errors only with nothing over the maximum: a page without rows under the errors title.
    reports->ShowReport({true, 0, 0});
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(Texts("meError"), QStringList({"Аварийные измерения"}));
    EXPECT_EQ(Texts("fSilName"), QStringList());
}

TEST_F(StateReports, WithoutAChosenPollNothingIsBuilt)
{
    Reading(0, 0, 15);
    chosen.reset();
    EXPECT_THROW(actions.Execute(a.acPreview), Exception);
    EXPECT_EQ(PageCount(), 0);
    EXPECT_EQ(pagesShown, 0);
}

TEST_F(StateReports, TwoColumnsPairSuspensionsInsideThePage)
{
    for (int s = 0; s < 3; ++s)
        for (int k = 0; k < 6; ++k)
            Reading(s, k, 10 + s + k / 10.0);
    actions.Execute(a.acPreview);
    actions.Execute(a.acReport2Col);   // builds the protocol again, in two columns
    EXPECT_TRUE(Settings.Print2Column);
    EXPECT_EQ(preview.shown, reports->rpReport2Col);
    EXPECT_EQ(Texts("fSilName"), QStringList({"1-1", "1-3"}));
    EXPECT_EQ(Texts("fSilName2"), QStringList({"1-2", ""}));
    EXPECT_EQ(Texts("fTD62"), QStringList({"11.5", ""}));
    // Every column of both halves is on the paper.
    const TrpEMFPage& page = preview.held->Page(0);
    for (const TPrinted& object : Printed(0))
        EXPECT_LE(object.Left + object.Width, page.PaperGeometry.PageWidth) << object.Name.toStdString();
    EXPECT_EQ(Memos("fTD12").front().Left, Memos("lTD12").front().Left);
}

TEST_F(StateReports, SiloCardShowsMoistureAndWeightUnderTheirHeadings)
{
    TSilos& silos = Silos(0);
    silos.Weight = 13.5;   // moisture, as the record card stores it
    silos.Wet = 1250.25;   // weight
    silos.GetTIT(2)->AddValue(true, Poll.Time, 17.26, Settings);
    chosen.reset();   // the silo card needs no chosen poll
    actions.Execute(a.acPreviwSilBin);
    EXPECT_EQ(preview.shown, reports->rpSilBin);
    const auto under = [this](const QString& heading) {
        const int left = Memos(heading).front().Left;
        for (const TPrinted& memo : Printed(0))
            if (memo.Name.startsWith('f') && memo.Left == left)
                return memo.Text;
        return QStringLiteral("(none)");
    };
    EXPECT_EQ(Texts("lWet"), QStringList({"Влажность, %"}));
    EXPECT_EQ(under("lWet"), "13.50");
    EXPECT_EQ(under("lWegth"), "1250.25");
    EXPECT_EQ(under("lTD3"), "17.3");
    EXPECT_EQ(under("lTD1"), "");
}

TEST_F(StateReports, ExportWritesThePagesThePreviewShows)
{
    QTemporaryDir dir;
    TSilos& silos = Silos(0);
    silos.TypeCorn = QStringLiteral("Ячмень");
    actions.Execute(a.acPreviwSilBin);
    // The name typed, and the file written (a name without a suffix gets the filter's).
    const auto exportTo = [&](QAction* action, const QString& typed, const QString& written) {
        modal.ThenDialog([path = dir.filePath(typed)](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(path);
            dialog.accept();
            return int(QDialog::Accepted);
        });
        actions.Execute(action);
        QFile file(dir.filePath(written));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << written.toStdString();
        return file.readAll();
    };
    const QByteArray text = exportTo(a.acReportExportTXT, QStringLiteral("card"), QStringLiteral("card.txt"));
    EXPECT_TRUE(QString::fromUtf8(text).contains(QStringLiteral("Ячмень")));
    const QByteArray rtf = exportTo(a.acReportExportRTF, QStringLiteral("card.rtf"), QStringLiteral("card.rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf"));
    // The preview still shows the silo card.
    EXPECT_EQ(preview.shown, reports->rpSilBin);
    EXPECT_EQ(PageCount(), 1);
}

TEST_F(StateReports, SavedReportReopensInAWindowOfItsOwn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("protocol.rpp"));
    Reading(0, 0, 15);
    actions.Execute(a.acPreview);
    preview.ReleasePages();
    preview.shown->SaveReportPages(path);
    preview.Connect(*preview.shown);

    int shownPages = -1;
    context.ShowPreviewWindow = [&](TrpReport& report, const QString&) {
        shownPages = report.EMFPages->Count();
        EXPECT_EQ(report.Preview(), nullptr);
    };
    modal.ThenDialog([path](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(path);
        dialog.accept();
        return int(QDialog::Accepted);
    });
    actions.Execute(a.acPrint);
    EXPECT_EQ(shownPages, 1);
    EXPECT_EQ(reports->rpReport->Preview(), &preview);

    // A damaged file is refused and the embedded preview stays attached.
    QFile damaged(dir.filePath(QStringLiteral("damaged.rpp")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a report");
    damaged.close();
    EXPECT_ANY_THROW(reports->ShowSavedReport(damaged.fileName()));
    EXPECT_EQ(reports->rpReport->Preview(), &preview);
}

TEST_F(StateReports, StoredPageSetupIsUsedByTheNextProtocol)
{
    Reading(0, 0, 15);
    Settings.PrinterOrientation = poLandscape;
    Settings.rtMarginLeft = 100;
    Settings.rtMarginRight = 0;   // the template's 72 stays
    actions.Execute(a.acPreview);
    const TrpEMFPage& page = preview.held->Page(0);
    EXPECT_GT(page.PaperWidth, page.PaperHeight);
    EXPECT_EQ(page.LeftMargin, 100);
    EXPECT_EQ(page.RightMargin, 72);
    // What the page setup leaves in the printer and the report is what the settings keep.
    Parameters stored;
    StorePrinterSettings(*reports->rpReport, stored);
    EXPECT_EQ(stored.PrinterOrientation, poLandscape);
    EXPECT_EQ(stored.rtMarginLeft, 100);
    EXPECT_EQ(stored.rtMarginRight, 72);
    EXPECT_EQ(stored.PrinterPaperSize, 9);
}

// A stored paper that cannot be used gives way to the printer's default paper (A4 on the virtual
// printer), told in the log, and the protocol builds. The protocol's bands need 201 units on the
// sheet (page footer 20 and the first page's title 92 and page header 89): a custom sheet of
// 55.6 mm is round(556 x 91.6256157635468 / 254) = 201 units high and is kept; 55.5 mm give
// round(200.2) = 200 and fall back.
TEST_F(StateReports, AStoredPaperThatCannotBeUsedFallsBackToTheDefaultAndTheProtocolBuilds)
{
    QStringList log;
    context.OnLog = [&log](const QString& line) { log << line; };
    Reading(0, 0, 15);
    struct Case {
        const char* what;
        int size, width, height;
        int built, builtWidth, builtHeight;
        bool told;
    };
    const Case cases[] = {
        {"a custom size without its size, as older builds stored it", 256, 0, 0, 9, 2100, 2970, true},
        {"a paper the virtual printer has no sheet for", 48, 0, 0, 9, 2100, 2970, true},
        {"a custom sheet one unit short", 256, 2100, 555, 9, 2100, 2970, true},
        {"a custom sheet with the room the bands need", 256, 2100, 556, 256, 2100, 556, false},
        {"A5", 11, 0, 0, 11, 1480, 2100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        log.clear();
        Settings.PrinterPaperSize = c.size;
        Settings.PrinterPaperWidth = c.width;
        Settings.PrinterPaperHeight = c.height;
        actions.Execute(a.acPreview);
        ASSERT_GT(PageCount(), 0);
        const TrpEMFPage& page = preview.held->Page(0);
        EXPECT_EQ(page.Size, c.built);
        EXPECT_EQ(page.PaperWidth, c.builtWidth);
        EXPECT_EQ(page.PaperHeight, c.builtHeight);
        EXPECT_EQ(log.size(), c.told ? 1 : 0) << log.join('\n').toStdString();
        Parameters stored;
        StorePrinterSettings(*reports->rpReport, stored);
        EXPECT_EQ(stored.PrinterPaperSize, c.built);
        EXPECT_EQ(stored.PrinterPaperWidth, c.built == 256 ? c.width : 0);
        EXPECT_EQ(stored.PrinterPaperHeight, c.built == 256 ? c.height : 0);
    }
}

// A protocol whose build fails is shown empty in place of what the preview showed, so that its
// page setup is at hand.
TEST_F(StateReports, AFailedProtocolIsShownEmptyWithItsButtons)
{
    Reading(0, 0, 15);
    actions.Execute(a.acPreviwSilBin);
    ASSERT_EQ(preview.shown, reports->rpSilBin);
    context.WorkRunning = true;   // another build holds the engine: this one is refused
    actions.Execute(a.acPreview);
    context.WorkRunning = false;
    EXPECT_EQ(preview.shown, reports->rpReport);
    EXPECT_EQ(PageCount(), 0);
    actions.Execute(a.acPreview);
    EXPECT_GT(PageCount(), 0);
}

TEST_F(StateReports, PreviewToolbarGetsTheReportButtonsAndKeepsThePageSetup)
{
    QWidget strip;
    new QHBoxLayout(&strip);
    TrpTBButton pageSetup;
    int ownWork = 0;
    pageSetup.OnClick = [&](QObject*) {
        // The preview's own page setup: new margins and paper on the protocol's page.
        ++ownWork;
        TrpPage& page = *reports->rpReport->Pages.front();
        page.LeftMargin = 40;
        page.TopMargin = 30;
        page.ApplyPaper(9, 0, 0, -1, poLandscape);
    };
    reports->SetPreviewToolbar(&strip, &pageSetup);
    Reading(0, 0, 15);
    Reading(1, 0, 16);
    actions.Execute(a.acPreview);
    for (QAction* action : {a.acReportExportRTF, a.acReportExportTXT, a.acReportColor, a.acReport2Col})
        EXPECT_NE(PreviewButton(strip, action), nullptr);
    // The silo card has no two columns.
    actions.Execute(a.acPreviwSilBin);
    EXPECT_EQ(PreviewButton(strip, a.acReport2Col), nullptr);
    EXPECT_NE(PreviewButton(strip, a.acReportColor), nullptr);
    EXPECT_EQ(strip.findChildren<TrpTBButton*>().size(), 3);
    // A button runs its action.
    actions.Execute(a.acPreview);
    actions.Execute(a.acPreview);
    PreviewButton(strip, a.acReport2Col)->Click();
    EXPECT_TRUE(Settings.Print2Column);
    EXPECT_EQ(preview.shown, reports->rpReport2Col);

    // The page setup runs its own work once, then is kept.
    pageSetup.Click();
    EXPECT_EQ(ownWork, 1);
    EXPECT_EQ(Settings.rtMarginLeft, 40);
    EXPECT_EQ(Settings.rtMarginTop, 30);
    EXPECT_EQ(Settings.rtMarginRight, 72);
    EXPECT_EQ(Settings.PrinterOrientation, poLandscape);
}

// Files written for the user to share: a new one gets what the umask leaves of rw-rw-rw-, one
// written over keeps its own mode; none keeps the owner-only mode of the temporary file it is
// written under before it takes its place.
TEST_F(StateReports, WrittenFilesTakeTheUmaskOrTheModeOfTheFileTheyReplace)
{
    QTemporaryDir dir;
    QTemporaryDir sources;
    context.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList(); });
    StartReportPrinter(context);
    Reading(0, 0, 15);
    actions.Execute(a.acPreview);
    const auto exportTo = [&](QAction* action) {
        return [this, action](const QString& path) {
            modal.ThenDialog([path](QDialog& dialog) {
                auto& files = static_cast<QFileDialog&>(dialog);
                files.setOption(QFileDialog::DontConfirmOverwrite);   // the user's yes to writing over
                files.selectFile(path);
                dialog.accept();
                return int(QDialog::Accepted);
            });
            actions.Execute(action);
        };
    };
    // The preview gives the pages back for the print or the save, as its buttons do.
    const auto withPages = [this](const std::function<void(TrpReport&)>& work) {
        preview.ReleasePages();
        TrpReport& report = *preview.shown;
        work(report);
        preview.Connect(report);
    };
    struct Writer {
        const char* name;
        std::function<void(const QString& path)> write;
    };
    const Writer writers[] = {
        {"pdf",
         [&](const QString& path) {
             context.PdfFileDialog = [path](const QString&) { return path; };
             withPages([](TrpReport& report) { EXPECT_TRUE(report.PrintReportPages(QString(), 1, true, ppAll)); });
         }},
        {"rtf", exportTo(a.acReportExportRTF)},
        {"txt", exportTo(a.acReportExportTXT)},
        {"rpp", [&](const QString& path) { withPages([&](TrpReport& report) { report.SaveReportPages(path); }); }},
        {"INI",   // a backup copy of a settings file only its owner may read
         [&](const QString& path) {
             const QString source = sources.filePath(QFileInfo(path).fileName());
             QFile file(source);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write("[S]\n");
             file.close();
             ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
             EXPECT_EQ(MakeBackup(QFileInfo(path).absolutePath(), {source}).Copied, QStringList{source});
         }},
    };
    struct Case {
        mode_t umask;
        mode_t existing;   // 0: no file there yet
        mode_t expected;
    };
    const Case cases[] = {{022, 0, 0644}, {027, 0, 0640}, {022, 0640, 0640}, {027, 0664, 0664}};
    int n = 0;
    for (const Writer& writer : writers)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << writer.name << std::oct << ", umask " << c.umask << ", existing "
                                            << c.existing);
            const QString folder = dir.filePath(QString::number(++n));
            ASSERT_TRUE(QDir().mkpath(folder));
            const QString path = folder + QStringLiteral("/written.") + QLatin1String(writer.name);
            if (c.existing != 0) {
                QFile old(path);
                ASSERT_TRUE(old.open(QIODevice::WriteOnly));
                old.close();
                ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), c.existing), 0);
            }
            {
                const ScopedUmask mask(c.umask);
                writer.write(path);
            }
            struct stat st {};
            ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
            EXPECT_GT(st.st_size, 0);
            EXPECT_EQ(st.st_mode & 07777, c.expected);
        }
}

// Rows per page of both protocols on the virtual printer's A4 sheet, worked out by hand.
//   sheet: 2100 x 2970 tenths of a mm; 2970 x 91.6256157635468 / 254 = 1071.4 -> 1071 units high,
//          2100 x 91.6256157635468 / 254 = 757.5 -> 758 wide
//   the protocols are laid out on the whole sheet (margins flag off): top 0, bottom 1071
//   page footer 20 high: rows end by 1071 - 20 = 1051, the footer's top
//   page 1: title 0..92, page header 92..181, rows from 181: (1051 - 181) / 22 = 39.5 -> 39
//   next pages: page header 0..89, rows from 89: (1051 - 89) / 22 = 43.7 -> 43
//   a row's cells lie 2 below its band: the first at 183 on page 1, at 91 on page 2
//   the page number centred on the sheet: left (758 - width) / 2, drawn with its text's width
constexpr int kFirstPageRows = 39;
constexpr int kNextPageRows = 43;
constexpr int kFirstRowTop[] = {183, 91};
constexpr int kPageFooterTop = 1051;
constexpr int kSheetWidth = 758;

// Enough suspensions for three pages of the two-column protocol.
class StateReportPages : public StateReports {
protected:
    StateReportPages() : StateReports(2 * (kFirstPageRows + kNextPageRows) + 12) {}

    // The first suspensions read a temperature at the poll: one protocol row each.
    void ReadingsFor(int suspensions)
    {
        for (; withReadings_ < suspensions; ++withReadings_)
            Reading(withReadings_, 0, 10);
    }

    // The memos of that name on each page.
    std::vector<std::vector<TPrinted>> PerPage(const QString& name) const
    {
        std::vector<std::vector<TPrinted>> pages(static_cast<size_t>(PageCount()));
        for (int page = 0; page < PageCount(); ++page)
            for (const TPrinted& object : Printed(page))
                if (object.Name == name)
                    pages[size_t(page)].push_back(object);
        return pages;
    }

private:
    int withReadings_ = 0;
};

TEST_F(StateReportPages, ProtocolRowsFillEachPageToItsFooter)
{
    constexpr int first = kFirstPageRows, next = kNextPageRows;
    struct Case {
        bool twoColumns;
        int suspensions;
        std::vector<int> rows;   // rows on each page
        std::vector<int> rightHalves;   // rows of two columns with a suspension on the right
    };
    // Suspensions in increasing order: each case adds readings to the ones before.
    const Case cases[] = {
        {false, first - 1, {first - 1}, {}},
        {false, first, {first}, {}},
        {false, first + 1, {first, 1}, {}},
        {true, 2 * first - 1, {first}, {first - 1}},
        {true, 2 * first, {first}, {first}},
        {true, 2 * first + 1, {first, 1}, {first, 0}},
        {false, first + next, {first, next}, {}},
        {false, first + next + 1, {first, next, 1}, {}},
        {true, 2 * (first + next) - 1, {first, next}, {first, next - 1}},
        {true, 2 * (first + next), {first, next}, {first, next}},
        {true, 2 * (first + next) + 1, {first, next, 1}, {first, next, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.twoColumns ? "two columns, " : "one column, ") << c.suspensions
                                        << " suspensions");
        Settings.Print2Column = c.twoColumns;
        ReadingsFor(c.suspensions);
        reports->ShowReport({});
        ASSERT_EQ(preview.shown, c.twoColumns ? reports->rpReport2Col : reports->rpReport);
        std::vector<int> rows, rightHalves;
        for (const auto& page : PerPage(QStringLiteral("fSilName")))
            rows.push_back(int(page.size()));
        EXPECT_EQ(rows, c.rows);
        if (c.twoColumns) {
            // A half without a suspension prints empty cells.
            for (const auto& page : PerPage(QStringLiteral("fSilName2")))
                rightHalves.push_back(int(std::count_if(page.begin(), page.end(),
                                                        [](const TPrinted& m) { return !m.Text.isEmpty(); })));
            EXPECT_EQ(rightHalves, c.rightHalves);
        }
        const auto cells = PerPage(QStringLiteral("fSilName"));
        for (size_t page = 0; page < cells.size() && page < 2; ++page)
            EXPECT_EQ(cells[page].front().Top, kFirstRowTop[page]) << "page " << page + 1;
        for (const auto& footer : PerPage(QStringLiteral("Memo6"))) {
            ASSERT_EQ(footer.size(), 1u);
            EXPECT_EQ(footer.front().Top, kPageFooterTop);
            EXPECT_EQ(footer.front().Left, (kSheetWidth - footer.front().Width) / 2);
        }
    }
}

// A name of ten characters, "Силос 1001" (59 units wide at 8 points), wraps in the two-column
// protocol's name cell (42 wide, 38 less its gaps) into "Силос" and "1001", and the row grows to
// hold both lines, every cell of it with it:
//   a line at 8 points: 11 pixels and the line spacing 2 = 13; two lines with the cell's gaps of
//   1 above and below: 2 x 13 + 2 = 28; the cells lie 2 below the row's top: a row 30 high
//   page 1: rows from 181 to 1051: 870 / 30 = 29; next pages from 89: 962 / 30 = 32.07 -> 32
// At 10 points in the one-column protocol's 89 wide cell the name takes one line and the rows
// stay 22 high.
TEST_F(StateReportPages, ARowGrowsForANameThatWraps)
{
    constexpr int first = 29, next = 32, row = 30;
    struct Case {
        bool twoColumns;
        int suspensions;
        std::vector<int> rows;
    };
    // Suspensions in increasing order: each case adds readings to the ones before.
    const Case cases[] = {
        {true, 2 * first, {first}},
        {true, 2 * first + 1, {first, 1}},
        {false, kFirstPageRows + kNextPageRows, {kFirstPageRows, kNextPageRows}},
        {true, 2 * (first + next), {first, next}},
        {true, 2 * (first + next) + 1, {first, next, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.twoColumns ? "two columns, " : "one column, ") << c.suspensions
                                        << " suspensions");
        for (int s = 0; s < c.suspensions; ++s)
            Silos(s).SetSilosName(QStringLiteral("Силос %1").arg(1001 + s));
        ReadingsFor(c.suspensions);
        Settings.Print2Column = c.twoColumns;
        reports->ShowReport({});
        std::vector<int> rows;
        for (const auto& page : PerPage(QStringLiteral("fSilName")))
            rows.push_back(int(page.size()));
        EXPECT_EQ(rows, c.rows);
        if (!c.twoColumns)
            continue;
        const std::vector<std::vector<TPrinted>> cells = PerPage(QStringLiteral("fTD1"));
        ASSERT_GE(cells.size(), 1u);
        for (size_t r = 0; r < cells[0].size(); ++r)
            EXPECT_EQ(cells[0][r].Top, kFirstRowTop[0] + int(r) * row) << "row " << r + 1;
        const std::vector<TPrinted> names = Memos(QStringLiteral("fSilName"));
        EXPECT_EQ(names.front().Text, QStringLiteral("Силос|1001"));
    }
}

// On a landscape sheet (758 units high, 1071 wide) the error caption, 264 wide, stays centred at
// (1071 - 264) / 2 = 403, and the page number at (1071 - its width) / 2, at 758 - 20 = 738.
TEST_F(StateReportPages, PageNumberAndErrorCaptionAreCentredOnTheSheet)
{
    Settings.PrinterOrientation = poLandscape;
    Reading(0, 0, Settings.MaxT + 1);
    reports->ShowReport({true, 0, 0});
    const std::vector<TPrinted> error = Memos(QStringLiteral("meError"));
    ASSERT_EQ(error.size(), 1u);
    EXPECT_EQ(error.front().Width, 264);
    EXPECT_EQ(error.front().Left, 403);
    const std::vector<TPrinted> footer = Memos(QStringLiteral("Memo6"));
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_EQ(footer.front().Text, QStringLiteral("Страница № 1"));
    EXPECT_EQ(footer.front().Left, (1071 - footer.front().Width) / 2);
    EXPECT_EQ(footer.front().Top, 738);
}

TEST_F(StateReportPages, ProtocolPrintsToAPdfFileOfItsPages)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("protocol.pdf"));
    context.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList(); });
    StartReportPrinter(context);
    context.PdfFileDialog = [&](const QString&) { return path; };
    QStringList log;
    context.OnLog = [&](const QString& line) { log << line; };
    ReadingsFor(kFirstPageRows + kNextPageRows + 1);
    reports->ShowReport({});
    ASSERT_EQ(PageCount(), 3);
    // The preview gives the pages back for the print, as its print button does.
    preview.ReleasePages();
    EXPECT_TRUE(reports->rpReport->PrintReportPages(QString(), 1, true, ppAll)) << log.join('\n').toStdString();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    EXPECT_EQ(content.count("/Type /Page\n") + content.count("/Type /Page\r") + content.count("/Type /Page "), 3)
        << content.left(200).toStdString();
}

// A full board: 256 local blocks of 12 suspensions, all in silo block 255, so that technical
// numbers run up to the widest a configuration gives, "255-256-12", and names up to "256-12";
// every third suspension is named with the ten characters a name holds, as "Силос 1024", and
// every third with ten of the widest letter; temperatures at three decimals, the widest being
// "-36.000", "-35.999" and "-12.345".
QString WithoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' ')).remove(QLatin1Char('|'));
}

class FullBoardReports : public StateReports {
protected:
    static constexpr int kSuspensions = 256 * 12;
    FullBoardReports() : StateReports(kSuspensions)
    {
        BinNo = 255;
        Settings.Precision = 3;
        Settings.TextShort = QStringLiteral("КЗ");
        Settings.TextBreak = QStringLiteral("X");
        // No reading, a short circuit, an open line, and the widest temperatures.
        const double values[] = {-999, -37, 71, -36, 69.999, -35.999, -12.345};
        for (int s = 0; s < kSuspensions; ++s) {
            for (int k = 0; k < 6; ++k) {
                const double v = values[(s + k) % 7];
                Reading(s, k, v);
                Silos(s).GetTIT(k)->AddValue(true, Poll.Time, v, Settings);
            }
            if (s % 3 == 1)
                Silos(s).SetSilosName(QStringLiteral("Силос %1").arg(1000 + s % 1000));
            else if (s % 3 == 0)
                Silos(s).SetSilosName(QString(10, QChar(0x0416)));   // "ЖЖЖЖЖЖЖЖЖЖ"
        }
    }

    // The texts of the data cells of every page, without their blanks (a line may end where a
    // blank was, or inside a word too long for its cell). A cell that does not show its text
    // whole is reported with its page: measured as the engine measures at 96 DPI, a value on one
    // line wider than the width the engine gives a memo for it (the text, a gap on either side,
    // the frame's line and 1), a wrapped line wider than the engine wraps to (the width less the
    // gaps), or more lines than the cell's height holds.
    QSet<QString> CellTexts(QStringList& cut)
    {
        QSet<QString> texts;
        TrpEMFPages& pages = *preview.held;
        for (int page = 0; page < pages.Count(); ++page) {
            pages.RestoreObjects(page);
            for (const auto& view : pages.Page(page).LivePage->Objects) {
                auto* memo = dynamic_cast<TrpMemoView*>(view.get());
                if (!memo || !memo->Name.startsWith(QLatin1Char('f')))
                    continue;
                const int pixels = FontPixelHeight(memo->Font.Size);
                const TrpTextMeasure measure =
                    context.TextMeasures.Measure(memo->Font, pixels, &context.ScratchBitmap, memo->CharSpacing);
                // The lines as the build wrapped them, which are the lines drawn.
                QStringList lines = memo->Memo;
                int widest = 0;
                for (QString& line : lines) {
                    line.remove(kParagraphEnd);
                    widest = std::max(widest, measure.Width(line));
                }
                const QString text = lines.join(QLatin1Char('|'));
                texts.insert(WithoutBlanks(text));
                const int needed = lines.size() == 1 ? widest + int(memo->FrameWidth) + 2 * memo->GapX + 1
                                                     : widest + 2 * memo->GapX;
                const int tall = 2 * memo->GapY + int(lines.size()) * (memo->LineSpacing + pixels);
                if (needed > memo->Width || tall > memo->Height)
                    cut << QStringLiteral("page %1 %2 \"%3\": %4 wide in %5, %6 lines %7 high in %8")
                               .arg(page + 1)
                               .arg(memo->Name, text)
                               .arg(needed)
                               .arg(memo->Width)
                               .arg(lines.size())
                               .arg(tall)
                               .arg(memo->Height);
            }
            pages.ReleaseObjects(page);
        }
        return texts;
    }
};

TEST_F(FullBoardReports, EveryValueOfEveryReportPrintsWhole)
{
    for (int s = 0; s < kSuspensions; ++s) {
        TSilos& silos = Silos(s);
        silos.TypeCorn = QStringLiteral("Пшеница");
        silos.ClassCorn = QStringLiteral("3 класс");
        silos.OperName = QStringLiteral("Иванов");
        silos.LoadData = EncodeDateTime(2024, 12, 31, 23, 59, 0, 0);
        silos.Weight = 100;       // moisture, at most 100 %
        silos.Wet = 99999.99;     // weight in tonnes
    }
    // The record card's texts at the most their fields hold: 50 characters of crop and class,
    // 30 of the operator.
    const QString crop = QStringLiteral("Пшеница мягкая озимая продовольственная, урожай 24");
    const QString grade = QStringLiteral("Третий класс по ГОСТ 9353-2016, клейковина 23-28 %");
    const QString operatorName = QStringLiteral("Константинопольская-Шереметева");
    ASSERT_EQ(crop.size(), 50);
    ASSERT_EQ(grade.size(), 50);
    ASSERT_EQ(operatorName.size(), 30);
    for (int s = 0; s < kSuspensions; s += 5) {
        Silos(s).TypeCorn = crop;
        Silos(s).ClassCorn = grade;
        Silos(s).OperName = operatorName;
    }
    const QStringList widest = {"255-256-12", "256-12",  "Силос 1024", "ЖЖЖЖЖЖЖЖЖЖ", "-36.000", "-35.999",
                                "-12.345",    "69.999", "КЗ",         "X",          ""};
    struct Case {
        const char* report;
        std::function<void()> show;
        QStringList values;   // printed somewhere, besides the widest
    };
    const Case cases[] = {
        {"one column",
         [&] {
             Settings.Print2Column = false;
             reports->ShowReport({});
         },
         {}},
        {"two columns",
         [&] {
             Settings.Print2Column = true;
             reports->ShowReport({});
         },
         {}},
        {"silo card", [&] { actions.Execute(a.acPreviwSilBin); },
         {"Пшеница", "3 класс", "Иванов", "31:12:24", "100.00", "99999.99", crop, grade, operatorName}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        c.show();
        ASSERT_GT(PageCount(), 1);
        QStringList cut;
        const QSet<QString> texts = CellTexts(cut);
        EXPECT_TRUE(cut.isEmpty()) << cut.size() << " cells cut, the first: "
                                   << cut.mid(0, 5).join(QLatin1Char('\n')).toStdString();
        for (const QString& value : widest + c.values)
            EXPECT_TRUE(texts.contains(WithoutBlanks(value))) << value.toStdString();
    }
}

}  // namespace
