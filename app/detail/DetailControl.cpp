#include "app/detail/DetailControl.h"

#include "app/detail/DetailModel.h"
#include "app/detail/DetailTree.h"
#include "app/detail/FPrecision.h"
#include "app/detail/FTimePeriod.h"
#include "app/detail/HistoryActions.h"
#include "app/detail/HistoryTree.h"
#include "app/main/ActionList.h"
#include "app/main/ModalRunner.h"
#include "core/Device/HardConfig.h"
#include "core/Parameters.h"

#include <QAction>
#include <QMenu>
#include <QTreeView>

namespace {

// A pop-up menu shows its actions as they stand when it opens.
void PopUp(TActionList& actions, QMenu* menu, QAbstractItemView* tree, const QPoint& at)
{
    for (QAction* item : menu->actions())
        actions.Update(item);
    menu->popup(tree->viewport()->mapToGlobal(at));
}

} // namespace

TDetailControl::TDetailControl(std::unique_ptr<THardConfig>& hardConfig, Parameters& settings, TDetailWindow window,
                               TActionList& actions, const TDetailActions& work)
    : QObject(window.Window), HardConfig(hardConfig), Settings(settings), window_(std::move(window))
{
    SetupDetalTree(*window_.Detail, Settings);
    History = new THistoryTree(*window_.History, HardConfig, Settings);
    connect(History, &THistoryTree::PollApplied, this, [this] { window_.RepaintBoard(); });
    connect(History, &THistoryTree::SortDirectionChanged, this,
            [this](int direction) { HistorySortOrder = direction; });
    connect(window_.History, &QWidget::customContextMenuRequested, this,
            [this, &actions](const QPoint& at) { PopUp(actions, window_.HistoryMenu, window_.History, at); });
    connect(window_.Detail, &QWidget::customContextMenuRequested, this,
            [this, &actions](const QPoint& at) { PopUp(actions, window_.DetailMenu, window_.Detail, at); });

    actions.SetWork(work.DelTM, [this] { acDelTMExecute(); });
    actions.SetWork(work.CheckSpeed, [this] { acCheckSpeedExecute(); });
    actions.SetWork(work.TimePeriod, [this] { acTimePeriodExecute(); });
    actions.SetWork(work.Precision, [this] { asPrecisionExecute(); });
}

bool TDetailControl::HistoryNodeFocused() const
{
    return History->FocusedPoint().has_value();
}

bool TDetailControl::DetailRowShowsSensor() const
{
    const TDetalModel* rows = DetalModelOf(*window_.Detail);
    return rows && rows->HasSensor();
}

void TDetailControl::AddSiloHistory(TSilos* silo)
{
    History->AddSilos(silo);
}

void TDetailControl::RebuildHistory()
{
    History->SetSortDirection(HistorySortOrder);
    History->Rebuild(window_.Suspensions());
}

// Deleting needs no confirmation; the data file changes only when it is saved next.
void TDetailControl::acDelTMExecute()
{
    const auto poll = History->FocusedPoint();
    if (!poll || !HardConfig)
        return;
    bool& modified = *window_.Modified;
    if (DeletePolls(*HardConfig, DeletionWindow(poll->UnixTime, Settings.AveragePeriod), Settings.AveragePeriod) > 0)
        modified = true;
    if (!modified)
        return;
    RebuildHistory();   // the newest poll left is chosen and shown
}

void TDetailControl::acCheckSpeedExecute()
{
    if (const auto poll = History->FocusedPoint())
        CheckTempSpeed(poll->Time);
}

void TDetailControl::CheckTempSpeed(double time)
{
    const QStringList lines = TempSpeedLines(window_.Suspensions(), time, Settings.CheckSpeed);
    if (!lines.isEmpty())
        AskUser(window_.Window, QMessageBox::Warning, lines.join(QLatin1Char('\n')), QMessageBox::Ok);
}

void TDetailControl::acTimePeriodExecute()
{
    if (ShowTimePeriodDialog(Settings, window_.Placement(), window_.Window))
        RebuildAverages(window_.Suspensions(), Settings.AveragePeriod);
}

void TDetailControl::asPrecisionExecute()
{
    if (ShowPrecisionDialog(Settings, window_.Placement(), window_.Window))
        window_.RepaintBoard();
}
