#include "app/schedule/PlanModel.h"

#include <QMetaObject>

TPlanModel::TPlanModel(TSchedulePlan& plan, QObject* parent) : QAbstractListModel(parent), FPlan(plan)
{
    // The thread may remove an entry at any time; the views learn of it on this thread.
    FPlan.SetOnRemoved([this] { QMetaObject::invokeMethod(this, [this] { Refresh(); }, Qt::QueuedConnection); });
}

TPlanModel::~TPlanModel()
{
    FPlan.SetOnRemoved({});
}

int TPlanModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FPlan.Count());
}

QVariant TPlanModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() < 0)
        return {};
    // The row may have just been removed by the thread; the refresh is on its way.
    const std::optional<TPlanItem> item = FPlan.At(static_cast<size_t>(index.row()));
    return item ? QVariant(PlanItemText(*item)) : QVariant();
}

void TPlanModel::Assign(std::vector<TPlanItem> items)
{
    beginResetModel();
    FPlan.Assign(std::move(items));
    endResetModel();
}

bool TPlanModel::Add(const TPlanItem& item)
{
    if (FPlan.Contains(item))
        return false;
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    FPlan.Add(item);
    endInsertRows();
    return true;
}

void TPlanModel::Delete(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    FPlan.Delete(static_cast<size_t>(row));
    endRemoveRows();
}

void TPlanModel::Refresh()
{
    beginResetModel();
    endResetModel();
}
