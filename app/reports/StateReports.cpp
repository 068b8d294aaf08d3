#include "app/reports/StateReports.h"

#include "app/main/ActionList.h"
#include "app/main/ModalRunner.h"
#include "app/reports/CellTexts.h"
#include "app/reports/FPrintColor.h"
#include "app/reports/FReportTime.h"
#include "app/reports/FSelTemperature.h"
#include "app/reports/PreviewButtons.h"
#include "app/reports/PrinterSetup.h"
#include "app/reports/ReportLayout.h"
#include "app/reports/ReportTables.h"
#include "app/reports/ReportTemplates.h"
#include "app/reports/SiloCardData.h"
#include "app/widgets/FileDialog.h"
#include "base/Exception.h"
#include "core/Parameters.h"
#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/EMFPages.h"
#include "report/engine/PreviewHost.h"
#include "report/engine/Report.h"
#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"
#include "report/ui/SpeedButton.h"

#include <QAction>
#include <QScopeGuard>
#include <QWidget>

namespace {

TMemoryTable* MakeTable(QObject* owner, const char* name, void (*define)(TMemoryTable&))
{
    auto* table = new TMemoryTable(owner);
    table->setObjectName(QLatin1String(name));
    define(*table);
    return table;
}

TrpDBDataSet* MakeSource(QObject* owner, const char* name, TMemoryTable* table)
{
    auto* source = new TrpDBDataSet(owner);
    source->setObjectName(QLatin1String(name));
    source->SetDataSet(table);
    return source;
}

}  // namespace

TStateReports::TStateReports(TrpRunContext& context, TStateReportsWindow window, QObject* parent)
    : QObject(parent), context_(context), window_(std::move(window))
{
    setObjectName(QStringLiteral("StateReports"));
    dmReport = MakeTable(this, "dmReport", DefineReportTable);
    dmReport2Col = MakeTable(this, "dmReport2Col", DefineReport2ColTable);
    dmReportSiloBin = MakeTable(this, "dmReportSiloBin", DefineSiloBinTable);
    dsReport = MakeSource(this, "dsReport", dmReport);
    dsSilBin = MakeSource(this, "dsSilBin", dmReportSiloBin);

    const QString protocol = QStringLiteral("Протокол температур");
    rpReport = MakeReport("rpReport", protocol);
    rpReport->PreviewButtons |= pbPageSetup;
    rpReport->Dataset = dsReport;
    rpReport2Col = MakeReport("rpReport2Col", protocol);
    rpReport2Col->Dataset = dsReport;
    rpSilBin = MakeReport("rpSilBin", QStringLiteral("Силос карта"));
    rpSilBin->Dataset = dsSilBin;

    rpRtfAdvExport1 = new TrpRtfAdvExport(context_, this);
    rpRtfAdvExport1->setObjectName(QStringLiteral("rpRtfAdvExport1"));
    rpTextExport1 = new TrpTextExport(context_, this);
    rpTextExport1->setObjectName(QStringLiteral("rpTextExport1"));
    rpTextExport1->ScaleX = rpTextExport1->ScaleY = 1;

    const auto colourPrinting = [this] { return window_.Actions.acColorPrint->isChecked(); };
    const TCellTextSource protocolCells{[this] { return ProtocolReport(); }, colourPrinting, window_.Settings};
    InstallCellTexts(*dmReport, protocolCells);
    InstallCellTexts(*dmReport2Col, protocolCells);
    InstallCellTexts(*dmReportSiloBin, {[this] { return rpSilBin; }, colourPrinting, window_.Settings});
}

TrpReport* TStateReports::MakeReport(const char* name, const QString& title)
{
    auto* report = new TrpReport(context_, this);
    report->setObjectName(QLatin1String(name));
    report->Title = title;
    LoadStateReportTemplate(*report);
    return report;
}

void TStateReports::SetPreview(TrpPreviewHost* preview)
{
    for (TrpReport* report : {rpReport, rpReport2Col, rpSilBin})
        report->SetPreview(preview);
}

void TStateReports::SetPreviewToolbar(QWidget* strip, TrpTBButton* pageSetup)
{
    toolbar_ = strip;
    pageSetup_ = pageSetup;
}

void TStateReports::SetPreviewButtons(bool twoColumns)
{
    if (!toolbar_)
        return;
    const TStateReportActions& a = window_.Actions;
    SetPreviewButton(*toolbar_, a.acReportExportRTF, ReportButtonGlyph(TReportButtonGlyph::ExportRtf), true);
    SetPreviewButton(*toolbar_, a.acReportExportTXT, ReportButtonGlyph(TReportButtonGlyph::ExportTxt), true);
    SetPreviewButton(*toolbar_, a.acReportColor, ReportButtonGlyph(TReportButtonGlyph::PrintColours), true);
    SetPreviewButton(*toolbar_, a.acReport2Col, ReportButtonGlyph(TReportButtonGlyph::TwoColumns), twoColumns);
}

void TStateReports::HookPageSetup()
{
    if (pageSetupHooked_ || !pageSetup_)
        return;
    pageSetupHooked_ = true;
    SavedPageSetupClick = pageSetup_->OnClick;
    pageSetup_->OnClick = [this](QObject* sender) { PageSetupClickHook(sender); };
}

void TStateReports::PageSetupClickHook(QObject* sender)
{
    if (SavedPageSetupClick)
        SavedPageSetupClick(sender);
    StorePrinterSettings(*rpReport, *window_.Settings);
}

TrpReport* TStateReports::ProtocolReport() const
{
    return window_.Settings->Print2Column ? rpReport2Col : rpReport;
}

TTITPoint TStateReports::ChosenPoll() const
{
    const std::optional<TTITPoint> poll = window_.ChosenPoll ? window_.ChosenPoll() : std::nullopt;
    if (!poll)
        throw Exception("Не выбрано время опроса");
    return *poll;
}

void TStateReports::ShowReport(const TProtocolFilter& filter)
{
    const TTITPoint poll = ChosenPoll();
    TrpReport& report = *ProtocolReport();
    const bool twoColumns = &report == rpReport2Col;
    BuildAndShow(report, [&] {
        PrepareReportLayout(report, poll, filter);
        FillReportData(poll, filter);
        if (!twoColumns)
            ApplyPrinterSettings(report, *window_.Settings);
    });
}

void TStateReports::FillReportData(const TTITPoint& poll, const TProtocolFilter& filter)
{
    const Parameters& settings = *window_.Settings;
    ::FillReportData(*dmReport, window_.Board(), poll, settings, filter,
                     window_.Actions.acSortBySilos->isChecked());
    if (!settings.Print2Column) {
        dsReport->SetDataSet(dmReport);
        return;
    }
    CopyToTwoColumn(*dmReport, *dmReport2Col);
    dsReport->SetDataSet(dmReport2Col);
}

void TStateReports::PrepareReportLayout(TrpReport& report, const TTITPoint& poll, const TProtocolFilter& filter)
{
    const TDateTime time = AskReportTime(poll.Time, window_.Actions.miReportTimeManual->isChecked(), window_.Window);
    SetProtocolHeader(report, time, filter);
    SetSiteTexts(report, window_.Settings->Elevator, window_.AirSensor ? window_.AirSensor() : nullptr,
                 *window_.Settings);
    PlaceReportColumns(report, &report == rpReport2Col);
    SetPreviewButtons(true);
    if (&report == rpReport)
        HookPageSetup();
}

void TStateReports::ShowSiloCard()
{
    BuildAndShow(*rpSilBin, [this] {
        FillSiloCardData(*dmReportSiloBin, window_.Board());
        SetSiteTexts(*rpSilBin, window_.Settings->Elevator, window_.AirSensor ? window_.AirSensor() : nullptr,
                     *window_.Settings);
        PlaceSilBinColumns(*rpSilBin);
        SetPreviewButtons(false);
    });
}

void TStateReports::BuildAndShow(TrpReport& report, const std::function<void()>& before)
{
    QWidget* panel = window_.PreviewPanel;
    if (panel)
        panel->hide();
    const auto showAgain = qScopeGuard([panel] {
        if (panel)
            panel->show();
    });
    if (before)
        before();
    report.ShowReport();
    // A build that failed shows the report empty, with its own buttons: its page setup stays at
    // hand to undo what made it fail.
    TrpPreviewHost* preview = report.Preview();
    if (preview && preview->ShownReport() != &report && report.EMFPages->Count() == 0)
        preview->Connect(report);
}

bool TStateReports::ExportShownPages(TrpExportFilter& filter, const QString& fileName)
{
    // The report's export takes the pages its embedded preview shows, whichever report they are.
    return rpReport->RunExport(filter, fileName);
}

void TStateReports::ShowSavedReport(const QString& fileName)
{
    TrpPreviewHost* embedded = rpReport->Preview();
    rpReport->SetPreview(nullptr);
    const auto attachAgain = qScopeGuard([this, embedded] { rpReport->SetPreview(embedded); });
    rpReport->LoadReportPages(fileName);
    rpReport->ShowReportPages();
}

void TStateReports::PreviewPageShown()
{
    if (!showingPage_)
        ShowReport({});
}

void TStateReports::InstallActions(TActionList& actions)
{
    actions_ = &actions;
    const TStateReportActions& a = window_.Actions;
    actions.SetWork(a.acPreview, [this] { ShowProtocolPage(window_.Actions.acPreview, {}); });
    actions.SetWork(a.acPevewErr, [this] { ShowProtocolPage(window_.Actions.acPevewErr, {true, 0, 0}); });
    actions.SetWork(a.acPrevewSelTemp, [this] { acPrevewSelTempExecute(); });
    actions.SetWork(a.acPreviwSilBin, [this] { acPreviwSilBinExecute(); });
    actions.SetWork(a.acReport2Col, [this] { acReport2ColExecute(); });
    actions.SetWork(a.acReportColor, [this] { acReportColorExecute(); });
    actions.SetWork(a.acReportExportRTF, [this] { acReportExportExecute(*rpRtfAdvExport1, QStringLiteral("rtf")); });
    actions.SetWork(a.acReportExportTXT, [this] { acReportExportExecute(*rpTextExport1, QStringLiteral("txt")); });
    actions.SetWork(a.acPrint, [this] { acPrintExecute(); });
}

void TStateReports::ShowProtocolPage(QAction* action, const TProtocolFilter& filter)
{
    action->setChecked(true);
    ShowReport(filter);
    showingPage_ = true;
    const auto done = qScopeGuard([this] { showingPage_ = false; });
    window_.ShowPreviewPage();
}

void TStateReports::acPrevewSelTempExecute()
{
    QAction* action = window_.Actions.acPrevewSelTemp;
    action->setChecked(true);
    const auto range = AskTemperatureRange(window_.Placement ? window_.Placement() : nullptr, window_.Window);
    if (range)
        ShowProtocolPage(action, {false, range->first, range->second});
}

void TStateReports::acPreviwSilBinExecute()
{
    window_.Actions.acPreviwSilBin->setChecked(true);
    ShowSiloCard();
    showingPage_ = true;
    const auto done = qScopeGuard([this] { showingPage_ = false; });
    window_.ShowPreviewPage();
}

void TStateReports::acReport2ColExecute()
{
    Parameters& settings = *window_.Settings;
    settings.Print2Column = !settings.Print2Column;
    window_.Actions.acReport2Col->setChecked(settings.Print2Column);
    RunCheckedProtocol();
}

void TStateReports::acReportColorExecute()
{
    TfmPrintColor dialog(*window_.Settings, window_.Window);
    ExecModal(dialog);
    RunCheckedProtocol();
}

// The protocol shown last is built again with what changed.
void TStateReports::RunCheckedProtocol()
{
    const TStateReportActions& a = window_.Actions;
    for (QAction* action : {a.acPreview, a.acPrevewSelTemp, a.acPevewErr})
        if (action->isChecked()) {
            actions_->Execute(action);
            return;
        }
}

void TStateReports::acReportExportExecute(TrpExportFilter& filter, const QString& suffix)
{
    const QString fileName = AskFileName(
        window_.Window, QStringLiteral("ReportExportDialog"), QFileDialog::AcceptSave,
        {QStringLiteral("*.%1 (*.%1)").arg(suffix), QStringLiteral("Все файлы (*)")}, suffix);
    if (!fileName.isEmpty())
        ExportShownPages(filter, fileName);
}

void TStateReports::acPrintExecute()
{
    const QString fileName =
        AskFileName(window_.Window, QStringLiteral("OpenReportDialog"), QFileDialog::AcceptOpen,
                    {QStringLiteral("Файлы отчетов (*.rpp)"), QStringLiteral("Все файлы (*)")}, QStringLiteral("rpp"));
    if (!fileName.isEmpty())
        ShowSavedReport(fileName);
}
