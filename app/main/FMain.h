#pragma once
// The main window: the board of silo blocks, the sensor detail and poll history, the chart,
// the report preview, the debug log and the exchange page, every menu and action, the serial
// port and the users. Its pages, menus and actions are built by MainPages, MainMenus and
// MainActions; the work behind them is done by helpers of their own (the board host, the
// detail control, the exchange and port controls, the user control, the data file and
// database actions, the message log, the state reports, the schedule window), each given only
// the controls and callbacks it needs. The window itself is its lifecycle (FMain.cpp, start-up,
// closing, the settings file) and the wiring between those helpers (FMainActionRules.cpp,
// FMainBoard.cpp and the other FMain*.cpp files, one concern each).
#include "app/main/ActionList.h"
#include "app/main/CommandLine.h"
#include "app/main/MainActions.h"
#include "app/main/MainMenus.h"
#include "app/main/MainPages.h"
#include "app/main/Interaction.h"
#include "app/users/FPasswordDlg.h"
#include "app/settings/SettingsSections.h"
#include "base/Colour.h"
#include "base/DateTime.h"
#include "comm/CommPort.h"
#include "platform/posix/IniFile.h"

#include <QMainWindow>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class QMenu;
class TBaseSendTH;
class THardConfig;
class TMonitor;
struct Parameters;
class TDetailControl;
class TBinPanel;
class TBoardHost;
class TDataFileActions;
class TDatabaseActions;
class TExchangeControl;
class TPortControl;
class TTaskbarList;
class TUserControl;
class TMessageLog;
class TrpRunContext;
class TSilos;
class TStateReports;
class TfmMBDrive;
class TfmTimerParam;
struct TUser;

class TfmMain : public QMainWindow, public TMainActions, public TMainMenus, public TMainPages {
public:
    // monitor: the context the window works in, reportContext the one its reports build in,
    // interaction how the window and everything in it run dialogs and report unhandled
    // exceptions (all must outlive the window); arguments: the command line (the program path
    // first).
    TfmMain(TMonitor& monitor, TrpRunContext& reportContext, TInteraction& interaction,
            const QStringList& arguments, QWidget* parent = nullptr);
    ~TfmMain() override;

    // The context and the parts of it the window's code reads under their own names.
    TMonitor& Monitor;
    Parameters& Settings;
    std::unique_ptr<THardConfig>& HardConfig;
    TCommPort* const Port;             // the program's serial port, on the context's line
    TrpRunContext& ReportContext;      // where the state reports are built
    TInteraction& Interaction;         // the dialogs' runner and the unhandled exceptions' sink

    // What the window holds besides its controls.
    TDateTime LastBackup = 0;          // when the last backup was made; 0: never
    bool Modified = false;             // readings changed since the data file was loaded or saved
    TUser* CurrentUser = nullptr;      // the logged-in user (not owned)
    std::vector<std::unique_ptr<TUser>> Users;
    TBinPanel* BinPanel = nullptr;     // the board panel inside spGrid
    TfmMBDrive* MBDrive = nullptr;     // the local-block window, living for the whole run

    TActionList aList;
    // Runs an action as a menu would, but an exception from its work reaches the caller.
    bool Execute(QAction* action) { return aList.Execute(action); }

    // The helpers the window's work is done by.
    TBoardHost* Board = nullptr;                        // the silo-block frames
    TDetailControl* Detail = nullptr;                   // the sensor detail and the poll history
    std::unique_ptr<TDataFileActions> DataFileActions;  // the data file

    // The running poll pass (the runner's); at most one exists.
    TBaseSendTH* SendTH() const;
    // The current user is an administrator.
    bool IsAdmin() const;
    // Enables or disables every top-level item of the main menu.
    void EnableMainMenu(bool on);
    // The idle refresh: action states, the error list, the status panels.
    void AppEvents1Idle();
    // Opens or closes the serial port; opening first asks every other instance to let it go.
    void SetPortEnabled(bool on);
    // Runs the login until a user is accepted; false when the user gave up (the window is
    // then being closed).
    bool LoginLoop();
    // The chart page shows the history of a suspension (nullptr: none); the page is not switched.
    // Every silo-block frame calls it when its focused cell changes.
    void ShowSiloGraph(TSilos* silos);
    // Writes the readings to path (the automatic database export follows); false when a partly
    // read file was left alone.
    bool SaveDataFile(const QString& path);

    // The schedule window (fmTimerParam); it lives as long as this window.
    TfmTimerParam* ScheduleWindow() const { return FTimerParam; }

    // The window is closing because the login was refused or the window was closed.
    bool IsClosing() const { return FClosing; }
    // Closes the window as asked from outside (the system ends the session): without any
    // question, a pass under way stopped and ended first, unsaved readings saved to the data
    // file, every setting written. True when the window closed (false for a repeated request).
    bool CloseFromOutside();

protected:
    // Makes the hardware tree anew with the counts read from the settings file.
    virtual void RebuildHardConfig(const THardwareCounts& counts);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // FMain.cpp: making and destroying the window, its pages.
    void FormCreate(const QStringList& arguments);
    void FormDestroy();
    void acCloseExecute();
    void acMainViewExecute();
    void acGraphViewExecute();
    void acDebugExecute();
    void pcMainChange(int index);
    bool spGridMouseWheel(QEvent* event);
    void ApplyGraphSettings();

    // FMainLog.cpp: the log lines and the unhandled exceptions reach the message log.
    void ConnectLog();
    void WMExchangeLog(const QString& text, TColor colour, bool lineFailed);
    // A red line of a failed line, told at once whatever the error list's switch.
    void TellLineFailure(const std::string& text);

    // FMainActionRules.cpp: what each action does and when it is enabled.
    void InstallActions();
    bool ExchangeReady() const;
    bool ExchangeIdle() const;   // no pass, no database work: only the port may stand in the way
    bool PortIsOpen() const { return Port->Enable(); }
    void InstallUserMenu();
    void InstallDetail();
    void ConnectDialogs();

    // FMainStartup.cpp: the first showing (run by the first showEvent): settings, start-up
    // sequence, login, then the rest.
    void FirstShowing();
    void FormStorage1RestorePlacement();
    void StartupSequence();
    void FormShow();

    // FMainClosing.cpp
    bool FormCloseQuery();
    void CloseWithoutQuestions();
    void SaveUnsavedReadings();
    void CloseFromLogin();

    // FMainSettings.cpp: the settings file.
    void RestoreMainPlacement();
    void SaveMainPlacement();
    void LoadSettings();
    void FormStorage1SavePlacement();
    void acExecProcExecute();
    TfmPasswordDlg::TMemory PasswordDlgMemory();

    // FMainIdle.cpp
    void AppEvents1Activate();
    void AppEvents1Hint(const QString& hint);
    void RefreshAirTempPanels();

    // FMainConfiguration.cpp: the configuration dialogs.
    void ConnectConfigurationDialogs();
    void acHardCnfgExecute();
    void acTITParamExecute();

    // FMainSchedule.cpp: the schedule window, its plan, the next scheduled poll, and the poll
    // that falls due (WM_SCHEDULED_EXCHANGE).
    void CreateScheduleWindow();
    void WMScheduledExchange();
    void ReleaseScheduleWindow();
    void LoadSchedule();
    QString NextScheduledPollText() const;

    // FMainBoard.cpp: the board, the passes, the data file and the database.
    void InstallBoard();
    void ClearBoard();
    void RebuildConfiguration();
    void RepaintBoard();   // the detail tree and every frame of the board
    void ExchangeOneBlock(int index);
    void ExchangeFinished();
    void acOpenCnfExecute();
    void acSaveCnfExecute();

    // FMainReports.cpp: the state reports and their preview.
    void InstallReports();
    void RebuildStateReport();

    // The other helpers.
    TExchangeControl* Exchange = nullptr;
    TPortControl* PortControl = nullptr;
    TUserControl* UserControl = nullptr;
    std::unique_ptr<TTaskbarList> Taskbar;   // the window's taskbar button
    std::unique_ptr<TDatabaseActions> DatabaseActions;
    std::unique_ptr<TMessageLog> MessageLog;
    TStateReports* Reports = nullptr;
    TfmTimerParam* FTimerParam = nullptr;   // this window's schedule window (fmTimerParam)

    std::unique_ptr<IniFile> FormStorage1;   // the settings file
    TCommandLine FCommandLine;
    bool AutoSave = false;             // "autosave" was given
    int Tag = 1;                       // the widest log line drawn so far, in pixels
    TExceptionSink FOuterExceptionSink;   // put back when the window goes
    int FLoadedStages = 0;             // how many groups of settings the last load read whole
    bool FFirstShowingDone = false;
    bool FClosing = false;
    bool FClosingFromOutside = false;
};
