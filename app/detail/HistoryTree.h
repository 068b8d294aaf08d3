#pragma once
// The poll history tree `vtHistory`: the dates and poll times of the board's suspensions, the
// poll the operator focuses (applied to every sensor at once), the header's sort direction.
//
// The focused row is the chosen poll that the reports, the rate check and the deletion use. A
// rebuild chooses the newest poll: the board, the detail and the reports show what the tree
// shows selected, from the start and after every pass.
#include "core/TITPoint.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class QModelIndex;
class QTreeView;
class THardConfig;
class THistoryModel;
class TSilos;
struct Parameters;

class THistoryTree : public QObject {
    Q_OBJECT
public:
    // Gives the tree its model and looks, and follows its focus and header. A focused poll is
    // shown on the sensors of the hardware tree (whichever tree is current then), as the
    // settings say.
    THistoryTree(QTreeView& tree, const std::unique_ptr<THardConfig>& hardConfig, const Parameters& settings);

    THistoryModel& Model() const { return *FModel; }
    QTreeView& Tree() const { return FTree; }

    // Empties the tree (the board was rebuilt).
    void Clear();
    // Empties the tree, adds every suspension's polls, and chooses the newest poll (shown on the
    // sensors at once).
    void Rebuild(const std::vector<TSilos*>& suspensions);
    // Adds one suspension's polls to the tree as it is.
    void AddSilos(const TSilos* silos);

    // 0: newest first, 1: oldest first. Setting it sorts the tree again.
    int SortDirection() const;
    void SetSortDirection(int direction);

    // The focused row's point: the chosen poll.
    std::optional<TTITPoint> FocusedPoint() const;
    // The first selected row's point (after a rebuild: the newest poll, also focused).
    std::optional<TTITPoint> FirstSelectedPoint() const;

    // Shows the poll of the row on every sensor of the hardware tree (nothing for no row) and
    // tells the window to repaint.
    void vtHistoryFocusChanged(const QModelIndex& index);
    // The same with the first selected row.
    void ApplyFirstSelected();

signals:
    // A poll was applied to the sensors: the board and the detail must be repainted.
    void PollApplied();
    // The operator flipped the sort direction in the header.
    void SortDirectionChanged(int direction);

private:
    QModelIndex FirstSelected() const;
    void ShowSortIndicator();
    void vtHistoryHeaderClick();

    QTreeView& FTree;
    const std::unique_ptr<THardConfig>& FHardConfig;
    const Parameters& FSettings;
    THistoryModel* FModel;
};
