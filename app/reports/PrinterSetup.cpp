#include "app/reports/PrinterSetup.h"

#include "core/Parameters.h"
#include "report/engine/Report.h"
#include "report/paper/PaperTable.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

void ApplyPrinterSettings(TrpReport& report, const Parameters& settings)
{
    TrpPrinter& printer = report.Context().ReportPrinter;
    const int bin = settings.PrinterBin > 0 ? settings.PrinterBin : printer.PaperBin;
    // Without a stored paper the template's own: the printer's current one is whatever the report
    // built last left there.
    const int templatePaper = report.Pages.empty() ? printer.PaperSize : report.Pages.front()->Size;
    const int size = settings.PrinterPaperSize > 0 ? settings.PrinterPaperSize : templatePaper;
    // A paper named by its id takes the printer's size for it.
    const bool custom = size == kCustomPaper;
    try {
        printer.SetPaper(size, custom ? printer.PaperWidth : 0, custom ? printer.PaperHeight : 0, bin,
                         settings.PrinterOrientation, false);
    } catch (const Exception& error) {
        report.Context().Log(QStringLiteral("Параметры печати не применены: %1").arg(QString::fromUtf8(error.what())));
    }
    for (const auto& page : report.Pages) {
        if (page->Type != ptReport)
            continue;
        const std::pair<int, int*> margins[] = {{settings.rtMarginLeft, &page->LeftMargin},
                                                {settings.rtMarginTop, &page->TopMargin},
                                                {settings.rtMarginRight, &page->RightMargin},
                                                {settings.rtMarginBottom, &page->BottomMargin}};
        for (const auto& [stored, margin] : margins)
            if (stored > 0)
                *margin = stored;
        page->ApplyPaper(printer.PaperSize, 0, 0, printer.PaperBin, printer.Orientation);
    }
}

void StorePrinterSettings(const TrpReport& report, Parameters& settings)
{
    const TrpPrinter& printer = report.Context().ReportPrinter;
    settings.PrinterOrientation = printer.Orientation;
    settings.PrinterBin = printer.PaperBin;
    settings.PrinterPaperSize = printer.PaperSize;
    if (report.Pages.empty() || report.Pages.front()->Type != ptReport)
        return;
    const TrpPage& page = *report.Pages.front();
    settings.rtMarginLeft = page.LeftMargin;
    settings.rtMarginTop = page.TopMargin;
    settings.rtMarginRight = page.RightMargin;
    settings.rtMarginBottom = page.BottomMargin;
}
