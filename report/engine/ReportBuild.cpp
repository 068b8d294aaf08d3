// The build of a report's prepared pages: the template kept aside and restored, one or two
// passes under the progress window or without one, and the pass itself over every page.
#include <QBuffer>
#include <QPainter>

#include "report/data/Dataset.h"
#include "report/engine/EMFPages.h"
#include "report/engine/PreviewHost.h"
#include "report/engine/ProgressWindow.h"
#include "report/engine/Report.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/ErrorBox.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/WorkClaim.h"

namespace {

const QString kBusy = QStringLiteral("Отчёт «%1» не начат: другой отчёт ещё строится, печатается или экспортируется");

}  // namespace

bool TrpReport::BuildReportPages()
{
    TrpRunContext& c = context_;
    const TrpWorkClaim claim(c);
    if (!claim.Taken()) {
        c.Log(kBusy.arg(objectName()));
        lastBuild_ = TBuildOutcome::Failed;
        return false;
    }
    SelectPrinter(PrinterName);
    c.PrintModeFlag = true;
    c.CurDate = Date();
    c.CurTime = Now() - c.CurDate;
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, nullptr);
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, nullptr);
    const TrpCurrentScope<TrpReport> rootReport(c.RootReport, this);
    const TrpCurrentScope<TrpReport> currentReport(c.CurrentReport, this);
    BindParser();

    QBuffer snapshot;
    snapshot.open(QIODevice::ReadWrite);
    bool saved = false;
    bool built = false;
    try {
        PreDrawAligned();
        SaveToStream(snapshot);
        saved = true;
        if (CheckSubReportRings()) {
            if (OnBeginDoc)
                OnBeginDoc();
            built = BuildWithProgress();
            if (OnEndDoc)
                OnEndDoc();
        }
    } catch (const std::exception& error) {
        SetCalculationError(c, error);
    }
    const bool failed = c.ErrorFlag;
    const QString errorText = c.ErrorText;
    if (saved) {
        // The snapshot names the printer that was current; the template's own choice stays.
        const QString printerName = PrinterName;
        snapshot.seek(0);
        LoadFromStream(snapshot);
        PrinterName = printerName;
    }
    c.PrintModeFlag = true;
    FinalPass = false;
    c.FirstPassFlag = false;
    c.CurrentBand = nullptr;
    if (failed || c.DialogCancelled) {
        // No earlier build's pages may stand in for this one: nothing is left to show, print,
        // export or save, also in the preview that shows this report.
        ClearPreparedPages();
        lastBuild_ = TBuildOutcome::Failed;
        if (failed)
            ShowErrorBox(c, errorText);
        return false;
    }
    lastBuild_ = built ? TBuildOutcome::Built : TBuildOutcome::Stopped;
    return built;
}

void TrpReport::ClearPreparedPages()
{
    EMFPages->Clear();
    TrpPreviewHost* preview = Preview();
    if (preview && preview->ShownReport() == this)
        preview->Connect(*this);   // it takes the empty list in place of the pages it held
}

bool TrpReport::BuildWithProgress()
{
    TrpRunContext& c = context_;
    Terminated = false;
    c.TotalPages = 0;
    TrpProgressWindow* window = ProgressWindow();
    if (!window) {
        RunPasses();
        return !Terminated;
    }
    window->BeginWork(TwoPass ? TProgressWork::FirstPass : TProgressWork::Build, Title);
    window->OnWork = [this, window] {
        try {
            RunPasses();
        } catch (const std::exception& error) {
            SetCalculationError(context_, error);
        }
        window->SetModalResult(Terminated ? mrCancel : mrOk);
    };
    const int result = window->ShowProgress(*this);
    window->OnWork = nullptr;
    return result != mrCancel && !Terminated;
}

void TrpReport::RunPasses()
{
    TrpRunContext& c = context_;
    if (TwoPass) {
        // The first pass counts the pages for TOTALPAGES; its pages are dropped.
        c.FirstPassFlag = true;
        FinalPass = false;
        BuildPass();
        c.TotalPages = EMFPages->Count();
        EMFPages->Clear();
        if (Terminated)
            return;
        if (TrpProgressWindow* window = ProgressWindow())
            window->BeginWork(TProgressWork::Build, Title);
    }
    c.FirstPassFlag = false;
    FinalPass = true;
    BuildPass();
}

void TrpReport::BuildPass()
{
    TrpRunContext& c = context_;
    c.AppendMode = false;
    c.PageNo = 0;
    EMFPages->Clear();
    if (TrpProgressWindow* window = ProgressWindow())
        window->ProcessEvents();
    BuildAllPages();
}

TrpProgressWindow* TrpReport::ProgressWindow() const
{
    return ShowProgress && !OnProgress ? context_.ProgressWindow : nullptr;
}

void TrpReport::BuildAllPages()
{
    TrpRunContext& c = context_;
    Rebuildable = true;
    c.PrintModeFlag = true;
    const TrpCurrentScope<TrpReport> currentReport(c.CurrentReport, this);
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage);
    Dictionary.ClearCache();
    BindParser();
    c.ErrorFlag = false;
    const bool walk = Dataset && ReportType == rtMultiple;
    const bool secondPass = TwoPass && FinalPass;
    if (!secondPass) {
        c.CrossPassList.clear();
        for (const auto& page : Pages)
            page->IsSubTarget = false;
        c.DialogCancelled = false;
    }
    const auto eachPage = [this](uint8_t type, auto&& step) {
        for (const auto& page : Pages)
            if (page->Type == type)
                step(*page);
    };
    try {
        if (walk) {
            Dataset->Init();
            Dataset->First();
        }
        for (const auto& page : Pages)
            if (page->Type == ptDialog && !c.DialogCancelled)
                page->StartReport();
        if (!c.DialogCancelled) {
            eachPage(ptReport, [](TrpPage& page) { page.StartReport(); });
            eachPage(ptReport, [](TrpPage& page) { page.PrepareObjects(); });
            do {
                ShowProgressPage(c.PageNo + 1);
                for (size_t j = 0; j < Pages.size() && !Terminated; ++j) {
                    TrpPage& page = *Pages[j];
                    c.CurrentPage = &page;
                    if (!page.Visible && page.Type == ptReport) {
                        try {
                            page.RunScript(page.Script);   // it may make the page visible
                        } catch (const std::exception& error) {
                            SetCalculationError(c, error);
                        }
                    }
                    if (page.IsSubTarget || page.Type == ptDialog || !page.Visible)
                        continue;
                    page.BuildMode = bmDirect;
                    page.BuildPage();
                    c.AppendMode = false;
                    if (j + 1 < Pages.size() && Pages[j + 1]->PrintToPrevPage) {
                        --c.PageNo;
                        c.AppendMode = true;
                    } else {
                        c.PageNo = EMFPages->Count();
                        ShowProgressPage(c.PageNo);
                    }
                }
                ShowProgressPage(c.PageNo);
                if (walk)
                    Dataset->Next();
            } while (!Terminated && walk && !Dataset->Eof());
        }
    } catch (const std::exception& error) {
        SetCalculationError(c, error);
    }
    eachPage(ptReport, [](TrpPage& page) { page.EndReport(); });
    eachPage(ptDialog, [](TrpPage& page) { page.EndReport(); });
    if (walk)
        Dataset->Exit();
}

void TrpReport::PreDrawAligned()
{
    TrpRunContext& c = context_;
    QPainter canvas(&c.ScratchBitmap);
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage);
    for (const auto& page : Pages) {
        c.CurrentPage = page.get();
        for (const auto& object : page->Objects)
            if (object->BandAlign != baNone)
                object->Draw(&canvas);
    }
}
