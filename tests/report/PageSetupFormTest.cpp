// The preview's page setup: margins between page units and hundredths of a millimetre both
// ways, the dialog starting at the printer's paper and handing back what the user chose, and its
// printer choice: made at once with that printer's papers and trays, undone by any end but OK.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRadioButton>

#include "QtPrinters.h"
#include "TestData.h"
#include "report/paper/PaperTable.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"
#include "report/ui/PageSetupForm.h"

namespace {

TEST(PageSetup, MarginsBetweenPageUnitsAndHundredthsOfAMillimetre)
{
    const struct {
        int units, hundredths;
    } toDialog[] = {{20, 555}, {15, 416}, {10, 277}, {0, 0}, {18, 500}, {36, 1000}};
    for (const auto& c : toDialog)
        EXPECT_EQ(PageUnitsToHundredthsMm(c.units), c.hundredths) << c.units;
    const struct {
        int hundredths, units;
    } fromDialog[] = {{1000, 36}, {555, 20}, {416, 15}, {277, 10}, {500, 18}, {13, 0}, {14, 1}, {0, 0}};
    for (const auto& c : fromDialog)
        EXPECT_EQ(HundredthsMmToPageUnits(c.hundredths), c.units) << c.hundredths;
    for (int units = 0; units <= 400; ++units)
        ASSERT_EQ(HundredthsMmToPageUnits(PageUnitsToHundredthsMm(units)), units) << "a margin confirmed stays";
}

TEST(PageSetup, TheDialogStartsAtThePrintersPaperAndGivesTheChoices)
{
    TrpRunContext context;
    StartReportPrinter(context);
    TrpPrinter& printer = context.ReportPrinter;
    printer.SetPaper(kPaperA4, 0, 0, -1, poLandscape, true);
    TrpPageSetupForm dialog(context, printer);
    EXPECT_EQ(dialog.PaperSize(), kPaperA4);
    EXPECT_EQ(dialog.Orientation(), poLandscape);
    EXPECT_EQ(dialog.CBPaper->count(), int(printer.PaperIds.size()));
    EXPECT_EQ(dialog.PaperBin(), -1);

    dialog.SetMargins(QMargins(555, 416, 277, 1000));
    EXPECT_EQ(dialog.ELeft->value(), 5.55);
    EXPECT_EQ(dialog.EBottom->value(), 10.0);
    dialog.ETop->setValue(12.34);
    dialog.CBPaper->setCurrentIndex(dialog.CBPaper->findData(11));
    dialog.RBPortrait->setChecked(true);
    EXPECT_EQ(dialog.Margins(), QMargins(555, 1234, 277, 1000));
    EXPECT_EQ(dialog.PaperSize(), 11);   // A5
    EXPECT_EQ(dialog.Orientation(), poPortrait);
}

// A custom size's width and height are asked in millimetres, upright, and given as the sheet
// lies. OK first tries the sheet: 110.7 mm are round(1107 x 91.6256157635468 / 254) = 399 units,
// refused by a check that asks for 400; 110.8 mm are 400. The printer keeps its own paper.
TEST(PageSetup, ACustomSizeIsAskedInMillimetresAndOkTakesOnlyASheetTheCheckAccepts)
{
    TrpRunContext context;
    StartReportPrinter(context);
    QStringList boxes;
    context.MessageBox = [&boxes](const QString& text, const QString&, int) {
        boxes << text;
        return 1;
    };
    TrpPrinter& printer = context.ReportPrinter;
    printer.SetPaper(kPaperA4, 0, 0, -1, poPortrait, true);
    TrpPageSetupForm dialog(context, printer);
    EXPECT_FALSE(dialog.EWidth->isEnabled()) << "A4 has its size";
    EXPECT_EQ(dialog.PaperWidth(), 0);
    dialog.CBPaper->setCurrentIndex(dialog.CBPaper->findData(kCustomPaper));
    EXPECT_TRUE(dialog.EWidth->isEnabled());
    EXPECT_EQ(dialog.EWidth->value(), 210.0) << "the sheet the printer has";
    EXPECT_EQ(dialog.EHeight->value(), 297.0);
    EXPECT_EQ(dialog.EWidth->minimum(), 10.0) << "no sheet of nothing";
    dialog.EWidth->setValue(100.5);
    dialog.EHeight->setValue(150.0);
    EXPECT_EQ(dialog.PaperWidth(), 1005);
    EXPECT_EQ(dialog.PaperHeight(), 1500);
    dialog.RBLandscape->setChecked(true);
    EXPECT_EQ(dialog.PaperWidth(), 1500) << "as the sheet lies";
    EXPECT_EQ(dialog.PaperHeight(), 1005);
    dialog.RBPortrait->setChecked(true);

    std::vector<int> heights;
    QMargins checkedMargins;
    dialog.CheckSheet = [&](const TPaperGeometry& sheet, const QMargins& margins) {
        heights.push_back(sheet.PageHeight);
        checkedMargins = margins;
        return sheet.PageHeight < 400 ? QStringLiteral("мал") : QString();
    };
    dialog.SetMargins(QMargins(1000, 555, 0, 277));
    dialog.EHeight->setValue(110.7);
    dialog.show();
    dialog.done(mrOk);
    EXPECT_TRUE(dialog.isVisible()) << "refused: the dialog stays";
    EXPECT_EQ(boxes, QStringList{QStringLiteral("мал")});
    EXPECT_EQ(printer.PaperSize, kPaperA4);
    EXPECT_EQ(printer.PaperHeight, 2970);
    dialog.EHeight->setValue(110.8);
    dialog.done(mrOk);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), mrOk);
    EXPECT_EQ(heights, (std::vector<int>{399, 400}));
    EXPECT_EQ(checkedMargins, QMargins(36, 20, 0, 10)) << "in page units";
    EXPECT_EQ(printer.PaperSize, kPaperA4) << "the caller applies the paper";
    EXPECT_EQ(dialog.PaperHeight(), 1108);
}

TEST(PageSetup, ThePrinterChosenBringsItsPapersAndTraysAndOnlyOkKeepsIt)
{
    // "Лазерный" has the trays of the PPD, "Матричный" none.
    TrpRunContext context;
    context.PlatformPrinter = std::make_unique<TrpQtPrinter>(
        [] { return QStringList{"Лазерный", "Матричный"}; },
        [](const QString& name) {
            return name == QStringLiteral("Лазерный") ? PpdPaperSources(TestDataPath("trays.ppd"))
                                                      : std::vector<TrpPaperSource>();
        });
    StartReportPrinter(context);
    TrpPrinter& printer = context.ReportPrinter;
    printer.SetPaper(kPaperA4, 0, 0, 258, poLandscape, true);   // the second tray

    for (const int result : {mrCancel, mrOk}) {
        TrpPageSetupForm dialog(context, printer);
        EXPECT_EQ(dialog.CBPrinter->count(), 3) << "the two printers and the virtual one";
        EXPECT_EQ(dialog.CBPrinter->currentIndex(), 0);
        EXPECT_EQ(dialog.CBBin->count(), 6);
        EXPECT_EQ(dialog.PaperBin(), 258);

        dialog.CBPrinter->setCurrentIndex(1);
        emit dialog.CBPrinter->activated(1);
        EXPECT_EQ(printer.CurrentIndex, 1) << "chosen at once";
        EXPECT_EQ(dialog.CBBin->count(), 1) << "only the default source";
        EXPECT_EQ(dialog.PaperBin(), -1);
        EXPECT_EQ(dialog.CBPaper->count(), int(printer.PaperIds.size()));
        dialog.done(result);
        if (result == mrCancel) {
            EXPECT_EQ(printer.CurrentIndex, 0);
            EXPECT_EQ(printer.PaperBin, 258) << "the tray it had";
            EXPECT_EQ(printer.Orientation, poLandscape);
        }
    }
    EXPECT_EQ(printer.CurrentIndex, 1);
}

} // namespace
