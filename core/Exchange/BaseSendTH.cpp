#include "core/Exchange/BaseSendTH.h"

#include "core/Device/Silos.h"
#include "core/Device/TIT.h"
#include "core/Exchange/AlarmConditions.h"
#include "core/Exchange/CommLine.h"
#include "core/Exchange/CommutatorCommands.h"
#include "core/Exchange/PassRunner.h"
#include "platform/posix/LowerPriority.h"

#include <algorithm>
#include <exception>
#include <chrono>

namespace {

constexpr int kAlarmLevelMax = 2;
constexpr uint32_t kRelayStepMs = 100;

// The order in which a sensor's conditions are judged; the open line stands before the maximum
// temperature, which is judged only when the open line raised nothing.
constexpr TAlarmCondition kAlarmOrder[] = {SpeedExceeded, SetPoint1, SetPoint2, SetPoint3, ShortCircuit,
                                           BlockNoReply};
// The order in which the relay's conditions are tried for a sensor.
constexpr TAlarmCondition kRelayOrder[] = {LineBreak, OverMaxT, SpeedExceeded, SetPoint1, SetPoint2,
                                           SetPoint3, ShortCircuit, BlockNoReply};

int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

TBaseSendTH::TBaseSendTH(TPassRunner& runner, const Parameters& settings)
    : Runner(runner),
      Settings(settings),
      Line(runner.Line()),
      Log([&runner](const std::string& text, TColor colour) {
          emit runner.LogLine(QString::fromStdString(text), colour, false);
      }),
      Rules(MakeReadingRules(Settings, Log))
{
}

TBaseSendTH::~TBaseSendTH()
{
    Terminate();
    WaitFor();
}

void TBaseSendTH::AddSilos(TSilos* silos)
{
    if (silos && std::find(silos_.begin(), silos_.end(), silos) == silos_.end())
        silos_.push_back(silos);
}

void TBaseSendTH::SetClock(TPassClock clock)
{
    clock_ = std::move(clock);
}

void TBaseSendTH::Start()
{
    if (!thread_.joinable() && !finished_)
        thread_ = std::thread(&TBaseSendTH::Run, this);
}

void TBaseSendTH::Terminate()
{
    {
        std::lock_guard guard(stopLock_);
        terminated_ = true;
    }
    stopSignal_.notify_all();
}

void TBaseSendTH::WaitFor()
{
    if (thread_.joinable())
        thread_.join();
}

void TBaseSendTH::Run()
{
    LowerThreadPriority();
    try {
        Execute();
    } catch (const std::exception& e) {
        // A pass logs its own failures; whatever still escapes must not cost the window its end.
        PostLog(e.what(), kLogError);
    }
    PostDone();
    finished_ = true;
}

void TBaseSendTH::Prepare()
{
    emit Runner.Started();
    SetStatus(QStringLiteral("Опрос:"));
    SetProgressPosition(0);
    std::stable_sort(silos_.begin(), silos_.end(), [](const TSilos* a, const TSilos* b) {
        if (a->GetMBAddr() != b->GetMBAddr())
            return a->GetMBAddr() < b->GetMBAddr();
        return a->No() < b->No();
    });
}

bool TBaseSendTH::JudgesSensor(const TSilos&, const TTIT&) const
{
    return true;
}

int TBaseSendTH::OverlayLevel() const
{
    return lineFailed_ ? kAlarmLevelMax : alarmLevel_.load();
}

bool TBaseSendTH::RaiseAlarmLevel(size_t condition)
{
    const TAlarmSetting& alarm = Settings.Alarms[condition];
    if (!alarm.Enabled || alarm.Level <= alarmLevel_)
        return false;
    alarmLevel_ = alarm.Level;
    return true;
}

void TBaseSendTH::RaiseCommutatorNoReply()
{
    if (RaiseAlarmLevel(CommutatorNoReply))
        emit Runner.AlarmNote(CommutatorNoReplyText());
}

void TBaseSendTH::PostLineFailure(std::string_view text)
{
    lineFailed_ = true;
    emit Runner.LogLine(QString::fromStdString(CutUtf8(text, kExchangeLogMaxChars)), kLogError, true);
}

bool TBaseSendTH::LineReady()
{
    try {
        if (Settings.NoCom || Line.Port.EnsureOpen())
            return true;
    } catch (const std::exception& e) {
        // A port that opens but cannot be cleared fails the pass like one that does not open.
        PostLineFailure(e.what());
        return false;
    }
    PostLineFailure(PortUnavailableText(Line.Port.Number(), Line.Port.OpenError(), Line.Port.Status()));
    return false;
}

void TBaseSendTH::TryAlarm(size_t condition, const TSilos& silos, int index, double value, bool& raised)
{
    const TTIT& tit = *silos.GetTIT(index);
    const auto which = static_cast<TAlarmCondition>(condition);
    raised = AlarmHolds(Settings, which, tit, value) && RaiseAlarmLevel(condition);
    if (raised)
        emit Runner.AlarmNote(AlarmOverlayText(Settings, which, silos, index, value));
}

void TBaseSendTH::CheckAlarms()
{
    for (const TSilos* silos : silos_) {
        if (alarmLevel_ >= kAlarmLevelMax)
            break;
        for (int index = 0; index < silos->TITCount() && alarmLevel_ < kAlarmLevelMax; ++index) {
            const TTIT& tit = *silos->GetTIT(index);
            if (!JudgesSensor(*silos, tit))
                continue;
            const double value = tit.GetValue();
            bool raised = false;
            TryAlarm(LineBreak, *silos, index, value, raised);
            if (!raised)
                TryAlarm(OverMaxT, *silos, index, value, raised);
            for (TAlarmCondition condition : kAlarmOrder)
                TryAlarm(condition, *silos, index, value, raised);
        }
    }
    emit Runner.AlarmLevel(OverlayLevel());
}

void TBaseSendTH::CheckRelay()
{
    if (std::none_of(Settings.Relays.begin(), Settings.Relays.end(), [](bool on) { return on; }))
        return;
    QString message;
    for (const TSilos* silos : silos_) {
        for (int index = 0; index < silos->TITCount() && message.isEmpty(); ++index) {
            const TTIT& tit = *silos->GetTIT(index);
            if (!JudgesSensor(*silos, tit))
                continue;
            const double value = tit.GetValue();
            for (TAlarmCondition condition : kRelayOrder) {
                if (Settings.Relays[condition] && AlarmHolds(Settings, condition, tit, value)) {
                    message = AlarmRelayText(Settings, condition, *silos, index, value);
                    break;
                }
            }
        }
        if (!message.isEmpty())
            break;
    }
    if (message.isEmpty())
        return;

    const qsizetype dash = message.indexOf(QStringLiteral(" -"));
    const QString prefix = dash < 0 ? message : message.left(dash + 1);
    PostLog(QStringLiteral("Включаем реле - ").append(message), kLogSent);
    SetStatus(QStringLiteral("Реле включено - ") + prefix);
    const int duration = Settings.RelayDuration;
    SetProgress(0, duration * 10);
    const int64_t start = TickMs();
    SwitchRelay(Line, Settings, Log, true);
    while (!Terminated() && TickMs() - start < int64_t{duration} * 1000) {
        SetProgressPosition(position_ + 1);
        Pause(kRelayStepMs);
    }
    PostLog(QStringLiteral("Отключаем реле - ").append(message), kLogSent);
    SwitchRelay(Line, Settings, Log, false);
    SetStatus(QStringLiteral("Реле отключено - ") + prefix);
}

void TBaseSendTH::SetStatus(const QString& text)
{
    emit Runner.Title(text);
}

void TBaseSendTH::SetProgress(int position, int maximum)
{
    position_ = position;
    maximum_ = maximum;
    emit Runner.Progress(position, maximum);
}

void TBaseSendTH::PostDone()
{
    if (donePosted_)
        return;
    donePosted_ = true;
    emit Runner.Finished();
}

void TBaseSendTH::PostLog(std::string_view text, TColor colour) const
{
    PostExchangeLog(Log, text, colour);
}

void TBaseSendTH::PostLog(const QString& text, TColor colour) const
{
    PostExchangeLog(Log, text.toStdString(), colour);
}

void TBaseSendTH::Pause(uint32_t ms)
{
    if (clock_.Sleep) {
        clock_.Sleep(ms);
        return;
    }
    std::unique_lock guard(stopLock_);
    stopSignal_.wait_for(guard, std::chrono::milliseconds(ms), [this] { return terminated_.load(); });
}

int64_t TBaseSendTH::TickMs() const
{
    return clock_.TickMs ? clock_.TickMs() : SteadyMs();
}
