// Printing of prepared pages: page lists, odd and even pages, copies with and without collation,
// paper changes between pages and the printer switch. The virtual printer prints into a PDF file,
// as on a machine with no printer installed; a recording printer shows how jobs go to a printer.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "HoldingPreview.h"
#include "QtPrinters.h"
#include "TestData.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"
#include "report/objects/ReportColor.h"
#include "report/paper/PaperTable.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/ui/ProgressForm.h"

namespace {

struct TPdf {
    int Pages = 0;
    QStringList MediaBoxes;   // "595x842" per page
};

TPdf ReadPdf(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    TPdf pdf;
    pdf.Pages = int(content.count("/Type /Page\n") + content.count("/Type /Page "));
    static const QRegularExpression box(QStringLiteral(R"(/MediaBox \[0 0 (\d+)\.?\d* (\d+)\.?\d*\])"));
    for (auto match = box.globalMatch(QString::fromLatin1(content)); match.hasNext();) {
        const auto m = match.next();
        pdf.MediaBoxes << m.captured(1) + QLatin1Char('x') + m.captured(2);
    }
    return pdf;
}

// A report of prepared pages, each with a memo naming its number, and the messages the engine
// shows.
class PrintingFixture : public ::testing::Test {
protected:
    void SetUpReport(int pageCount)
    {
        context.MessageBox = [this](const QString& text, const QString& title, int) {
            messages << title + QStringLiteral(": ") + text;
            return 1;
        };
        report.Title = QStringLiteral("Протокол");
        design = report.AddPage();
        design->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
        context.CurrentReport = context.RootReport = &report;
        for (int i = 0; i < pageCount; ++i)
            AddPage(QStringLiteral("Страница %1").arg(i + 1));
        report.OnProgress = [this](int pageNo) { printed.push_back(pageNo); };
    }

    // A prepared page on the design page's paper with one memo.
    TrpEMFPage& AddPage(const QString& text, TColor fill = clTransparent)
    {
        report.EMFPages->AddPage(*design);
        auto* memo = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        memo->SetBounds(36, 36, 90, 90);
        memo->Memo = QStringList{text};
        memo->FillColor = fill;
        memo->PrintedForm = true;
        TrpEMFPage& page = report.EMFPages->Page(report.EMFPages->Count() - 1);
        memo->PrintToStream(page.ObjectStream);
        return page;
    }

    void SetPaper(int index, int size, int width, int height, uint8_t orientation, int bin = -1)
    {
        TrpEMFPage& page = report.EMFPages->Page(index);
        page.Size = size;
        page.PaperWidth = width;
        page.PaperHeight = height;
        page.Orientation = orientation;
        page.PaperBin = bin;
    }

    TrpRunContext context;
    TrpReport report{context};
    TrpPage* design = nullptr;
    std::vector<int> printed;   // page numbers in the order they went to the printer
    QStringList messages;
};

// No printer installed: the virtual printer writes the PDF file the dialog names.
class VirtualPrinting : public PrintingFixture {
protected:
    void SetUp() override
    {
        context.PlatformPrinter = std::make_unique<TrpQtPrinter>([] { return QStringList(); });
        StartReportPrinter(context);
        context.PdfFileDialog = [this](const QString& suggested) {
            suggestions << suggested;
            return fileName;
        };
        SetUpReport(7);
    }

    QTemporaryDir dir;
    QString fileName = dir.filePath(QStringLiteral("protocol.pdf"));
    QStringList suggestions;
};

TEST_F(VirtualPrinting, PageListsOddEvenAndCopies)
{
    struct Case {
        const char* list;
        uint8_t printPages;
        int copies;
        bool collate;
        std::vector<int> pages;
    };
    const Case cases[] = {
        {"", ppAll, 1, true, {1, 2, 3, 4, 5, 6, 7}},
        {"1,3,5-7", ppAll, 1, true, {1, 3, 5, 6, 7}},
        {" 2 - 4 ", ppAll, 1, true, {2, 3, 4}},
        {"5-", ppAll, 1, true, {5, 6, 7}},
        {"7-3,2", ppAll, 1, true, {2}},
        // Ranges past the report's end take the pages it has, at no cost.
        {"6-2000000000", ppAll, 1, true, {6, 7}},
        {"", ppOdd, 1, true, {1, 3, 5, 7}},
        {"1-5", ppEven, 1, true, {2, 4}},
        {"1-3", ppAll, 2, true, {1, 2, 3, 1, 2, 3}},
        // A file makes no copies itself: each page's copies are sent together.
        {"1-3", ppAll, 2, false, {1, 1, 2, 2, 3, 3}},
        {"2", ppAll, 0, true, {2}},
    };
    for (const Case& c : cases) {
        printed.clear();
        QFile::remove(fileName);
        EXPECT_TRUE(report.PrintReportPages(QString::fromUtf8(c.list), c.copies, c.collate, c.printPages)) << c.list;
        EXPECT_EQ(printed, c.pages) << c.list;
        EXPECT_EQ(ReadPdf(fileName).Pages, int(c.pages.size())) << c.list;
    }
    EXPECT_EQ(suggestions.value(0), QStringLiteral("Протокол"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
    // The prepared pages stay whole for the preview.
    EXPECT_EQ(report.EMFPages->Count(), 7);
    EXPECT_FALSE(report.EMFPages->Page(0).Visible);
    EXPECT_EQ(report.EMFPages->Page(0).LivePage, nullptr);
}

TEST_F(VirtualPrinting, ListsThatNameNoPageAreRefusedBeforeAnythingIsSent)
{
    for (const char* list : {"-3", "1,,2", "abc", "+2", "99999999999", "8", "9-20", "0"}) {
        messages.clear();
        EXPECT_FALSE(report.PrintReportPages(QString::fromUtf8(list), 1, true, ppAll)) << list;
        ASSERT_EQ(messages.size(), 1) << list;
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Error: "))) << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(QString::fromUtf8(list))) << messages[0].toStdString();
    }
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(suggestions.isEmpty());
    EXPECT_FALSE(QFile::exists(fileName));
}

TEST_F(VirtualPrinting, PaperChangesBetweenSheetsOfOneFile)
{
    SetPaper(1, kPaperA4, 2970, 2100, poLandscape);
    SetPaper(2, 8, 2970, 4200, poPortrait);   // A3
    EXPECT_TRUE(report.PrintReportPages(QStringLiteral("1-4"), 1, true, ppAll));
    EXPECT_EQ(ReadPdf(fileName).MediaBoxes, (QStringList{"595x842", "842x595", "842x1191", "595x842"}));
}

TEST_F(VirtualPrinting, CancelAndUnwritableFilesLeaveNoHalfFile)
{
    // Cancel after the second page: the job is dropped, the file there before stays.
    {
        QFile old(fileName);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    report.OnProgress = [this](int pageNo) {
        printed.push_back(pageNo);
        report.Terminated = pageNo == 2;
    };
    EXPECT_FALSE(report.PrintReportPages(QString(), 1, true, ppAll));
    EXPECT_EQ(printed, (std::vector<int>{1, 2}));
    QFile old(fileName);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"protocol.pdf"});
    EXPECT_TRUE(messages.isEmpty());

    // A folder that is not there: told, with the file's name and why.
    fileName = dir.filePath(QStringLiteral("missing/protocol.pdf"));
    EXPECT_FALSE(report.PrintReportPages(QString(), 1, true, ppAll));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(fileName)) << messages[0].toStdString();

    // No file chosen: nothing printed, nothing said.
    messages.clear();
    fileName.clear();
    EXPECT_FALSE(report.PrintReportPages(QString(), 1, true, ppAll));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(VirtualPrinting, TheEmbeddedPreviewsPagesPrintAndStayShown)
{
    HoldingPreview preview;
    report.SetPreview(&preview);
    preview.Connect(report);
    EXPECT_TRUE(report.PrintReportPages(QStringLiteral("2-"), 1, true, ppAll));
    EXPECT_EQ(printed, (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(preview.HeldCount(), 7);
    EXPECT_EQ(report.EMFPages->Count(), 0);

    // Another report shown there since: the pages shown are the ones printed.
    TrpReport other(context);
    other.SetPreview(&preview);
    printed.clear();
    EXPECT_TRUE(other.PrintReportPages(QStringLiteral("7"), 1, true, ppAll));
    EXPECT_EQ(printed, std::vector<int>{7});
    EXPECT_EQ(preview.shown, &report);
    EXPECT_EQ(preview.HeldCount(), 7);
}

TEST_F(VirtualPrinting, PagesGoUnderTheProgressWindow)
{
    report.OnProgress = nullptr;
    TrpProgressForm form(context);
    std::vector<QString> lines;
    report.OnPrintReport = [&] { lines.push_back(form.windowTitle() + QStringLiteral(" | ") + form.Label1->text()); };
    EXPECT_TRUE(report.PrintReportPages(QStringLiteral("2,3"), 1, true, ppAll));
    lines.push_back(form.Label1->text());
    EXPECT_EQ(lines, (std::vector<QString>{"Preparing report - Протокол | Printing page:", "Printing page:  3"}));
    EXPECT_EQ(ReadPdf(fileName).Pages, 2);
    EXPECT_FALSE(form.isVisible());
}

// A printer that takes jobs as a printer does: it makes copies itself and cannot change paper
// within a job. It writes down what it is asked.
class RecordingPrinter : public TrpPlatformPrinter {
public:
    QStringList PrinterNames() override { return {QStringLiteral("Office")}; }
    QString CurrentPrinter() override { return QStringLiteral("Office"); }
    void SelectPrinter(const QString&) override {}
    std::optional<TrpDeviceSettings> ReadSettings() override
    {
        TrpDeviceSettings s;
        s.PaperSize = mode_.PaperSize;
        s.Orientation = mode_.Orientation;
        s.PaperWidth = mode_.Orientation == poLandscape ? 2970 : 2100;
        s.PaperHeight = mode_.Orientation == poLandscape ? 2100 : 2970;
        s.PaperBin = mode_.PaperBin;
        s.Papers = {{kPaperA4, QStringLiteral("A4")}};
        return s;
    }
    void WriteSettings(const TrpDeviceMode& mode) override
    {
        mode_ = mode;
        Log << QStringLiteral("paper %1 %2 bin %3").arg(mode.PaperSize).arg(mode.Orientation).arg(mode.PaperBin);
    }
    // 30 dots per inch, so that a sheet is a small picture; 5 dots unprinted on every side.
    TrpDeviceMetrics Metrics() override
    {
        const bool landscape = mode_.Orientation == poLandscape;
        TrpDeviceMetrics m;
        m.DpiX = m.DpiY = 30;
        m.PhysicalWidth = landscape ? 351 : 248;
        m.PhysicalHeight = landscape ? 248 : 351;
        m.OffsetX = m.OffsetY = 5;
        m.PrintWidth = m.PhysicalWidth - 10;
        m.PrintHeight = m.PhysicalHeight - 10;
        return m;
    }
    bool Printing() override { return painter_.isActive(); }
    int SetCopies(int copies) override
    {
        copies_ = copies;
        return copies;
    }
    QPainter& BeginDoc(const QString& title) override
    {
        Log << QStringLiteral("begin %1, %2 copies").arg(title).arg(copies_);
        StartSheet();
        return painter_;
    }
    QPainter& BeginFileDoc(const QString&, const QString&, const TrpDeviceMode&) override
    {
        throw EPrinter(QStringLiteral("not a file"));
    }
    bool PrintsToFile() override { return false; }
    void NewPage() override
    {
        if (++sheets_ == FailAtSheet)
            throw EPrinter(QStringLiteral("Принтер «Office» не начал новый лист"));
        Log << QStringLiteral("sheet");
        painter_.end();
        StartSheet();
    }
    void EndDoc() override
    {
        painter_.end();
        Log << QStringLiteral("end");
    }
    void Abort() override
    {
        painter_.end();
        Log << QStringLiteral("abort");
    }

    QStringList Log;
    int FailAtSheet = 0;
    // Every sheet as printed, the whole sheet; the canvas starts at the printable area.
    std::vector<QImage> Sheets;

private:
    void StartSheet()
    {
        const TrpDeviceMetrics m = Metrics();
        Sheets.emplace_back(m.PhysicalWidth, m.PhysicalHeight, QImage::Format_RGB32);
        Sheets.back().fill(Qt::white);
        painter_.begin(&Sheets.back());
        painter_.translate(m.OffsetX, m.OffsetY);
    }

    TrpDeviceMode mode_{kPaperA4, 0, 0, poPortrait, -1};
    int copies_ = 1;
    int sheets_ = 0;
    QPainter painter_;
};

// The top-left corner of what is drawn on a sheet.
QPoint FirstInk(const QImage& sheet)
{
    QPoint corner(sheet.width(), sheet.height());
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (sheet.pixel(x, y) != qRgb(255, 255, 255)) {
                corner.setX(std::min(corner.x(), x));
                corner.setY(std::min(corner.y(), y));
            }
    return corner;
}

class PrinterJobs : public PrintingFixture {
protected:
    void SetUp() override
    {
        auto device = std::make_unique<RecordingPrinter>();
        printer = device.get();
        context.PlatformPrinter = std::move(device);
        StartReportPrinter(context);
        SetUpReport(3);
        printer->Log.clear();
    }

    RecordingPrinter* printer = nullptr;
};

TEST_F(PrinterJobs, CopiesAndPaperChangesAsThePrinterTakesThem)
{
    struct Case {
        int copies;
        bool collate;
        QStringList log;
    };
    const QString a4 = QStringLiteral("paper 9 0 bin 65535");   // the default tray
    const QString begin1 = QStringLiteral("begin Протокол, 1 copies");
    const Case cases[] = {
        // The printer makes the copies: each page is sent once.
        {3, false, {a4, "begin Протокол, 3 copies", "sheet", "sheet", "end"}},
        {2, true, {a4, begin1, "sheet", "sheet", "sheet", "sheet", "sheet", "end"}},
    };
    for (const Case& c : cases) {
        printer->Log.clear();
        EXPECT_TRUE(report.PrintReportPages(QString(), c.copies, c.collate, ppAll));
        EXPECT_EQ(printer->Log, c.log);
    }

    // Another paper, or another tray, ends the job and starts one on it; the same paper from
    // the default tray goes on in the job.
    SetPaper(1, kPaperA4, 2970, 2100, poLandscape);
    SetPaper(2, kPaperA4, 2970, 2100, poLandscape, kDefaultBin);
    AddPage(QStringLiteral("Страница 4"));
    SetPaper(3, kPaperA4, 2970, 2100, poLandscape, 2);
    printer->Log.clear();
    EXPECT_TRUE(report.PrintReportPages(QString(), 1, true, ppAll));
    EXPECT_EQ(printer->Log, (QStringList{a4, begin1, "end", "paper 9 1 bin -1", begin1, "sheet", "end",
                                         "paper 9 1 bin 2", begin1, "end"}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(PrinterJobs, APrinterFailingMidJobEndsItWithItsMessage)
{
    printer->FailAtSheet = 2;
    EXPECT_FALSE(report.PrintReportPages(QString(), 1, true, ppAll));
    EXPECT_EQ(printer->Log.last(), QStringLiteral("abort"));
    EXPECT_FALSE(printer->Printing());
    EXPECT_EQ(printed, (std::vector<int>{1, 2}));
    EXPECT_EQ(messages, QStringList{"Error: Принтер «Office» не начал новый лист"});
}

TEST_F(PrinterJobs, PagesLandOnTheSheetByTheirMargins)
{
    // Two pages with a black square 36 units (about 12 dots) from the page's corner.
    report.EMFPages->Clear();
    AddPage(QString(), 0);
    TrpEMFPage& inset = AddPage(QString(), 0);
    inset.MarginsOn = false;
    inset.LeftMargin = 36;
    EXPECT_TRUE(report.PrintReportPages(QString(), 1, true, ppAll));
    ASSERT_EQ(printer->Sheets.size(), 2u);
    // A page laid out on the sheet covers the whole sheet, unprinted border included.
    const QPoint onSheet = FirstInk(printer->Sheets[0]);
    EXPECT_NEAR(onSheet.x(), 12, 1);
    EXPECT_NEAR(onSheet.y(), 12, 1);
    // Any other page goes into the printable area less its margins.
    const QPoint inArea = FirstInk(printer->Sheets[1]);
    EXPECT_NEAR(inArea.x(), 5 + 12 + 11, 1);
    EXPECT_NEAR(inArea.y(), 5 + 11, 1);
}

// A Qt printer with the trays of a PPD that takes jobs as a printer does (one paper a job, not a
// file), writing down the source options each job starts with.
class TrayJobPrinter : public TrpQtPrinter {
public:
    TrayJobPrinter()
        : TrpQtPrinter([] { return QStringList{QStringLiteral("Лазерный")}; },
                       [](const QString&) { return PpdPaperSources(TestDataPath("trays.ppd")); })
    {
    }
    bool PrintsToFile() override { return false; }
    QPainter& BeginDoc(const QString& title) override
    {
        Jobs << JobOptions().join(QLatin1Char('='));
        return TrpQtPrinter::BeginDoc(title);
    }

    QStringList Jobs;
};

class TrayJobs : public PrintingFixture {
protected:
    void SetUp() override
    {
        auto device = std::make_unique<TrayJobPrinter>();
        device->Device().setOutputFileName(dir.filePath(QStringLiteral("job.pdf")));
        printer = device.get();
        context.PlatformPrinter = std::move(device);
        StartReportPrinter(context);
        SetUpReport(5);
    }

    QTemporaryDir dir;
    TrayJobPrinter* printer = nullptr;
};

TEST_F(TrayJobs, EachTrayOfThePagesStartsAJobTakingPaperFromIt)
{
    // The first tray twice, the second, the default one (the job goes on), the first again.
    const int bins[] = {257, 257, 258, kDefaultBin, 257};
    for (int i = 0; i < 5; ++i)
        SetPaper(i, kPaperA4, 2100, 2970, poPortrait, bins[i]);
    EXPECT_TRUE(report.PrintReportPages(QString(), 1, true, ppAll));
    EXPECT_EQ(printer->Jobs, (QStringList{"InputSlot=Tray1", "InputSlot=Tray2", "InputSlot=Tray1"}));
    EXPECT_EQ(printed, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

// The print dialog's printer change on Qt's printers, which print into PDF files here.
class PrinterSwitch : public PrintingFixture {
protected:
    void SetUp() override
    {
        context.PlatformPrinter = std::make_unique<TrpQtPrinter>([this] { return installed; });
        StartReportPrinter(context);
        SetUpReport(1);
    }

    QStringList installed{QStringLiteral("PDF A"), QStringLiteral("PDF B")};
};

TEST_F(PrinterSwitch, ChosenPrinterOrThePreviousOneBack)
{
    TrpPrinter& printer = context.ReportPrinter;
    design->ApplyPaper(kPaperA4, 0, 0, -1, poLandscape);
    EXPECT_TRUE(report.SwitchPrinter(0, 1));
    EXPECT_EQ(printer.CurrentIndex, 1);
    EXPECT_EQ(report.PrinterName, QStringLiteral("PDF B"));
    // The design pages take their paper on the new printer.
    EXPECT_EQ(printer.Orientation, poLandscape);
    EXPECT_EQ(design->PaperGeometry.PageWidth, 1071);
    EXPECT_TRUE(messages.isEmpty());

    struct Case {
        int newIndex;
        bool vanish;
    };
    for (const Case c : {Case{7, false}, Case{0, true}}) {
        messages.clear();
        if (c.vanish)
            installed = QStringList{QStringLiteral("PDF B")};
        EXPECT_FALSE(report.SwitchPrinter(1, c.newIndex)) << c.newIndex;
        EXPECT_EQ(messages, QStringList{"Error: Printer selected is not valid"});
        EXPECT_EQ(report.PrinterName, printer.Printers.value(printer.CurrentIndex));
        if (!c.vanish) {
            EXPECT_EQ(printer.CurrentIndex, 1);
        }
    }
}

TEST_F(PrinterSwitch, APrinterGoneBeforeThePrintIsTold)
{
    installed = QStringList{QStringLiteral("PDF B")};
    EXPECT_FALSE(report.PrintReportPages(QString(), 1, true, ppAll));
    EXPECT_EQ(messages, QStringList{"Error: Принтер «PDF A» недоступен"});
    EXPECT_FALSE(context.PlatformPrinter->Printing());
}

} // namespace
