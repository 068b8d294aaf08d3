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
