// The main window's sensor detail and poll history: the two trees, their pop-up menus, choosing
// a poll, deleting polls, the rate-of-change check and the precision and averaging dialogs.
#include "app/main/FMain.h"

#include "app/detail/DetailModel.h"
#include "app/detail/DetailTree.h"
#include "app/detail/FPrecision.h"
#include "app/detail/FTimePeriod.h"
#include "app/detail/HistoryActions.h"
#include "app/detail/HistoryTree.h"
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

void TfmMain::InstallDetail()
{
    SetupDetalTree(*vtDetal, Settings);
    History = new THistoryTree(*vtHistory, HardConfig, Settings);
    connect(History, &THistoryTree::PollApplied, this, [this] { RepaintBoard(); });
    connect(History, &THistoryTree::SortDirectionChanged, this,
            [this](int direction) { HistorySortOrder = direction; });
    connect(vtHistory, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopUp(aList, pmArcTM, vtHistory, at); });
    connect(vtDetal, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopUp(aList, pmDetalTIT, vtDetal, at); });

    aList.SetWork(acDelTM, [this] { acDelTMExecute(); });
    aList.SetWork(acCheckSpeed, [this] { acCheckSpeedExecute(); });
    aList.SetWork(acTimePeriod, [this] { acTimePeriodExecute(); });
    aList.SetWork(asPrecision, [this] { asPrecisionExecute(); });
}

bool TfmMain::HistoryNodeFocused() const
{
    return History && History->FocusedPoint().has_value();
}

bool TfmMain::DetailRowShowsSensor() const
{
    const TDetalModel* rows = DetalModelOf(*vtDetal);
    return rows && rows->HasSensor();
}

void TfmMain::AddSiloHistory(TSilos* silo)
{
    History->AddSilos(silo);
}

void TfmMain::RebuildHistory()
{
    History->SetSortDirection(HistorySortOrder);
    History->Rebuild(BoardSuspensions());
}

// Deleting needs no confirmation; the data file changes only when it is saved next.
void TfmMain::acDelTMExecute()
{
    const auto poll = History->FocusedPoint();
    if (!poll || !HardConfig)
        return;
    if (DeletePolls(*HardConfig, DeletionWindow(poll->UnixTime, Settings.AveragePeriod), Settings.AveragePeriod) > 0)
        Modified = true;
    if (!Modified)
        return;
    RebuildHistory();
    History->ApplyFirstSelected();
}

void TfmMain::acCheckSpeedExecute()
{
    if (const auto poll = History->FocusedPoint())
        CheckTempSpeed(poll->Time);
}

void TfmMain::CheckTempSpeed(double time)
{
    const QStringList lines = TempSpeedLines(BoardSuspensions(), time, Settings.CheckSpeed);
    if (!lines.isEmpty())
        AskUser(this, QMessageBox::Warning, lines.join(QLatin1Char('\n')), QMessageBox::Ok);
}

void TfmMain::acTimePeriodExecute()
{
    if (ShowTimePeriodDialog(Settings, FormStorage1.get(), this))
        RebuildAverages(BoardSuspensions(), Settings.AveragePeriod);
}

void TfmMain::asPrecisionExecute()
{
    if (ShowPrecisionDialog(Settings, FormStorage1.get(), this))
        RepaintBoard();
}
