#pragma once
// The poll history tree: the times at which readings exist, grouped by calendar date. Root rows
// are dates, their children the poll times of that date; every row holds a copy of one history
// point (a date row the first point that created it, a poll row the first point seen at that
// Unix second).
//
// A year of hourly polls of a whole board is hundreds of thousands of points, so the tree is not
// made of node objects: the polls are one sorted array, the dates another with the index of each
// date's first poll, and rows are positions in them. Each suspension's sensors are merged in with
// one linear pass per sensor, which keeps the first point of every time and date as a
// sensor-by-sensor walk would. The sort direction only reverses how rows map to positions.
#include "core/TITPoint.h"

#include <QAbstractItemModel>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class TSilos;

class THistoryModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The header's sort direction: newest first, or oldest first.
    static constexpr int kNewestFirst = 0;
    static constexpr int kOldestFirst = 1;

    using QAbstractItemModel::QAbstractItemModel;

    void Clear();
    // A rebuild: the tree is emptied and shows nothing new until EndBuild.
    void BeginBuild();
    void EndBuild();
    // Adds the averaged points of every sensor of the suspension (nothing for nullptr).
    void AddSilos(const TSilos* silos);
    // Adds points given in time order (one sensor's history).
    void AddPoints(std::span<const TTITPoint> points);

    int Direction() const { return FDirection; }
    // Any value but kOldestFirst counts as newest first.
    void SetDirection(int direction);

    int DateCount() const { return static_cast<int>(FDates.size()); }
    int PollCount() const { return static_cast<int>(FPolls.size()); }
    bool IsEmpty() const { return FPolls.empty(); }

    bool IsDate(const QModelIndex& index) const { return index.isValid() && index.internalId() == 0; }
    // The point a row holds; nullopt for an invalid index.
    std::optional<TTITPoint> PointAt(const QModelIndex& index) const;
    // The newest poll row: the first child of the first date when the newest come first, else
    // the last child of the last date; invalid when the tree is empty.
    QModelIndex NewestPoll() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // Positions in time order; rows follow the direction.
    int DatePos(int row) const;
    int PollPos(int date, int row) const;
    int PollsOf(int date) const;
    QModelIndex DateIndex(int date) const;
    void Group();

    std::vector<TTITPoint> FPolls;        // by (date, Unix second), one per pair
    std::vector<TTITPoint> FDates;        // by date, one per date
    std::vector<uint32_t> FDateStart;     // FDates.size() + 1 entries: the first poll of each date
    std::vector<TTITPoint> FScratch;      // reused by the merges
    int FDirection = kNewestFirst;
    bool FBuilding = false;
};
