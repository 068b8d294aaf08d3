#include "report/paper/PrintJob.h"

#include "report/paper/PlatformPrinter.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/ReportErrors.h"

TrpPrintJob::TrpPrintJob(TrpPrinter& printer, const QString& title, const QString& fileName, int copies)
    : printer_(printer),
      platform_(printer.Platform()),
      printerName_(printer.Printers.value(printer.CurrentIndex)),
      virtual_(printer.IsVirtual()),
      title_(title),
      fileName_(fileName),
      copies_(copies)
{
    if (!platform_)
        throw EPrinter(QStringLiteral("Печать недоступна: принтеры не подключены"));
    if (virtual_) {
        if (fileName_.isEmpty())
            throw EPrinter(QStringLiteral("Виртуальный принтер печатает в файл PDF, а файл не назван"));
        copiesMade_ = 1;
    } else {
        copiesMade_ = platform_->SetCopies(copies_);
    }
    // What the printer cannot make is sent sheet by sheet instead.
    if (copiesMade_ < copies_)
        copies_ = copiesMade_ = 1;
}

TrpPrintJob::~TrpPrintJob()
{
    try {
        Abort();
    } catch (...) {
        // The job is gone either way.
    }
}

QPainter& TrpPrintJob::NewSheet(const TrpPreparedPaper& paper)
{
    if (!canvas_) {
        Begin(paper);
    } else if (printer_.IsEqualPaper(paper.Size, paper.PaperWidth, paper.PaperHeight, paper.PaperBin,
                                     paper.Orientation)) {
        platform_->NewPage();
    } else if (platform_->PrintsToFile()) {
        printer_.SetJobPaper(paper.Size, paper.PaperWidth, paper.PaperHeight, paper.PaperBin, paper.Orientation);
        platform_->NewPage();
    } else {
        End();
        Begin(paper);
    }
    return *canvas_;
}

void TrpPrintJob::Begin(const TrpPreparedPaper& paper)
{
    printer_.SetPaper(paper.Size, paper.PaperWidth, paper.PaperHeight, paper.PaperBin, paper.Orientation, true);
    if (printer_.IsVirtual() != virtual_)
        throw EPrinter(QStringLiteral("Принтер «%1» недоступен").arg(printerName_));
    if (virtual_) {
        canvas_ = &platform_->BeginFileDoc(title_, fileName_, printer_.DeviceMode());
    } else {
        // The paper has set the printer's copies back to one.
        platform_->SetCopies(copies_);
        canvas_ = &platform_->BeginDoc(title_);
    }
}

void TrpPrintJob::End()
{
    if (!canvas_)
        return;
    canvas_ = nullptr;
    platform_->EndDoc();
}

void TrpPrintJob::Abort()
{
    if (!canvas_)
        return;
    canvas_ = nullptr;
    platform_->Abort();
}
