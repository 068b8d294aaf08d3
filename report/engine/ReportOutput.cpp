// What a report does with its prepared pages: shows them, exports them through a filter, and
// saves and reloads them as prepared-report files.
#include <exception>

#include <QScopeGuard>

#include "report/engine/EMFPages.h"
#include "report/engine/PreviewHost.h"
#include "report/engine/ProgressWindow.h"
#include "report/engine/Report.h"
#include "report/export/ExportFilter.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"
#include "report/runtime/WorkClaim.h"

void TrpReport::SetPreview(TrpPreviewHost* preview)
{
    preview_ = preview ? preview->Handle() : nullptr;
}

void TrpReport::ShowReport()
{
    BuildReportPages();
    // A failed build has nothing to show; a stopped one shows what it built.
    if (lastBuild_ != TBuildOutcome::Failed)
        ShowReportPages();
}

void TrpReport::ShowReportPages()
{
    TrpRunContext& c = context_;
    const TrpCurrentScope<TrpReport> currentReport(c.CurrentReport, this);
    const TrpCurrentScope<TrpReport> rootReport(c.RootReport, this);
    c.PrintModeFlag = true;
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, nullptr);
    if (EMFPages->Count() == 0)
        return;
    if (TrpPreviewHost* preview = Preview()) {
        preview->Connect(*this);
        return;
    }
    QString caption = LoadFrResString(c, 55207);   // "Preview"
    if (!Title.isEmpty())
        caption += QStringLiteral(" - ") + Title;
    if (c.ShowPreviewWindow)
        c.ShowPreviewWindow(*this, caption);
}

bool TrpReport::WithVisiblePages(const std::function<bool(TrpReport& owner)>& work)
{
    TrpPreviewHost* preview = Preview();
    TrpReport* shown = preview ? preview->ShownReport() : nullptr;
    if (EMFPages->Count() > 0 || !shown)
        return work(*this);
    preview->ReleasePages();
    const auto reconnect = qScopeGuard([preview, shown] { preview->Connect(*shown); });
    return work(*shown);
}

bool TrpReport::RunExport(TrpExportFilter& filter, const QString& fileName)
{
    // The pages are exported as the user sees them, never built anew.
    return WithVisiblePages([&](TrpReport& owner) { return owner.ExportOwnPages(filter, fileName); });
}

bool TrpReport::ExportOwnPages(TrpExportFilter& filter, const QString& fileName)
{
    TrpRunContext& c = context_;
    const TrpWorkClaim claim(c);
    if (!claim.Taken()) {
        c.Log(QStringLiteral("Экспорт отчёта «%1» не начат: другой отчёт ещё строится, печатается или экспортируется")
                  .arg(objectName()));
        return false;
    }
    c.PrintModeFlag = true;
    if (!filter.BeginExport(fileName))
        return false;
    const TrpCurrentScope<TrpReport> currentReport(c.CurrentReport, this);
    const TrpCurrentScope<TrpReport> rootReport(c.RootReport, this);
    c.TotalPages = EMFPages->Count();
    const auto exportPages = [this, &filter] {
        filter.WriteExport(*EMFPages, [this](int pageNo) { ShowProgressPage(pageNo); });
    };
    TrpProgressWindow* window = ProgressWindow();
    if (!window) {
        exportPages();
        return true;
    }
    // Cancel does not stop an export: a file is written whole or not at all.
    std::exception_ptr failure;
    window->BeginWork(TProgressWork::Export, Title);
    window->OnWork = [&] {
        try {
            exportPages();
        } catch (...) {
            failure = std::current_exception();
        }
        window->SetModalResult(mrOk);
    };
    window->ShowProgress(*this);
    window->OnWork = nullptr;
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

void TrpReport::LoadReportPages(const QString& fileName)
{
    EMFPages->LoadFromFile(fileName);
    Rebuildable = false;
}

void TrpReport::SaveReportPages(const QString& fileName)
{
    EMFPages->SaveToFile(fileName);
}
