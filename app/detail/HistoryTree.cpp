#include "app/detail/HistoryTree.h"

#include "app/detail/HistoryActions.h"
#include "app/detail/HistoryModel.h"
#include "core/Device/HardConfig.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include <algorithm>

namespace {
constexpr int kColumnWidth = 110;
}

THistoryTree::THistoryTree(QTreeView& tree, const std::unique_ptr<THardConfig>& hardConfig,
                           const Parameters& settings)
    : QObject(&tree), FTree(tree), FHardConfig(hardConfig), FSettings(settings), FModel(new THistoryModel(this))
{
    FTree.setModel(FModel);
    FTree.setSelectionBehavior(QAbstractItemView::SelectRows);
    FTree.setSelectionMode(QAbstractItemView::SingleSelection);
    FTree.setAllColumnsShowFocus(true);
    FTree.setUniformRowHeights(true);
    FTree.setSortingEnabled(false);   // the model keeps its own order
    QHeaderView* header = FTree.header();
    header->resizeSection(0, kColumnWidth);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    ShowSortIndicator();
    connect(header, &QHeaderView::sectionClicked, this, [this] { vtHistoryHeaderClick(); });
    connect(FTree.selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { vtHistoryFocusChanged(current); });
}

void THistoryTree::Clear()
{
    FModel->Clear();
}

void THistoryTree::Rebuild(const std::vector<TSilos*>& suspensions)
{
    FModel->BeginBuild();
    for (const TSilos* silos : suspensions)
        FModel->AddSilos(silos);
    FModel->EndBuild();
    // The poll the tree shows selected is the one chosen: focusing it shows it on the sensors,
    // so the board and the reports have it from the start, without a click on it.
    FTree.setCurrentIndex(QModelIndex());
    const QModelIndex newest = FModel->NewestPoll();
    if (!newest.isValid())
        return;
    FTree.selectionModel()->setCurrentIndex(newest, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    FTree.scrollTo(newest, QAbstractItemView::PositionAtCenter);
}

void THistoryTree::AddSilos(const TSilos* silos)
{
    FModel->AddSilos(silos);
}

int THistoryTree::SortDirection() const
{
    return FModel->Direction();
}

void THistoryTree::SetSortDirection(int direction)
{
    FModel->SetDirection(direction);
    ShowSortIndicator();
}

void THistoryTree::ShowSortIndicator()
{
    // Newest first is a descending order of time.
    FTree.header()->setSortIndicator(
        0, FModel->Direction() == THistoryModel::kOldestFirst ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void THistoryTree::vtHistoryHeaderClick()
{
    const int flipped = SortDirection() == THistoryModel::kOldestFirst ? THistoryModel::kNewestFirst
                                                                        : THistoryModel::kOldestFirst;
    SetSortDirection(flipped);
    emit SortDirectionChanged(flipped);
}

std::optional<TTITPoint> THistoryTree::FocusedPoint() const
{
    return FModel->PointAt(FTree.currentIndex());
}

QModelIndex THistoryTree::FirstSelected() const
{
    QModelIndexList selected = FTree.selectionModel()->selectedRows();
    if (selected.isEmpty())
        return {};
    return selected.first();
}

std::optional<TTITPoint> THistoryTree::FirstSelectedPoint() const
{
    return FModel->PointAt(FirstSelected());
}

void THistoryTree::vtHistoryFocusChanged(const QModelIndex& index)
{
    const auto point = FModel->PointAt(index);
    if (!point || !FHardConfig)
        return;
    ApplyPoll(*FHardConfig, point->UnixTime, FSettings);
    emit PollApplied();
}

void THistoryTree::ApplyFirstSelected()
{
    vtHistoryFocusChanged(FirstSelected());
}
