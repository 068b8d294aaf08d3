#pragma once
// The main window's sensor detail and poll history: the two trees and their pop-up menus,
// choosing a poll, deleting polls, the rate-of-change check and the precision and averaging
// dialogs. The board, the hardware tree and the settings stay the window's.
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class IniFile;
class QAction;
class QMenu;
class QTreeView;
class QWidget;
class TActionList;
class THardConfig;
class THistoryTree;
class TSilos;
struct Parameters;

// What the detail control works on.
struct TDetailWindow {
    QWidget* Window = nullptr;          // the dialogs' and messages' parent
    QTreeView* Detail = nullptr;        // the sensor detail (vtDetal)
    QTreeView* History = nullptr;       // the poll history (vtHistory)
    QMenu* DetailMenu = nullptr;        // their pop-up menus
    QMenu* HistoryMenu = nullptr;
    bool* Modified = nullptr;           // the readings changed since the data file was saved
    std::function<IniFile*()> Placement;               // where the dialogs keep their places
    std::function<std::vector<TSilos*>()> Suspensions; // the board's, in board order
    std::function<void()> RepaintBoard;
};

// The actions whose work the detail control does.
struct TDetailActions {
    QAction* DelTM = nullptr;
    QAction* CheckSpeed = nullptr;
    QAction* TimePeriod = nullptr;
    QAction* Precision = nullptr;
};

class TDetailControl : public QObject {
public:
    // Sets up both trees and connects the actions' work; owned by the window.
    TDetailControl(std::unique_ptr<THardConfig>& hardConfig, Parameters& settings, TDetailWindow window,
                   TActionList& actions, const TDetailActions& work);

    THistoryTree* History = nullptr;
    int HistorySortOrder = 0;           // 0 newest first, 1 oldest first

    bool HistoryNodeFocused() const;
    bool DetailRowShowsSensor() const;
    // Adds one suspension's poll times to the history tree (nothing for nullptr).
    void AddSiloHistory(TSilos* silo);
    // Refills the history from every suspension of the board and selects the newest poll.
    void RebuildHistory();
    // Warns of every sensor of the board whose temperature changed faster than the set rate
    // over the five days ending on the time's day.
    void CheckTempSpeed(double time);

private:
    void acDelTMExecute();
    void acCheckSpeedExecute();
    void acTimePeriodExecute();
    void asPrecisionExecute();

    std::unique_ptr<THardConfig>& HardConfig;
    Parameters& Settings;
    const TDetailWindow window_;
};
