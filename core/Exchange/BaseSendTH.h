#pragma once
// The base of the poll passes: a worker thread that runs one pass over a list of suspensions of
// the hardware tree and reports through its runner's signals (core/Exchange/PassRunner.h).
//
// Use from the GUI thread (the runner makes the pass of the configured kind):
//     auto pass = std::make_unique<TSendTH>(runner, settings);   // or TSendTHArc, suspended
//     for (TSilos* s : suspensions) pass->AddSilos(s);
//     pass->Start();                                   // runs the pass below normal priority
//     ... the runner's Finished comes at the end of every pass, stopped or not:
//     pass->WaitFor(); pass.reset();
// Terminate() asks the pass to stop: it is looked at before every step, the block switched on
// is switched off and the end-of-pass steps still run, ending with Finished.
//
// The pass works on its own copy of the settings, taken when it is made, so the GUI may edit
// the settings meanwhile. It reads only the tree's shape; it writes the sensors' readings and
// histories (each sensor under its own lock) while the board may paint them.
#include "base/DateTime.h"
#include "comm/ExchangeLog.h"
#include "core/Device/ReadingRules.h"
#include "core/Exchange/PassClock.h"
#include "core/Parameters.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TCommLine;
class TPassRunner;
class TSilos;
class TTIT;

class TBaseSendTH {
public:
    // Created suspended, on a copy of the settings. The runner must outlive the pass.
    TBaseSendTH(TPassRunner& runner, const Parameters& settings);
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
    // The line failed during the pass (PostLineFailure).
    bool LineFailed() const { return lineFailed_; }
    // The level the taskbar shows: a pass whose line failed is an error (2) whatever its
    // notification conditions say, since readings it should have brought are missing.
    int OverlayLevel() const;
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
    // writing the notification log, then shows OverlayLevel as the taskbar overlay.
    void CheckAlarms();
    // Switches the alarm relay on for the configured time when a condition with its relay
    // switch holds (the live pass only).
    void CheckRelay();
    // Whether a sensor's readings are judged. The base judges every sensor of the list.
    virtual bool JudgesSensor(const TSilos& silos, const TTIT& tit) const;

    // Raises AlarmLevel to the condition's level when the condition is switched on and its level
    // is higher; true exactly then.
    bool RaiseAlarmLevel(size_t condition);
    // The commutator did not answer (condition 1): raises the level and, when it rose, writes
    // the condition's line to the notification log.
    void RaiseCommutatorNoReply();

    // The line failed: the port would not open, or the commutator, a block or the collector did
    // not answer. Posts the failure's red line as such, which the window always shows, and the
    // pass will end as an error.
    void PostLineFailure(std::string_view text);
    // Before the pass's first exchange: the port is opened again if its device failed meanwhile.
    // When it cannot be, the pass says so at once (the port, the system's reason and what to
    // check) and false is returned. Always true without a port (the no-port mode).
    bool LineReady();

    void SetStatus(const QString& text);
    void SetProgress(int position, int maximum);
    void SetProgressPosition(int position) { SetProgress(position, maximum_); }

    // Emits the runner's Finished (once per pass).
    void PostDone();
    // Posts a log line through the runner.
    void PostLog(std::string_view text, TColor colour) const;
    void PostLog(const char* text, TColor colour) const { PostLog(std::string_view(text), colour); }
    void PostLog(const QString& text, TColor colour) const;

    // Waits on the pass's clock; the real clock's wait ends early on a stop request.
    void Pause(uint32_t ms);
    int64_t TickMs() const;

    std::atomic<TDateTime> pollStart_{0};

    TPassRunner& Runner;
    const Parameters Settings;          // the pass's own copy
    TCommLine& Line;
    const ExchangeLogSink Log;          // posts through the runner
    const TReadingRules Rules;          // the sensors' readings follow the pass's settings

private:
    void Run();
    void TryAlarm(size_t condition, const TSilos& silos, int index, double value, bool& raised);

    std::vector<TSilos*> silos_;
    TPassClock clock_;

    std::atomic<int> alarmLevel_{0};   // raised by the notification conditions
    std::atomic<bool> lineFailed_{false};
    std::atomic<int> position_{0};
    std::atomic<int> maximum_{0};
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool donePosted_ = false;

    std::mutex stopLock_;
    std::condition_variable stopSignal_;
    std::thread thread_;
};
