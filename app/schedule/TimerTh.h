#pragma once
// The schedule thread: checks the plan ten times a second and, when an entry falls due, logs
// it and posts WM_SCHEDULED_EXCHANGE to the main window, which runs a full exchange when one
// can start. It also keeps the text of the next scheduled poll for the status bar.
#include "app/schedule/ScheduleCheck.h"
#include "base/DateTime.h"
#include "comm/ExchangeLog.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class QObject;

class TTimerTh {
public:
    using TClock = std::function<TDateTime()>;

    // Starts at once. The plan and the receiver must outlive the thread. The clock gives the
    // local date-time (tests set their own); the interval is the pause between checks; each
    // poll that falls due is logged to the sink.
    TTimerTh(TSchedulePlan& plan, QObject* receiver, TClock clock = Now,
        std::chrono::milliseconds interval = std::chrono::milliseconds(100), ExchangeLogSink log = {});
    // Stops the thread and waits for it.
    ~TTimerTh();
    TTimerTh(const TTimerTh&) = delete;
    TTimerTh& operator=(const TTimerTh&) = delete;

    // Asks the thread to stop; it ends within one check.
    void Terminate();
    // Waits until the thread has ended.
    void WaitFor();

    // The next scheduled poll ("Каждый день в 08:00:00", "Периодический 09.12 в 10:15:00"),
    // empty when nothing is ahead. Safe from any thread.
    QString NextPollText() const;

private:
    void Execute();
    void SetNextPollText(const QString& text);

    TSchedulePlan& FPlan;
    QObject* FReceiver;
    TClock FClock;
    std::chrono::milliseconds FInterval;
    ExchangeLogSink FLog;

    mutable std::mutex FLock;
    std::condition_variable FWake;
    bool FTerminated = false;
    QString FNextPollText;
    std::thread FThread;
};
