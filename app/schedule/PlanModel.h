#pragma once
// The schedule plan as the window's list shows it: one row per entry, in plan order, with the
// entry's display text. Edits made here reach the plan and the views together; entries that
// the schedule thread removes reach the views a moment later, on the main thread.
#include "app/schedule/SchedulePlan.h"

#include <QAbstractListModel>

class TPlanModel : public QAbstractListModel {
public:
    explicit TPlanModel(TSchedulePlan& plan, QObject* parent = nullptr);
    ~TPlanModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void Assign(std::vector<TPlanItem> items);
    // Appends unless the same entry exists; returns whether it did.
    bool Add(const TPlanItem& item);
    void Delete(int row);
    // Shows the plan as it now is.
    void Refresh();

private:
    TSchedulePlan& FPlan;
};
