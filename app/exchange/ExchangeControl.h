#pragma once
// Running a poll pass from the main window: the context's pass runner makes the pass of the
// configured kind for the suspensions handed over, the exchange page shows its progress and
// title while the main menu is off, the stop button (or Escape) ends it early, and the runner's
// Finished ends the pass: the pass is waited for and freed, and the window is told to take in
// the new readings. The taskbar and the notification log follow the runner's signals too.
// At most one pass exists at a time; the window's SendTH() shows it.
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;
class TMonitor;
class TSilos;
class TTaskbarList;

// The pages of the main window that a pass shows and leaves, and the exchange page's controls.
struct TExchangePage {
    QTabWidget* Pages = nullptr;       // pcMain
    QWidget* FirstPage = nullptr;      // tsMain
    QWidget* ExchangePage = nullptr;   // tsExchg
    QLabel* Title = nullptr;           // lblTitle
    QProgressBar* Progress = nullptr;  // pbExchg
    QPushButton* Stop = nullptr;       // btn1
};

class TExchangeControl : public QObject {
public:
    // Passes of the context's runner on the context's line, shown on the page and the taskbar
    // button; enableMainMenu switches the main menu off while the exchange page is shown. Owned
    // by parent.
    TExchangeControl(TMonitor& monitor, const TExchangePage& page, TTaskbarList& taskbar,
                     std::function<void(bool on)> enableMainMenu, QObject* parent);
    ~TExchangeControl() override;

    // A pass may start: none runs, and the port is open or the program works without one.
    bool Ready() const;
    // Makes the pass of Settings.ControllerKind for the suspensions and shows the exchange page,
    // which starts it. False (with a red log line) for an unknown kind.
    bool StartPass(const std::vector<TSilos*>& silos);
    // The stop button: asks the pass to stop and waits for it; the pass still ends through
    // the runner's Finished.
    void btn1Click();
    // The runner's Finished (WM_EXCHANGE_DONE): the pass is waited for and freed, then
    // ExchangeFinished runs.
    void WMExchangeDone();

    // What the window does with a finished pass's readings.
    std::function<void()> ExchangeFinished;

private:
    void ConnectRunner();
    void PageChanged(int index);
    void tsExchgShow();
    void tsExchgHide();

    TMonitor& monitor_;
    const TExchangePage page_;
    TTaskbarList& taskbar_;
    const std::function<void(bool on)> enableMainMenu_;
    bool exchangePageShown_ = false;
};

// The message of a pass that cannot start because the settings name no known kind of controller.
QString UnknownControllerKindText(int kind);
