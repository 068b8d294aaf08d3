// The main window's state reports: the helper that builds them, given the parts of the window it
// works with, and the engine's log in the message log.
#include "app/main/FMain.h"

#include "app/board/BoardHost.h"
#include "app/detail/DetailControl.h"
#include "app/detail/HistoryTree.h"
#include "app/reports/StateReports.h"
#include "core/Device/HardConfig.h"
#include "core/Monitor.h"
#include "report/runtime/RunContext.h"
#include "report/ui/Preview.h"
#include "report/ui/PreviewForm.h"

#include <QTabWidget>

void TfmMain::InstallReports()
{
    ReportContext.OnLog = [this](const QString& message) { Monitor.Log.Post(message, kLogError); };
    TStateReportsWindow window;
    window.Window = this;
    window.Settings = &Settings;
    window.Actions = {acPreview,         acPevewErr,         acPrevewSelTemp, acPreviwSilBin, acReport2Col,
                      acReportColor,     acColorPrint,       acSortBySilos,   acReportExportRTF,
                      acReportExportTXT, acPrint,            miReportTimeManual};
    window.Placement = [this] { return FormStorage1.get(); };
    window.Board = [this] { return BoardSuspensionsOf(Board->SiloBins()); };
    window.ChosenPoll = [this] { return Detail->History->FocusedPoint(); };
    window.AirSensor = [this]() -> const TTIT* { return HardConfig ? HardConfig->GetAirTIT() : nullptr; };
    window.ShowPreviewPage = [this] { pcMain->setCurrentWidget(tsPreView); };
    window.PreviewPanel = rpPreview1;
    Reports = new TStateReports(ReportContext, std::move(window), this);
    Reports->SetPreview(rpPreview1);
    Reports->SetPreviewToolbar(rpPreview1->Window->Panel1, rpPreview1->Window->PageSetupBtn);
    Reports->InstallActions(aList);
}

// The preview page came up: the protocol of the chosen poll, unless a report action brought it.
void TfmMain::RebuildStateReport()
{
    Reports->PreviewPageShown();
}
