#include "report/export/ExportFilter.h"

#include <algorithm>

#include <QIODevice>
#include <QScopeGuard>

#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/file/AtomicFile.h"
#include "report/runtime/ReportErrors.h"
#include "report/runtime/RunContext.h"

TrpExportFilter::TrpExportFilter(QObject* owner) : QObject(owner) {}

TrpExportFilter::~TrpExportFilter()
{
    ClearLines();
}

void TrpExportFilter::ClearLines()
{
    Lines.clear();
}

bool TrpExportFilter::BeginExport(const QString& fileName)
{
    FileName = fileName;
    bool go = true;
    if (OnBeforeExport)
        OnBeforeExport(FileName, go);
    return go && ShowModal() == mrOk;
}

void TrpExportFilter::WriteExport(TrpEMFPages& pages, const std::function<void(int pageNo)>& pageDone)
{
    TrpReport& report = pages.Report();
    // The report's RunExport may have made this filter current already; any other export running
    // is refused.
    TrpExportFilter* const previous = report.CurrentFilter;
    if (Stream || (previous && previous != this))
        throw EWriteError(QStringLiteral("Экспорт уже выполняется"));
    report.Context().PrintModeFlag = true;
    report.CurrentFilter = this;
    Pages = &pages;
    const auto done = qScopeGuard([&] {
        report.CurrentFilter = previous;
        Stream = nullptr;
        Pages = nullptr;
        PageIndex = -1;
    });
    WriteFileAtomically(FileName, [&](QIODevice& file) {
        Stream = &file;
        OnBeginDoc();
        for (PageIndex = 0; PageIndex < pages.Count(); ++PageIndex) {
            OnBeginPage();
            pages.ExportPage(PageIndex);
            if (pageDone)
                pageDone(PageIndex + 1);
            OnEndPage();
        }
        OnEndDoc();
    });
    if (OnAfterExport)
        OnAfterExport(FileName);
}

void TrpExportFilter::Write(const QByteArray& octets)
{
    if (!Stream)
        throw EWriteError(QStringLiteral("Экспорт не начат"));
    if (Stream->write(octets) != octets.size())
        throw EWriteError(Stream->errorString());
}

QSize TrpExportFilter::PageSize() const
{
    if (!Pages || PageIndex < 0 || PageIndex >= Pages->Count())
        return {};
    const TPaperGeometry& g = Pages->Page(PageIndex).PaperGeometry;
    return {std::max(g.PageWidth, 0), std::max(g.PageHeight, 0)};
}
