#pragma once
// Running a poll pass from the main window: the poll thread of the configured kind is made for
// the suspensions handed over, the exchange page shows its progress and title while the main
// menu is off, the stop button (or Escape) ends it early, and WM_EXCHANGE_DONE ends the pass:
// the thread is waited for and freed, and the window is told to take in the new readings.
// At most one pass exists at a time; the window's SendTH shows it.
#include "core/Exchange/OwnerEchgTH.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class TBaseSendTH;
class TfmMain;
class TSilos;

class TExchangeControl : public QObject, public IOwnerEchgTH {
public:
    explicit TExchangeControl(TfmMain& window);
    ~TExchangeControl() override;

    // A pass may start: none runs, and the port is open or the program works without one.
    bool Ready() const;
    // Makes the poll thread of Settings.ControllerKind for the suspensions and shows the
    // exchange page, which starts it. False (with a red log line) for an unknown kind.
    bool StartPass(const std::vector<TSilos*>& silos);
    // The stop button: asks the pass to stop and waits for it; the pass still ends through
    // WM_EXCHANGE_DONE.
    void btn1Click();
    // WM_EXCHANGE_DONE: the thread is waited for and freed, then OnFinished runs.
    void WMExchangeDone();

    // What the window does with a finished pass's readings.
    std::function<void()> ExchangeFinished;

    // IOwnerEchgTH
    QObject* GetHandle() override;
    TProgressBarCallback GetProgressBar() override;
    TTitleLabelCallback GetTitleLabel() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PageChanged(int index);
    void tsExchgShow();
    void tsExchgHide();

    TfmMain& window_;
    std::unique_ptr<TBaseSendTH> pass_;
    bool exchangePageShown_ = false;
};

// The message of a pass that cannot start because the settings name no known kind of controller.
QString UnknownControllerKindText(int kind);
