#pragma once
// The base of the poll passes: a worker thread that runs one pass over a list of suspensions of
// the hardware tree and reports to the window that started it (IOwnerEchgTH).
//
// Use from the window's thread:
//     auto pass = std::make_unique<TSendTH>(owner);    // or TSendTHArc, created suspended
//     for (TSilos* s : suspensions) pass->AddSilos(s);
//     pass->Start();                                   // runs the pass below normal priority
//     ... WM_EXCHANGE_DONE reaches owner.GetHandle() at the end of every pass, stopped or not:
//     pass->WaitFor(); pass.reset();
// Terminate() asks the pass to stop: it is looked at before every step, the block switched on
// is switched off and the end-of-pass steps still run, ending with WM_EXCHANGE_DONE.
//
// The pass only reads the settings and the tree's shape; it writes the sensors' readings and
// histories (each sensor under its own lock) while the board may paint them.
#include "base/DateTime.h"
#include "core/Exchange/OwnerEchgTH.h"
#include "core/Exchange/PassClock.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TSilos;
class TTIT;

class TBaseSendTH {
public:
    // Created suspended; removes the taskbar overlay of the last pass. The owner must outlive
    // the pass.
    explicit TBaseSendTH(IOwnerEchgTH& owner);
    // Asks a running pass to stop and waits for it.
    virtual ~TBaseSendTH();
    TBaseSendTH(const TBaseSendTH&) = delete;
    TBaseSendTH& operator=(const TBaseSendTH&) = delete;

    // Appends a suspension unless it is none or already listed. Before Start only.
    void AddSilos(TSilos* silos);
    const std::vector<TSilos*>& Silos() const { return silos_; }

    // Replaces the clock the pass waits by (tests). Before Start only.
    void SetClock(TPassClock clock);

    // Runs the pass on its own thread; a second call does nothing.
    void Start();
    // Asks the pass to stop; returns at once.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Waits until the pass has ended (at once when it was never started).
    void WaitFor();
    bool Finished() const { return finished_; }

    // The highest notification level reached by the pass: 0, 1 or 2.
    int AlarmLevel() const { return alarmLevel_; }
    TDateTime PollStart() const { return pollStart_; }
    // The progress as last shown, readable from any thread.
    int ProgressPosition() const { return position_; }
    int ProgressMaximum() const { return maximum_; }

protected:
    virtual void Execute() = 0;

    // The start of every pass: no overlay, title "Опрос:", progress 0, busy taskbar, and the
    // suspensions sorted by block address, then by number.
    void Prepare();

    // Judges the notification conditions over the pass's sensors, raising AlarmLevel and
    // writing the notification log, then shows the level as the taskbar overlay.
    void CheckAlarms();
    // Switches the alarm relay on for the configured time when a condition with its relay
    // switch holds (the live pass only).
    void CheckRelay();
    // Whether a sensor's readings are judged. The base judges every sensor of the list.
    virtual bool JudgesSensor(const TSilos& silos, const TTIT& tit) const;

    // Raises AlarmLevel to the condition's level when the condition is switched on and its level
    // is higher; true exactly then.
    bool RaiseAlarmLevel(size_t condition);

    void SetStatus(const QString& text);
    void SetProgress(int position, int maximum);
    void SetProgressPosition(int position) { SetProgress(position, maximum_); }

    // Posts WM_EXCHANGE_DONE to the owner (once per pass).
    void PostDone();

    // Waits on the pass's clock; the real clock's wait ends early on a stop request.
    void Pause(uint32_t ms);
    int64_t TickMs() const;

    std::atomic<TDateTime> pollStart_{0};

private:
    void Run();
    void OnOwnerThread(std::function<void()> call);
    void TryAlarm(size_t condition, const TSilos& silos, int index, double value, bool& raised);

    QObject* handle_;
    TProgressBarCallback progressBar_;
    TTitleLabelCallback titleLabel_;
    std::vector<TSilos*> silos_;
    TPassClock clock_;

    std::atomic<int> alarmLevel_{0};
    std::atomic<int> position_{0};
    std::atomic<int> maximum_{0};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool donePosted_ = false;

    std::mutex stopLock_;
    std::condition_variable stopSignal_;
    std::thread thread_;
};
