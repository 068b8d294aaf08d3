#include "app/reports/PrinterSetup.h"

#include "core/Parameters.h"
#include "report/engine/BandRoom.h"
#include "report/engine/Report.h"
#include "report/paper/PaperTable.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

namespace {

// A paper: its id and, for a custom size, its sheet as it lies (tenths of a millimetre).
struct TPaper {
    int Size = kPaperA4;
    int Width = 0;
    int Height = 0;
};

QString PaperText(const TPaper& paper)
{
    if (paper.Size == kCustomPaper)
        return QStringLiteral("особого размера %1 × %2 мм").arg(paper.Width / 10.0).arg(paper.Height / 10.0);
    return QStringLiteral("№ %1").arg(paper.Size);
}

// The printer's default paper: the one it started on, else A4, else the first it has.
TPaper DefaultPaper(const TrpRunContext& context)
{
    const TrpPrinter& printer = context.ReportPrinter;
    for (const int size : {context.DefaultPaperSize, kPaperA4})
        if (size > 0 && size != kCustomPaper && printer.HasSheet(size, 0, 0))
            return {size};
    return {printer.PaperIds.empty() ? kPaperA4 : printer.PaperIds.front()};
}

// The printer and every report page of the report take the paper; the stored margins that are set
// go to the pages first. A paper the printer refuses is told and the printer's own stays.
void ApplyPaper(TrpReport& report, const TPaper& paper, int bin, const Parameters& settings)
{
    TrpPrinter& printer = report.Context().ReportPrinter;
    try {
        printer.SetPaper(paper.Size, paper.Width, paper.Height, bin, settings.PrinterOrientation, false);
    } catch (const Exception& error) {
        report.Context().Log(QStringLiteral("Параметры печати не применены: %1").arg(QString::fromUtf8(error.what())));
    }
    const bool custom = printer.PaperSize == kCustomPaper;
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
        page->ApplyPaper(printer.PaperSize, custom ? printer.PaperWidth : 0, custom ? printer.PaperHeight : 0,
                         printer.PaperBin, printer.Orientation);
    }
}

}  // namespace

void ApplyPrinterSettings(TrpReport& report, const Parameters& settings)
{
    TrpRunContext& context = report.Context();
    TrpPrinter& printer = context.ReportPrinter;
    const int bin = settings.PrinterBin > 0 ? settings.PrinterBin : printer.PaperBin;
    // Without a stored paper the template's own: the printer's current one is whatever the report
    // built last left there.
    TPaper paper{settings.PrinterPaperSize, settings.PrinterPaperWidth, settings.PrinterPaperHeight};
    if (settings.PrinterPaperSize <= 0) {
        paper = {printer.PaperSize, printer.PaperWidth, printer.PaperHeight};
        if (!report.Pages.empty())
            paper = {report.Pages.front()->Size, report.Pages.front()->PaperWidth, report.Pages.front()->PaperHeight};
    }
    const QString printerName = printer.Printers.value(printer.CurrentIndex);
    // A stored paper that cannot be used gives way to the printer's default one: a report is never
    // locked out by its page setup.
    if (!printer.HasSheet(paper.Size, paper.Width, paper.Height)) {
        const TPaper fallback = DefaultPaper(context);
        context.Log(QStringLiteral("Бумаги %1 из параметров страницы нет у принтера «%2»: взята его бумага %3")
                        .arg(PaperText(paper), printerName, PaperText(fallback)));
        paper = fallback;
    }
    ApplyPaper(report, paper, bin, settings);
    TPaperGeometry sheet;
    printer.FillPaperGeometry(sheet);
    if (const QString refusal = BandsRoomRefusal(report, sheet); !refusal.isEmpty()) {
        const TPaper fallback = DefaultPaper(context);
        context.Log(QStringLiteral("Бумага %1 из параметров страницы не подходит отчёту: %2; взята бумага %3")
                        .arg(PaperText(paper), refusal, PaperText(fallback)));
        ApplyPaper(report, fallback, bin, settings);
    }
}

void StorePrinterSettings(const TrpReport& report, Parameters& settings)
{
    const TrpPrinter& printer = report.Context().ReportPrinter;
    settings.PrinterOrientation = printer.Orientation;
    settings.PrinterBin = printer.PaperBin;
    settings.PrinterPaperSize = printer.PaperSize;
    const bool custom = printer.PaperSize == kCustomPaper;
    settings.PrinterPaperWidth = custom ? printer.PaperWidth : 0;
    settings.PrinterPaperHeight = custom ? printer.PaperHeight : 0;
    if (report.Pages.empty() || report.Pages.front()->Type != ptReport)
        return;
    const TrpPage& page = *report.Pages.front();
    settings.rtMarginLeft = page.LeftMargin;
    settings.rtMarginTop = page.TopMargin;
    settings.rtMarginRight = page.RightMargin;
    settings.rtMarginBottom = page.BottomMargin;
}
