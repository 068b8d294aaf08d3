#include "app/schedule/TimerTh.h"

#include "core/ExchangeLog.h"
#include "core/WindowMessages.h"

#include <QCoreApplication>
#include <QEvent>

TTimerTh::TTimerTh(TSchedulePlan& plan, QObject* receiver, TClock clock, std::chrono::milliseconds interval,
                   ExchangeLogSink log)
    : FPlan(plan), FReceiver(receiver), FClock(std::move(clock)), FInterval(interval), FLog(std::move(log))
{
    FThread = std::thread([this] { Execute(); });
}

TTimerTh::~TTimerTh()
{
    Terminate();
    WaitFor();
}

void TTimerTh::Terminate()
{
    {
        std::lock_guard guard(FLock);
        FTerminated = true;
    }
    FWake.notify_all();
}

void TTimerTh::WaitFor()
{
    if (FThread.joinable())
        FThread.join();
}

QString TTimerTh::NextPollText() const
{
    std::lock_guard guard(FLock);
    return FNextPollText;
}

void TTimerTh::SetNextPollText(const QString& text)
{
    std::lock_guard guard(FLock);
    FNextPollText = text;
}

void TTimerTh::Execute()
{
    TScheduleCheck check;
    SetNextPollText(QString());
    for (;;) {
        const TScheduleRound round = check.Round(FPlan, ScheduleSecond(FClock()));
        if (!round.Fired.isEmpty()) {
            PostExchangeLog(FLog, QStringLiteral("Полный опрос по расписанию: ") + round.Fired, kLogSent);
            if (FReceiver)
                QCoreApplication::postEvent(FReceiver, new QEvent(WM_SCHEDULED_EXCHANGE));
        }
        SetNextPollText(round.Next);
        std::unique_lock lock(FLock);
        if (FWake.wait_for(lock, FInterval, [this] { return FTerminated; }))
            return;
    }
}
