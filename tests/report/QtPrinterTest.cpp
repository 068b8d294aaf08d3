// The report printer over Qt's printers. CI machines have no printer installed, so the printers
// here are listed by the test and print into PDF files, through the same QPrinter code.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPageSize>
#include <QTemporaryDir>
#include <QTimer>

#include "QtPrinters.h"
#include "report/engine/Report.h"
#include "report/paper/PaperTable.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/ui/PrinterProperties.h"

namespace {

class PdfPrinters : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto device = std::make_unique<TrpQtPrinter>([this] { return installed; });
        qt = device.get();
        // Qt's first paper follows the system's measurement units.
        qt->Device().setPageSize(QPageSize(QPageSize::A4));
        context.PlatformPrinter = std::move(device);
        StartReportPrinter(context);
    }

    TPaperGeometry Geometry()
    {
        TPaperGeometry g;
        printer.FillPaperGeometry(g);
        return g;
    }

    QStringList installed{QStringLiteral("PDF A"), QStringLiteral("PDF B")};
    TrpRunContext context;
    TrpPrinter& printer = context.ReportPrinter;
    TrpQtPrinter* qt = nullptr;
};

TEST_F(PdfPrinters, ListsThePrintersAndReadsTheCurrentOne)
{
    EXPECT_EQ(printer.Printers, (QStringList{"PDF A", "PDF B", "Virtual printer"}));
    EXPECT_EQ(printer.CurrentIndex, 0);
    EXPECT_EQ(printer.VirtualIndex, 2);
    EXPECT_TRUE(printer.HasDeviceSettings());
    EXPECT_EQ(context.DefaultPaperSize, kPaperA4);
    EXPECT_EQ(printer.PaperWidth, 2100);
    EXPECT_EQ(printer.PaperHeight, 2970);
    EXPECT_EQ(printer.Orientation, poPortrait);
    for (int id : {1, 5, 8, 9, 11})
        EXPECT_NE(std::find(printer.PaperIds.begin(), printer.PaperIds.end(), id), printer.PaperIds.end()) << id;
    EXPECT_EQ(printer.PaperNames.size(), int(printer.PaperIds.size()));
    EXPECT_EQ(printer.BinIds.front(), -1);
}

TEST_F(PdfPrinters, PapersAndTheirGeometry)
{
    struct Case {
        int size, width, height, orientation;
        int readSize, paperWidth, paperHeight;
    };
    const Case cases[] = {
        {kPaperA4, 0, 0, poPortrait, kPaperA4, 2100, 2970},
        {kPaperA4, 0, 0, poLandscape, kPaperA4, 2970, 2100},
        {5, 0, 0, poPortrait, 5, 2159, 3556},
        {kCustomPaper, 1000, 1500, poPortrait, kCustomPaper, 1000, 1500},
        // A custom sheet is given as it lies, and reads back so.
        {kCustomPaper, 1500, 1000, poLandscape, kCustomPaper, 1500, 1000},
        // A Windows paper Qt has no id for goes by its size: Qt knows the Folio sheet
        // (8 1/2 x 13 in) as the German legal fanfold, in whole points.
        {14, 0, 0, poPortrait, 41, 2159, 3300},
    };
    for (const Case& c : cases) {
        printer.SetPaper(c.size, c.width, c.height, -1, c.orientation, false);
        EXPECT_EQ(printer.PaperSize, c.readSize) << c.size;
        EXPECT_EQ(printer.PaperWidth, c.paperWidth) << c.size;
        EXPECT_EQ(printer.PaperHeight, c.paperHeight) << c.size;
        EXPECT_EQ(printer.Orientation, c.orientation) << c.size;
    }

    printer.SetPaper(kPaperA4, 0, 0, -1, poPortrait, false);
    TPaperGeometry g = Geometry();
    // An A4 sheet at the PDF printer's 1200 dots per inch, with its printable area inside it.
    EXPECT_EQ(g.DevicePageWidth, 9917);
    EXPECT_EQ(g.DevicePageHeight, 14033);
    EXPECT_EQ(g.PageWidth, 757);
    EXPECT_EQ(g.PageHeight, 1071);
    EXPECT_GT(g.DeviceOffsetX, 0);
    EXPECT_EQ(g.DeviceOffsetX * 2 + g.DevicePrintWidth, g.DevicePageWidth);
    EXPECT_NEAR(g.OffsetX * 2 + g.PrintWidth, g.PageWidth, 1);
    EXPECT_NEAR(g.OffsetY * 2 + g.PrintHeight, g.PageHeight, 1);

    printer.SetPaper(kPaperA4, 0, 0, -1, poLandscape, false);
    g = Geometry();
    EXPECT_EQ(g.DevicePageWidth, 14033);
    EXPECT_EQ(g.PageWidth, 1071);
}

TEST_F(PdfPrinters, SourcesAreSetUnlessTheDefaultIsAsked)
{
    printer.SetPaper(kPaperA4, 0, 0, 2, poPortrait, true);   // the lower tray
    EXPECT_EQ(printer.PaperBin, 2);
    printer.SetPaper(kPaperA4, 0, 0, kDefaultBin, poPortrait, true);
    EXPECT_EQ(printer.PaperBin, 2);
    // A printer that is not installed has no trays: its jobs ask for none.
    EXPECT_TRUE(qt->JobOptions().isEmpty());
}

TEST_F(PdfPrinters, RefusedPaperFallsBackToACustomSize)
{
    EXPECT_THROW(printer.SetPaper(9999, 1000, 1500, -1, poPortrait, false), EPrinter);
    // The paper refused is not the printer's: it keeps the one it had.
    EXPECT_EQ(printer.PaperSize, kPaperA4);
    EXPECT_EQ(printer.PaperWidth, 2100);
    EXPECT_EQ(printer.PaperHeight, 2970);
    // It has sheets of its papers and of a custom size with a size, of nothing else.
    EXPECT_TRUE(printer.HasSheet(kPaperA4, 0, 0));
    EXPECT_FALSE(printer.HasSheet(9999, 1000, 1500));
    EXPECT_TRUE(printer.HasSheet(kCustomPaper, 1000, 1500));
    EXPECT_FALSE(printer.HasSheet(kCustomPaper, 0, 0));
    EXPECT_FALSE(printer.HasSheet(kCustomPaper, 1000, 0));

    TrpReport report(context);
    TrpPage* page = report.AddPage();
    EXPECT_EQ(page->Size, kPaperA4);
    page->ApplyPaper(9999, 1000, 1500, 3, poPortrait);
    EXPECT_EQ(page->Size, kCustomPaper);
    EXPECT_EQ(page->PaperWidth, 1000);
    EXPECT_EQ(page->PaperHeight, 1500);
    // 100 mm at 1200 dpi, to Qt's whole points.
    EXPECT_NEAR(page->PaperGeometry.DevicePageWidth, 4724, 8);
    // Without a size to fall back on the second refusal goes to the caller.
    EXPECT_THROW(page->ApplyPaper(9999, 0, 0, -1, poPortrait), EPrinter);
}

TEST_F(PdfPrinters, AVanishedPrinterHandsOverToTheVirtualOne)
{
    printer.ChoosePrinter(1);
    EXPECT_FALSE(printer.IsVirtual());
    installed = QStringList{QStringLiteral("PDF A")};
    printer.SetPaper(kPaperA4, 0, 0, -1, poLandscape, false);
    EXPECT_TRUE(printer.IsVirtual());
    EXPECT_FALSE(printer.HasDeviceSettings());
    EXPECT_EQ(printer.PaperWidth, 2970);
    EXPECT_EQ(printer.PaperIds.size(), 67u);
    EXPECT_EQ(Geometry().PageWidth, 1071);

    // The list of a later attach no longer has it; choosing back works.
    printer.AttachPrinter(qt);
    EXPECT_EQ(printer.Printers, (QStringList{"PDF A", "Virtual printer"}));
    printer.ChoosePrinter(printer.VirtualIndex);
    printer.ChoosePrinter(0);
    EXPECT_TRUE(printer.HasDeviceSettings());
    EXPECT_EQ(printer.PaperSize, kPaperA4);

    installed.clear();
    printer.Refresh();
    EXPECT_TRUE(printer.IsVirtual());
}

TEST_F(PdfPrinters, PrintsPagesIntoTheFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.pdf"));
    qt->Device().setOutputFileName(file);
    QPainter& painter = qt->BeginDoc(QStringLiteral("Отчёт"));
    EXPECT_TRUE(qt->Printing());
    // No paper changes while a job runs.
    printer.SetPaper(kPaperA4, 0, 0, -1, poLandscape, true);
    EXPECT_EQ(printer.Orientation, poPortrait);
    painter.drawText(100, 100, QStringLiteral("1"));
    qt->NewPage();
    painter.drawText(100, 100, QStringLiteral("2"));
    qt->EndDoc();
    EXPECT_FALSE(qt->Printing());

    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray content = pdf.readAll();
    EXPECT_EQ(content.count("/Type /Page\n") + content.count("/Type /Page "), 2) << content.left(200).data();
}

TEST_F(PdfPrinters, PropertiesDialogOfTheCurrentPrinter)
{
    // Closes the dialog that is about to show with OK or Cancel; tells whether one showed.
    const auto answerNextDialog = [](bool ok, bool& shown) {
        QTimer::singleShot(0, [ok, &shown] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            shown = dialog != nullptr;
            if (dialog)
                ok ? dialog->accept() : dialog->reject();
        });
    };
    const QPageLayout before = qt->Device().pageLayout();
    bool shown = false;
    answerNextDialog(false, shown);
    EXPECT_FALSE(PrinterPropertiesDialog(printer, nullptr));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(qt->Device().pageLayout().isEquivalentTo(before));
    answerNextDialog(true, shown);
    EXPECT_TRUE(PrinterPropertiesDialog(printer, nullptr));
    EXPECT_TRUE(shown);

    printer.ChoosePrinter(printer.VirtualIndex);
    answerNextDialog(true, shown);
    EXPECT_FALSE(PrinterPropertiesDialog(printer, nullptr));
    QApplication::processEvents();
    EXPECT_FALSE(shown);
}

}  // namespace
