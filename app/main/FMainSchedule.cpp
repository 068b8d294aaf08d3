// The main window's side of the poll schedule: it creates the schedule window with itself,
// loads the plan with the settings, shows the next scheduled poll, and runs a full exchange
// when the schedule thread says one is due.
#include "app/main/FMain.h"

#include "app/schedule/FTimerParam.h"
#include "app/settings/SettingsFileName.h"
#include "app/main/UnhandledException.h"
#include "core/Exchange/CommLine.h"
#include "core/ExchangeLog.h"
#include "core/Monitor.h"
#include "core/WindowMessages.h"
#include "platform/qt/TaskbarList.h"

#include <QAction>
#include <QEvent>

#include <functional>
#include <utility>

namespace {

constexpr uint8_t kOverlayError = 2;

// WM_SCHEDULED_EXCHANGE reaches the window's handler.
class TScheduledExchange : public QObject {
public:
    TScheduledExchange(QObject& window, std::function<void()> handler)
        : QObject(&window), FWindow(window), FHandler(std::move(handler))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &FWindow || event->type() != WM_SCHEDULED_EXCHANGE)
            return false;
        RunGuarded(this, FHandler);
        return true;
    }

private:
    QObject& FWindow;
    const std::function<void()> FHandler;
};

} // namespace

void TfmMain::CreateScheduleWindow()
{
    FTimerParam = new TfmTimerParam(SettingsFileName(), this, Now, Monitor.Log.Sink());
    new TScheduledExchange(*this, [this] { WMScheduledExchange(); });
    aList.SetWork(acTimerParam, [this] { FTimerParam->ShowModal(); });
}

void TfmMain::ReleaseScheduleWindow()
{
    delete std::exchange(FTimerParam, nullptr);
}

void TfmMain::LoadSchedule()
{
    FTimerParam->LoadPlan(*FormStorage1);
}

QString TfmMain::NextScheduledPollText() const
{
    return FTimerParam ? FTimerParam->GetNextPollText() : QString();
}

// A scheduled poll runs the full exchange as its menu item would, so the action's own rule
// drops it, without a word, while a pass or the database's work runs. A port that is closed
// (its device was missing when it was opened, say) is opened first as choosing it would, other
// instances asked to let it go; when it still does not open, the poll that was not made is told
// as a pass that cannot open its port tells it, since no one may be watching the screen.
void TfmMain::WMScheduledExchange()
{
    if (ExchangeIdle() && !Settings.NoCom && !PortIsOpen()) {
        SetPortEnabled(true);
        if (!PortIsOpen()) {
            TellLineFailure(PortUnavailableText(Port->Number(), Port->OpenError(), Port->Status(),
                                                "опрос по расписанию"));
            Taskbar->SetOverlayState(kOverlayError);
            return;
        }
    }
    Execute(acFullExchg);
}
