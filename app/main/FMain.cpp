#include "app/main/FMain.h"

#include "app/files/DataFileActions.h"
#include "app/graph/SiloGraph.h"
#include "app/files/DatabaseActions.h"
#include "app/exchange/MessageLog.h"
#include "app/exchange/PortControl.h"
#include "app/users/FPasswordDlg.h"
#include "app/main/ProductInfo.h"
#include "app/settings/SettingsFileName.h"
#include "app/main/UnhandledException.h"
#include "app/main/TaskbarWindow.h"
#include "app/users/User.h"
#include "app/widgets/VSBPro.h"
#include "core/Monitor.h"
#include "report/runtime/RunContext.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QWheelEvent>

TfmMain::TfmMain(TMonitor& monitor, TrpRunContext& reportContext, TInteraction& interaction,
                 const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent),
      Monitor(monitor),
      Settings(monitor.Settings),
      HardConfig(monitor.HardConfig),
      Port(&monitor.SharedCommPort.Port),
      ReportContext(reportContext),
      Interaction(interaction),
      aList(this)
{
    setObjectName(QStringLiteral("fmMain"));
    Interaction.Serve(*this);
    ConnectLog();
    CreateActions(this);
    addActions(AllActions());   // shortcuts work whichever menu holds the action
    BuildPages(*this, ReportContext);
    BuildMenus(*this, *this);
    InstallActions();
    FormCreate(arguments);
    aList.RunOnIdle([this] { AppEvents1Idle(); });
    // The hints of menu items and actions reach the bottom status bar as status tips.
    connect(sBar, &QStatusBar::messageChanged, this, [this](const QString& hint) { AppEvents1Hint(hint); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            RunGuarded(this, [this] { AppEvents1Activate(); });
    });
}

TfmMain::~TfmMain()
{
    RunGuarded(this, [this] { FormDestroy(); });
    Interaction.SetExceptionSink(std::move(FOuterExceptionSink));
}

void TfmMain::SetPortEnabled(bool on)
{
    PortControl->SetPortEnabled(on);
}

TBaseSendTH* TfmMain::SendTH() const
{
    return Monitor.Passes.SendTH();
}

void TfmMain::FormCreate(const QStringList& arguments)
{
    setWindowTitle(ProductName());
    // Room for the status bars' texts, the next scheduled poll included, on any screen that has it.
    resize(QSize(1280, 800).boundedTo(screen()->availableSize()));
    FormStorage1 = std::make_unique<IniFile>(SettingsFileName());
    AutoSave = false;
    Settings.NoCom = false;
    acDebug->setVisible(false);
    FCommandLine = ParseCommandLine(arguments);
    acDebug->setVisible(FCommandLine.Debug);
    AutoSave = FCommandLine.AutoSave;
    Settings.NoCom = FCommandLine.NoCom;
    Users.clear();
    Taskbar = MakeTaskbarList(*this);
    PortControl = new TPortControl(*Port, {this, sBar, sBarPanels[0], sBarPanels[1], ac485, acEcho, acParamCom, mnPort,
                                           pmPort, [this] { return SendTH() != nullptr; },
                                           [this](QAction* action) { Execute(action); }});
    CreateScheduleWindow();

    InstallBoard();
    InstallReports();

    connect(pcMain, &QTabWidget::currentChanged, this, [this](int index) {
        RunGuarded(this, [&] { pcMainChange(index); });
    });
    pcMain->setCurrentWidget(tsMain);
}

void TfmMain::FormDestroy()
{
    // The report context outlives the window: its log no longer reaches it.
    ReportContext.OnLog = nullptr;
    ClearBoard();
    CurrentUser = nullptr;
    Users.clear();
    ReleaseScheduleWindow();
}

bool TfmMain::IsAdmin() const
{
    return CurrentUser && CurrentUser->IsAdmin;
}

void TfmMain::EnableMainMenu(bool on)
{
    for (QAction* item : MainMenu1->actions())
        item->setEnabled(on);
}

void TfmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!FFirstShowingDone && !event->spontaneous())
        FirstShowing();
}

void TfmMain::closeEvent(QCloseEvent* event)
{
    bool allowed = false;
    RunGuarded(this, [&] { allowed = FormCloseQuery(); });
    if (!allowed) {
        FClosing = false;
        event->ignore();
        return;
    }
    FClosing = true;
    RunGuarded(this, [this] { FormStorage1SavePlacement(); });
    event->accept();
}

bool TfmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == spGrid->viewport() && event->type() == QEvent::Wheel)
        return spGridMouseWheel(event);
    return QMainWindow::eventFilter(watched, event);
}

// The wheel scrolls the board up and down by the wheel's own amount.
bool TfmMain::spGridMouseWheel(QEvent* event)
{
    auto* wheel = static_cast<QWheelEvent*>(event);
    QScrollBar* bar = spGrid->verticalScrollBar();
    bar->setValue(bar->value() - wheel->angleDelta().y());
    return true;
}

// The chart follows the chosen suspension whichever page is shown.
void TfmMain::ShowSiloGraph(TSilos* silos)
{
    Chart->ShowSilo(silos);
}

void TfmMain::ApplyGraphSettings()
{
    Chart->ApplySettings(Settings);
}

void TfmMain::acCloseExecute()
{
    close();
}

void TfmMain::acMainViewExecute()
{
    pcMain->setCurrentWidget(tsMain);
    acMainView->setChecked(true);
}

// The chart itself follows the chosen suspension; here the page is shown.
void TfmMain::acGraphViewExecute()
{
    pcMain->setCurrentWidget(tsGraph);
    acGraphView->setChecked(true);
}

void TfmMain::acDebugExecute()
{
    pcMain->setCurrentWidget(tsDebug);
}

void TfmMain::pcMainChange(int index)
{
    if (pcMain->widget(index) == tsPreView)
        RebuildStateReport();
}
