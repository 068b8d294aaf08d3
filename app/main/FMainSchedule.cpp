// The main window's side of the poll schedule: it creates the schedule window with itself,
// loads the plan with the settings, shows the next scheduled poll, and runs a full exchange
// when the schedule thread says one is due.
#include "app/main/FMain.h"

#include "app/schedule/FTimerParam.h"
#include "app/settings/SettingsFileName.h"
#include "app/main/UnhandledException.h"
#include "core/Monitor.h"
#include "core/WindowMessages.h"

#include <QAction>
#include <QEvent>

#include <utility>

namespace {

// WM_SCHEDULED_EXCHANGE runs the full exchange as its menu item would, so the action's own
// rule drops a scheduled poll while a pass runs or the port is closed.
class TScheduledExchange : public QObject {
public:
    explicit TScheduledExchange(TfmMain& window) : QObject(&window), FWindow(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != &FWindow || event->type() != WM_SCHEDULED_EXCHANGE)
            return false;
        RunGuarded(this, [this] { FWindow.Execute(FWindow.acFullExchg); });
        return true;
    }

private:
    TfmMain& FWindow;
};

} // namespace

void TfmMain::CreateScheduleWindow()
{
    FTimerParam = new TfmTimerParam(SettingsFileName(), this, Now, Monitor.Log.Sink());
    new TScheduledExchange(*this);
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
