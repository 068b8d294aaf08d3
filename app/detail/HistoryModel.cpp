#include "app/detail/HistoryModel.h"

#include "base/FormatDateTime.h"
#include "core/Device/Silos.h"

#include <algorithm>
#include <utility>

namespace {

// Polls are told apart by their date and their Unix second; both only grow along a sensor's
// history, so each sensor's points arrive already in this order.
std::pair<int64_t, int64_t> PollKey(const TTITPoint& point)
{
    return {point.Days(), point.UnixTime};
}

// Merges the sorted points into the sorted, duplicate-free target. Where a key is in both, the
// target keeps its own point (it was seen first); repeated keys of the points count once.
template <class Key>
void MergeFirstSeen(std::vector<TTITPoint>& target, std::span<const TTITPoint> points, Key key,
                    std::vector<TTITPoint>& scratch)
{
    if (points.empty())
        return;
    // Most sensors of a board were polled together: nothing new, and nothing to copy.
    const auto less = [&](const TTITPoint& a, const TTITPoint& b) { return key(a) < key(b); };
    if (std::includes(target.begin(), target.end(), points.begin(), points.end(), less))
        return;
    scratch.clear();
    scratch.reserve(target.size() + points.size());
    size_t i = 0;
    size_t j = 0;
    const auto skipSame = [&](const auto& k) {
        while (j < points.size() && key(points[j]) == k)
            ++j;
    };
    while (i < target.size() && j < points.size()) {
        const auto a = key(target[i]);
        const auto b = key(points[j]);
        if (a < b) {
            scratch.push_back(target[i++]);
        } else if (b < a) {
            scratch.push_back(points[j]);
            skipSame(b);
        } else {
            scratch.push_back(target[i++]);
            skipSame(b);
        }
    }
    scratch.insert(scratch.end(), target.begin() + static_cast<std::ptrdiff_t>(i), target.end());
    while (j < points.size()) {
        scratch.push_back(points[j]);
        skipSame(key(points[j]));
    }
    target.swap(scratch);
}

QString Text(const char* format, TDateTime time)
{
    return QString::fromStdString(FormatDateTime(format, time));
}

} // namespace

void THistoryModel::Clear()
{
    beginResetModel();
    FPolls.clear();
    FDates.clear();
    FDateStart.assign(1, 0);
    endResetModel();
}

void THistoryModel::BeginBuild()
{
    if (FBuilding)
        return;
    beginResetModel();
    FBuilding = true;
    FPolls.clear();
    FDates.clear();
}

void THistoryModel::EndBuild()
{
    if (!FBuilding)
        return;
    Group();
    FBuilding = false;
    endResetModel();
}

void THistoryModel::AddSilos(const TSilos* silos)
{
    if (!silos)
        return;
    const bool own = !FBuilding;
    if (own) {
        beginResetModel();
        FBuilding = true;
    }
    for (int k = 0; k < silos->TITCount(); ++k) {
        const std::vector<TTITPoint> points = silos->GetTIT(k)->Averages();
        AddPoints(points);
    }
    if (own)
        EndBuild();
}

void THistoryModel::AddPoints(std::span<const TTITPoint> points)
{
    const bool own = !FBuilding;
    if (own) {
        beginResetModel();
        FBuilding = true;
    }
    MergeFirstSeen(FPolls, points, PollKey, FScratch);
    MergeFirstSeen(FDates, points, [](const TTITPoint& point) { return point.Days(); }, FScratch);
    if (own)
        EndBuild();
}

void THistoryModel::Group()
{
    FDateStart.assign(FDates.size() + 1, 0);
    uint32_t poll = 0;
    for (size_t date = 0; date < FDates.size(); ++date) {
        FDateStart[date] = poll;
        const int64_t day = FDates[date].Days();
        while (poll < FPolls.size() && FPolls[poll].Days() == day)
            ++poll;
    }
    FDateStart[FDates.size()] = poll;
}

void THistoryModel::SetDirection(int direction)
{
    direction = direction == kOldestFirst ? kOldestFirst : kNewestFirst;
    if (direction == FDirection)
        return;
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    FDirection = direction;
    // Reversing the direction mirrors every row within its parent; the internal ids (the date
    // positions) stay, so selection and focus follow their points.
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before) {
        const int count = old.internalId() == 0 ? DateCount() : PollsOf(static_cast<int>(old.internalId() - 1));
        after.append(createIndex(count - 1 - old.row(), old.column(), old.internalId()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

int THistoryModel::DatePos(int row) const
{
    return FDirection == kOldestFirst ? row : DateCount() - 1 - row;
}

int THistoryModel::PollsOf(int date) const
{
    return static_cast<int>(FDateStart[static_cast<size_t>(date) + 1] - FDateStart[static_cast<size_t>(date)]);
}

int THistoryModel::PollPos(int date, int row) const
{
    const int first = static_cast<int>(FDateStart[static_cast<size_t>(date)]);
    return first + (FDirection == kOldestFirst ? row : PollsOf(date) - 1 - row);
}

QModelIndex THistoryModel::DateIndex(int date) const
{
    return createIndex(FDirection == kOldestFirst ? date : DateCount() - 1 - date, 0, quintptr(0));
}

std::optional<TTITPoint> THistoryModel::PointAt(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return std::nullopt;
    if (index.internalId() == 0)
        return FDates[static_cast<size_t>(DatePos(index.row()))];
    return FPolls[static_cast<size_t>(PollPos(static_cast<int>(index.internalId() - 1), index.row()))];
}

QModelIndex THistoryModel::NewestPoll() const
{
    if (FPolls.empty() || FBuilding)
        return {};
    const int date = DateCount() - 1;
    const int row = FDirection == kOldestFirst ? PollsOf(date) - 1 : 0;
    return createIndex(row, 0, quintptr(date + 1));
}

QModelIndex THistoryModel::index(int row, int column, const QModelIndex& parent) const
{
    if (FBuilding || column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < DateCount() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0)
        return {};
    const int date = DatePos(parent.row());
    return row < PollsOf(date) ? createIndex(row, 0, quintptr(date + 1)) : QModelIndex();
}

QModelIndex THistoryModel::parent(const QModelIndex& child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return DateIndex(static_cast<int>(child.internalId() - 1));
}

int THistoryModel::rowCount(const QModelIndex& parent) const
{
    if (FBuilding)
        return 0;
    if (!parent.isValid())
        return DateCount();
    if (parent.internalId() != 0 || parent.column() != 0)
        return 0;
    return PollsOf(DatePos(parent.row()));
}

int THistoryModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant THistoryModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    const auto point = PointAt(index);
    if (!point)
        return {};
    return IsDate(index) ? Text("dd.mm.yyyy", point->Time) : Text("hh.nn.ss", point->Time);
}

QVariant THistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("История измерений");
    return {};
}
