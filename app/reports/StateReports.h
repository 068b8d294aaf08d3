#pragma once
// The state reports of the main window: the temperature protocol of the chosen poll (one or two
// columns of suspensions, all readings, only a temperature range, or only the suspensions over
// the maximum temperature) and the silo card, built by the report engine from the program's
// templates over in-memory tables and shown in the embedded preview; their export to RTF and
// plain text, the page setup kept in the settings, and reopening a saved prepared report.
//
// The reports, tables, data sources and export filters are components of this object (its
// children, by the names the templates use), so that the templates find them.
#include "app/reports/BoardSuspension.h"
#include "app/reports/ProtocolData.h"
#include "core/TITPoint.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class IniFile;
class QAction;
class QWidget;
class TActionList;
class TMemoryTable;
class TrpDBDataSet;
class TrpExportFilter;
class TrpPreviewHost;
class TrpReport;
class TrpRtfAdvExport;
class TrpRunContext;
class TrpTBButton;
class TrpTextExport;
class TTIT;
struct Parameters;

// The main window's actions and menu item that the reports run and read.
struct TStateReportActions {
    QAction* acPreview = nullptr;
    QAction* acPevewErr = nullptr;
    QAction* acPrevewSelTemp = nullptr;
    QAction* acPreviwSilBin = nullptr;
    QAction* acReport2Col = nullptr;
    QAction* acReportColor = nullptr;
    QAction* acColorPrint = nullptr;
    QAction* acSortBySilos = nullptr;
    QAction* acReportExportRTF = nullptr;
    QAction* acReportExportTXT = nullptr;
    QAction* acPrint = nullptr;
    QAction* miReportTimeManual = nullptr;
};

// What the reports need of the main window.
struct TStateReportsWindow {
    QWidget* Window = nullptr;   // the dialogs' owner
    Parameters* Settings = nullptr;
    TStateReportActions Actions;
    std::function<IniFile*()> Placement;   // where dialogs keep their place
    std::function<TBoardSuspensions()> Board;
    // The poll focused in the poll history, none when none is.
    std::function<std::optional<TTITPoint>()> ChosenPoll;
    std::function<const TTIT*()> AirSensor;
    // Shows the preview page.
    std::function<void()> ShowPreviewPage;
    // The panel that shows the reports, hidden while one is built.
    QWidget* PreviewPanel = nullptr;
};

class TStateReports : public QObject {
public:
    // The templates are read into the reports; the engine's log goes where the context says.
    TStateReports(TrpRunContext& context, TStateReportsWindow window, QObject* parent = nullptr);

    // The embedded preview every report shows in (none: a preview window of its own).
    void SetPreview(TrpPreviewHost* preview);
    // The preview's tool bar strip, which gets buttons of the report actions, and its page-setup
    // button, after whose work the one-column protocol's page setup is kept in the settings.
    void SetPreviewToolbar(QWidget* strip, TrpTBButton* pageSetup);

    // Builds the protocol of the chosen poll and shows it: two columns when the settings say so,
    // else one column on the paper and margins kept in the settings. Raises "Не выбрано время
    // опроса" without a chosen poll.
    void ShowReport(const TProtocolFilter& filter);
    // Builds the silo card of the board and shows it.
    void ShowSiloCard();
    // Exports the pages the embedded preview shows into the file; false when nothing was written.
    bool ExportShownPages(TrpExportFilter& filter, const QString& fileName);
    // Shows a saved prepared report in a preview window of its own, from which it is printed;
    // a damaged file raises and the embedded preview keeps what it showed.
    void ShowSavedReport(const QString& fileName);

    // Gives the actions their work.
    void InstallActions(TActionList& actions);
    // The preview page came up by itself: the protocol of all readings.
    void PreviewPageShown();

    TrpReport* rpReport = nullptr;
    TrpReport* rpReport2Col = nullptr;
    TrpReport* rpSilBin = nullptr;
    TMemoryTable* dmReport = nullptr;
    TMemoryTable* dmReport2Col = nullptr;
    TMemoryTable* dmReportSiloBin = nullptr;
    TrpDBDataSet* dsReport = nullptr;
    TrpDBDataSet* dsSilBin = nullptr;
    TrpRtfAdvExport* rpRtfAdvExport1 = nullptr;
    TrpTextExport* rpTextExport1 = nullptr;

private:
    TrpReport* MakeReport(const char* name, const QString& title);
    TrpReport* ProtocolReport() const;
    TTITPoint ChosenPoll() const;
    void FillReportData(const TTITPoint& poll, const TProtocolFilter& filter);
    void PrepareReportLayout(TrpReport& report, const TTITPoint& poll, const TProtocolFilter& filter);
    // Runs the build with the preview panel hidden, shown again whatever happens.
    void BuildAndShow(TrpReport& report, const std::function<void()>& before = {});
    // The export and colour buttons on the preview's tool bar, and the two-column one or not.
    void SetPreviewButtons(bool twoColumns);
    // The page-setup button runs its own work and then keeps the page setup (installed once).
    void HookPageSetup();
    void PageSetupClickHook(QObject* sender);

    // The actions' work.
    void ShowProtocolPage(QAction* action, const TProtocolFilter& filter);
    void acPrevewSelTempExecute();
    void acPreviwSilBinExecute();
    void acReport2ColExecute();
    void acReportColorExecute();
    void RunCheckedProtocol();
    void acReportExportExecute(TrpExportFilter& filter, const QString& suffix);
    void acPrintExecute();

    TrpRunContext& context_;
    TStateReportsWindow window_;
    TActionList* actions_ = nullptr;
    QWidget* toolbar_ = nullptr;
    TrpTBButton* pageSetup_ = nullptr;
    std::function<void(QObject*)> SavedPageSetupClick;   // the page-setup button's own work
    bool pageSetupHooked_ = false;
    bool showingPage_ = false;   // a report action is bringing the preview page up
};
