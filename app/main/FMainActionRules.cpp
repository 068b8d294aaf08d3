// What each of the main window's actions does and when it is enabled: the window's own, and
// those whose work a helper or a dialog of its own does.
#include "app/main/FMain.h"

#include "app/board/BoardHost.h"
#include "app/detail/DetailControl.h"
#include "app/dialogs/FAbout.h"
#include "app/dialogs/FControllers.h"
#include "app/dialogs/FMBDrive.h"
#include "app/dialogs/FOverlay.h"
#include "app/graph/GraphPage.h"
#include "app/settings/AutoRun.h"
#include "app/exchange/PortControl.h"
#include "app/files/DatabaseActions.h"
#include "app/users/UserControl.h"
#include "core/Parameters.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QTabWidget>
#include <QTreeView>

namespace {

QActionGroup* ExclusiveGroup(QObject* owner, std::initializer_list<QAction*> actions)
{
    auto* group = new QActionGroup(owner);
    group->setExclusive(true);
    for (QAction* action : actions) {
        action->setCheckable(true);
        group->addAction(action);
    }
    return group;
}

} // namespace

bool TfmMain::ExchangeIdle() const
{
    return SendTH() == nullptr && !(DatabaseActions && DatabaseActions->Busy());
}

// Live polling needs the open port, unless the program works without one.
bool TfmMain::ExchangeReady() const
{
    return ExchangeIdle() && (Settings.NoCom || PortIsOpen());
}

void TfmMain::InstallActions()
{
    // The pages form one radio group; the two report sort orders another.
    ExclusiveGroup(this, {acMainView, acGraphView, acPreview, acPevewErr, acPrevewSelTemp, acPreviwSilBin});
    ExclusiveGroup(this, {acSortBySilos, acSortByBin});
    for (QAction* toggle : {acShowErr, acColorPrint, ac485, acEcho, acEdit, acAutoRun, acReport2Col})
        toggle->setCheckable(true);
    acMainView->setChecked(true);
    acSortBySilos->setChecked(true);

    const auto admin = [this] { return IsAdmin(); };
    for (QAction* configuration :
        {acParamCom, ac485, acEcho, acMaxT, acSetProp, acHardCnfg, acControllers, acExecProc, acSelExportDB})
        aList.SetEnabledRule(configuration, admin);

    aList.SetUpdate(acClose, [this](QAction& action) {
        action.setEnabled(true);
        mnReport->menuAction()->setEnabled(pcMain->currentWidget() != tsPreView);
    });
    aList.SetEnabledRule(acSaveDAT, [this] { return !Settings.DataFile.isEmpty(); });
    aList.SetEnabledRule(acFullExchg, [this] { return ExchangeReady(); });
    aList.SetEnabledRule(acSelectExchg, [this] { return ExchangeReady(); });
    aList.SetEnabledRule(acMB, [this] { return ExchangeReady(); });
    for (QAction* report : {acPreview, acPevewErr, acPrevewSelTemp, acCheckSpeed})
        aList.SetEnabledRule(report, [this] { return Detail->HistoryNodeFocused(); });
    aList.SetEnabledRule(acClearRetro, [this] { return !Settings.DataFile.isEmpty() && IsAdmin(); });
    aList.SetUpdate(acEdit, [this](QAction& action) {
        action.setEnabled(IsAdmin());
        miReportTimeManual->setVisible(action.isEnabled());
    });
    aList.SetEnabledRule(acDelTM, [this] { return vtHistory->hasFocus() && IsAdmin() && Detail->HistoryNodeFocused(); });
    aList.SetUpdate(acTimePeriod, [this](QAction& action) {
        action.setEnabled(IsAdmin());
        action.setVisible(false);
    });
    aList.SetEnabledRule(acPrintGraph, [this] { return pcMain->currentWidget() == tsGraph; });
    aList.SetEnabledRule(acTITParam, [this] { return Detail->DetailRowShowsSensor(); });

    aList.SetWork(acClose, [this] { acCloseExecute(); });
    aList.SetWork(acMainView, [this] { acMainViewExecute(); });
    aList.SetWork(acGraphView, [this] { acGraphViewExecute(); });
    aList.SetWork(acDebug, [this] { acDebugExecute(); });
    aList.SetWork(acExecProc, [this] { acExecProcExecute(); });
    aList.SetWork(ac485, [this] { PortControl->ac485Execute(); });
    aList.SetWork(acEcho, [this] { PortControl->acEchoExecute(); });
    InstallUserMenu();
    InstallDetail();
    ConnectDialogs();
}

// The actions that show a dialog or a window of their own.
void TfmMain::ConnectDialogs()
{
    ConnectCursorReadOut(*Chart, *CursorLabel, Settings);
    aList.SetWork(acPrintGraph, [this] { PreviewGraphPrint(*Chart, acPrintGraph->text(), this); });
    ConnectConfigurationDialogs();
    aList.SetWork(acOverlay, [this] { ShowOverlaySettings(Settings, this); });
    aList.SetWork(acControllers, [this] { ShowControllers(this, Settings, Port); });
    aList.SetWork(acAutoRun, [this] { ToggleAutoRun(*acAutoRun, QCoreApplication::applicationFilePath()); });
    aList.SetWork(acAbout, [this] { ShowAbout(this); });
    aList.SetWork(acMB, [this] {
        if (MBDrive)
            MBDrive->ShowModal();
    });
}

// The sensor detail and the poll history, with the work of their pop-up menus.
void TfmMain::InstallDetail()
{
    Detail = new TDetailControl(HardConfig, Settings,
                                {this, vtDetal, vtHistory, pmDetalTIT, pmArcTM, &Modified,
                                 [this] { return FormStorage1.get(); }, [this] { return Board->Suspensions(); },
                                 [this] { RepaintBoard(); }},
                                aList, {acDelTM, acCheckSpeed, acTimePeriod, asPrecision});
}

// The login and the user menu; the login's last choice is kept in the settings file. Everyone
// may change his own name and password; adding and deleting users is for administrators.
void TfmMain::InstallUserMenu()
{
    UserControl = new TUserControl({this, &Users, &CurrentUser, PasswordDlgMemory(), [this] { return LoginLoop(); }},
                                   N55, N56, N57);
    for (QAction* item : {N56, N57})
        aList.SetEnabledRule(item, [this] { return IsAdmin(); });
    aList.SetWork(acSelUser, [this] { UserControl->acSelUserExecute(); });
}
