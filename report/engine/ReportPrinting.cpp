// Printing of a report's prepared pages: the page list, copies and collation, odd and even pages,
// one sheet per page through a print job on the report printer, under the progress window.
#include "report/engine/Report.h"

#include <algorithm>
#include <utility>

#include <QPainter>

#include "base/Rounding.h"
#include "report/engine/EMFPages.h"
#include "report/engine/ProgressWindow.h"
#include "report/export/PageRange.h"
#include "report/paper/PrintJob.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/ErrorBox.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"
#include "report/runtime/WorkClaim.h"

namespace {

constexpr int kUntitledText = 55209;
constexpr int kInvalidPrinterText = 55210;

// The page list of a report of that many pages; "5-" runs to the last page. A list that names
// no page of the report is refused before anything is sent.
TrpPageRange PageListOf(const QString& text, int pageCount)
{
    QString list = text;
    list.remove(QLatin1Char(' '));
    if (list.endsWith(QLatin1Char('-')))
        list += QString::number(pageCount);
    TrpPageRange range(list);
    if (!range.SelectsAny(pageCount))
        throw EPrinter(QStringLiteral("Страниц «%1» в отчёте нет: в нём %2 стр.").arg(text).arg(pageCount));
    return range;
}

// The report's title, or "Untitled".
QString JobTitle(const TrpReport& report)
{
    return report.Title.isEmpty() ? LoadFrResString(report.Context(), kUntitledText) : report.Title;
}

bool PrintsPage(uint8_t printPages, int pageNo)
{
    switch (printPages) {
    case ppOdd: return pageNo % 2 == 1;
    case ppEven: return pageNo % 2 == 0;
    default: return true;
    }
}

// Where a prepared page goes on the printer's canvas, in printer pixels from the printable
// area's corner: the whole sheet for a page laid out on it, else the printable area less the
// page's margins.
QRect PrintRect(const TrpEMFPage& page)
{
    const TPaperGeometry& g = page.PaperGeometry;
    if (page.MarginsOn)
        return QRect(QPoint(-g.DeviceOffsetX, -g.DeviceOffsetY),
                     QPoint(g.DevicePageWidth - g.DeviceOffsetX, g.DevicePageHeight - g.DeviceOffsetY));
    const auto scaled = [](int units, int devicePixels, int pageUnits) {
        return pageUnits > 0 ? int(Round(double(units) * devicePixels / pageUnits)) : 0;
    };
    return QRect(QPoint(scaled(page.LeftMargin, g.DevicePrintWidth, g.PrintWidth),
                        scaled(page.TopMargin, g.DevicePrintHeight, g.PrintHeight)),
                 QPoint(g.DevicePrintWidth - scaled(page.RightMargin, g.DevicePrintWidth, g.PrintWidth),
                        g.DevicePrintHeight - scaled(page.BottomMargin, g.DevicePrintHeight, g.PrintHeight)));
}

}  // namespace

bool TrpReport::PrintReportPages(const QString& pageNumbers, int copies, bool collate, uint8_t printPages)
{
    return WithVisiblePages(
        [&](TrpReport& owner) { return owner.PrintOwnPages(pageNumbers, copies, collate, printPages); });
}

bool TrpReport::PrintOwnPages(const QString& pageNumbers, int copies, bool collate, uint8_t printPages)
{
    TrpRunContext& c = context_;
    const TrpWorkClaim claim(c);
    if (!claim.Taken()) {
        c.Log(QStringLiteral("Печать отчёта «%1» не начата: другой отчёт ещё строится, печатается или экспортируется")
                  .arg(objectName()));
        return false;
    }
    const TrpCurrentScope<TrpReport> currentReport(c.CurrentReport, this);
    const TrpCurrentScope<TrpReport> rootReport(c.RootReport, this);
    Terminated = false;
    if (EMFPages->Count() == 0)
        return false;
    try {
        const TrpPageRange pageList = PageListOf(pageNumbers, EMFPages->Count());
        QString fileName;
        if (c.ReportPrinter.IsVirtual()) {
            if (!c.PdfFileDialog)
                throw EPrinter(QStringLiteral("Виртуальный принтер печатает в файл PDF, а выбрать файл негде"));
            fileName = c.PdfFileDialog(JobTitle(*this));
            if (fileName.isEmpty())
                return false;
        }
        const auto work = [&] { PrintAllPages(pageList, copies, collate, printPages, fileName); };
        if (TrpProgressWindow* window = ProgressWindow()) {
            window->BeginWork(TProgressWork::Print, Title);
            window->OnWork = [&] {
                work();
                window->SetModalResult(mrOk);
            };
            window->ShowProgress(*this);
            window->OnWork = nullptr;
        } else {
            // No pointer events of the preview reach the report while it prints.
            struct TDetached {
                TMouseOverObjectEvent& event;
                TMouseOverObjectEvent saved = std::exchange(event, nullptr);
                ~TDetached() { event = std::move(saved); }
            } detached{OnMouseOverObject};
            work();
        }
    } catch (const std::exception& error) {
        if (c.ProgressWindow)
            c.ProgressWindow->OnWork = nullptr;
        ShowErrorBox(c, QString::fromUtf8(error.what()));
        return false;
    }
    return !Terminated;
}

void TrpReport::PrintAllPages(const TrpPageRange& pageList, int copies, bool collate, uint8_t printPages,
                              const QString& fileName)
{
    copies = std::max(copies, 1);
    if (OnPrintReport)
        OnPrintReport();
    TrpPrintJob job(context_.ReportPrinter, JobTitle(*this), fileName, collate ? 1 : copies);
    // Collated: the whole list once per copy. Otherwise each page's copies together, made by
    // the printer where it can.
    const int passes = collate ? copies : 1;
    const int sheetsPerPage = collate || job.CopiesMade() >= copies ? 1 : copies;
    for (int pass = 0; pass < passes; ++pass)
        for (int index = 0; index < EMFPages->Count(); ++index) {
            if (!pageList.Contains(index + 1) || !PrintsPage(printPages, index + 1))
                continue;
            for (int sheet = 0; sheet < sheetsPerPage; ++sheet) {
                PrintPage(job, index);
                if (Terminated) {
                    job.Abort();
                    return;
                }
            }
        }
    job.End();
}

void TrpReport::PrintPage(TrpPrintJob& job, int index)
{
    TrpEMFPage& page = EMFPages->Page(index);
    QPainter& canvas = job.NewSheet(page);
    context_.ReportPrinter.FillPaperGeometry(page.PaperGeometry);
    page.Visible = true;
    EMFPages->Draw(index, canvas, PrintRect(page));
    // Drawn again hidden, the page lets go of the objects unpacked for it.
    page.Visible = false;
    EMFPages->Draw(index, canvas, QRect());
    ShowProgressPage(index + 1);
}

bool TrpReport::SwitchPrinter(int oldIndex, int newIndex)
{
    TrpPrinter& printer = context_.ReportPrinter;
    const auto choose = [&](int index) {
        printer.ChoosePrinter(index);
        PrinterName = printer.Printers.value(printer.CurrentIndex);
        // The next paper is applied whatever it is.
        printer.PaperSize = -1;
        ApplyPagesPaper();
    };
    try {
        choose(newIndex);
        // A printer that gives no settings has handed over to the virtual one.
        if (printer.CurrentIndex == newIndex)
            return true;
    } catch (const EPrinter&) {
    }
    ShowErrorBox(context_, LoadFrResString(context_, kInvalidPrinterText));
    try {
        choose(oldIndex);
    } catch (const EPrinter&) {
        // The printer stays where it fell back to; its pages have their paper on it.
    }
    return false;
}

void TrpReport::ApplyPagesPaper()
{
    for (const auto& page : Pages)
        page->ApplyPaper(page->Size, page->PaperWidth, page->PaperHeight, page->PaperBin, page->Orientation);
}
