#include "core/Device/PointHistory.h"

#include "base/DateTime.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int64_t kMSecsPerDayInt = 86'400'000;
constexpr int64_t kMSecsPerMinute = 60'000;

// Times compared to the millisecond, so that window boundaries are exact.
int64_t ToMSecs(TDateTime time)
{
    return std::llround(time * kMSecsPerDay);
}

bool EarlierThan(const TTITPoint& point, TDateTime time)
{
    return point.Time < time;
}

} // namespace

size_t TPointHistory::FirstAtOrAfter(TDateTime time) const
{
    return static_cast<size_t>(std::lower_bound(points_.begin(), points_.end(), time, EarlierThan) - points_.begin());
}

size_t TPointHistory::FindSame(TDateTime time) const
{
    const size_t index = FirstAtOrAfter(time - kSamePointSpan);
    if (index < points_.size() && points_[index].Time <= time + kSamePointSpan)
        return index;
    return npos;
}

bool TPointHistory::InOrderAt(size_t index) const
{
    const TDateTime time = points_[index].Time;
    return (index == 0 || points_[index - 1].Time <= time)
        && (index + 1 == points_.size() || time <= points_[index + 1].Time);
}

void TPointHistory::Store(TDateTime time, double value, int averagePeriod)
{
    const int period = std::max(averagePeriod, 0);
    const bool canUpdate = CanUpdateAverages(period);
    size_t index = FindSame(time);
    int64_t oldWindow = -1;
    if (index != npos) {
        if (canUpdate && period > 0)
            oldWindow = WindowOf(points_[index]);
        points_[index].Value = value;
        points_[index].SetTime(time);
        if (!InOrderAt(index)) {
            // Only possible when points closer than the span were loaded: put them in order again.
            std::stable_sort(points_.begin(), points_.end(),
                             [](const TTITPoint& a, const TTITPoint& b) { return a.Time < b.Time; });
            RebuildAverages(period);
            return;
        }
    } else {
        const auto at = std::upper_bound(points_.begin(), points_.end(), time,
                                         [](TDateTime t, const TTITPoint& p) { return t < p.Time; });
        TTITPoint point;
        point.Value = value;
        point.SetTime(time);
        index = static_cast<size_t>(at - points_.begin());
        points_.insert(at, point);
    }
    if (canUpdate && (period == 0 || points_.front().Days() == originDay_))
        UpdateAverages(index, oldWindow);
    else
        RebuildAverages(period);
}

void TPointHistory::Assign(std::vector<TTITPoint> points, int averagePeriod)
{
    std::stable_sort(points.begin(), points.end(),
                     [](const TTITPoint& a, const TTITPoint& b) { return a.Time < b.Time; });
    points_ = std::move(points);
    RebuildAverages(averagePeriod);
}

void TPointHistory::Delete(size_t index, int averagePeriod)
{
    if (index >= points_.size())
        return;
    points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(index));
    RebuildAverages(averagePeriod);
}

void TPointHistory::Clear()
{
    points_.clear();
    averages_.clear();
    windows_.clear();
    averagesValid_ = true;
}

void TPointHistory::ClearAverages()
{
    averages_.clear();
    windows_.clear();
    averagesValid_ = false;
}

size_t TPointHistory::AverageCount() const
{
    if (!averagesValid_)
        return 0;
    return period_ == 0 ? points_.size() : averages_.size();
}

const TTITPoint& TPointHistory::Average(size_t index) const
{
    return period_ == 0 ? points_[index] : averages_[index];
}

std::vector<TTITPoint> TPointHistory::Averages() const
{
    if (!averagesValid_)
        return {};
    return period_ == 0 ? points_ : averages_;
}

bool TPointHistory::CanUpdateAverages(int period) const
{
    return averagesValid_ && period == period_ && !points_.empty();
}

int64_t TPointHistory::WindowOf(const TTITPoint& point) const
{
    const int64_t sinceOrigin = ToMSecs(point.Time) - originDay_ * kMSecsPerDayInt;
    if (sinceOrigin <= 0)
        return 0;
    // A point exactly on a boundary belongs to the window that ends there.
    return (sinceOrigin - 1) / (period_ * kMSecsPerMinute);
}

TDateTime TPointHistory::WindowEnd(int64_t window) const
{
    const int64_t endMSecs = (window + 1) * period_ * kMSecsPerMinute;
    return static_cast<double>(originDay_) + static_cast<double>(endMSecs) / kMSecsPerDay;
}

void TPointHistory::RebuildAverages(int averagePeriod)
{
    averages_.clear();
    windows_.clear();
    period_ = std::max(averagePeriod, 0);
    averagesValid_ = true;
    if (period_ == 0 || points_.empty())
        return;
    originDay_ = points_.front().Days();
    size_t first = 0;
    while (first < points_.size()) {
        const int64_t window = WindowOf(points_[first]);
        double sum = 0;
        size_t last = first;
        for (; last < points_.size() && WindowOf(points_[last]) == window; ++last)
            sum += points_[last].Value;
        TTITPoint average;
        average.Value = sum / static_cast<double>(last - first);
        average.SetTime(WindowEnd(window));
        averages_.push_back(average);
        windows_.push_back(window);
        first = last;
    }
}

void TPointHistory::UpdateAverages(size_t index, int64_t oldWindow)
{
    if (period_ == 0)
        return;   // the points themselves are the averaged points
    const int64_t window = WindowOf(points_[index]);
    // The stored point lies in its window: the window's other points are its neighbours.
    size_t first = index;
    while (first > 0 && WindowOf(points_[first - 1]) == window)
        --first;
    size_t last = index + 1;
    while (last < points_.size() && WindowOf(points_[last]) == window)
        ++last;
    SetWindowAverage(window, first, last);
    if (oldWindow >= 0 && oldWindow != window)
        RecomputeWindow(oldWindow);
}

void TPointHistory::RecomputeWindow(int64_t window)
{
    const auto first = std::partition_point(points_.begin(), points_.end(),
                                            [&](const TTITPoint& p) { return WindowOf(p) < window; });
    const auto last = std::partition_point(first, points_.end(),
                                           [&](const TTITPoint& p) { return WindowOf(p) <= window; });
    SetWindowAverage(window, static_cast<size_t>(first - points_.begin()), static_cast<size_t>(last - points_.begin()));
}

void TPointHistory::SetWindowAverage(int64_t window, size_t first, size_t last)
{
    // New windows come at the end in the common case of a new latest poll.
    const auto at = !windows_.empty() && windows_.back() < window
        ? windows_.end()
        : std::lower_bound(windows_.begin(), windows_.end(), window);
    const auto slot = at - windows_.begin();
    const bool present = at != windows_.end() && *at == window;
    if (first == last) {
        if (present) {
            windows_.erase(at);
            averages_.erase(averages_.begin() + slot);
        }
        return;
    }
    double sum = 0;
    for (size_t i = first; i < last; ++i)
        sum += points_[i].Value;
    TTITPoint average;
    average.Value = sum / static_cast<double>(last - first);
    average.SetTime(WindowEnd(window));
    if (present) {
        averages_[static_cast<size_t>(slot)] = average;
    } else {
        windows_.insert(at, window);
        averages_.insert(averages_.begin() + slot, average);
    }
}
