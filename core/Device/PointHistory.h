#pragma once
// A sensor's history: its points kept sorted by time, and the averaged points built from them.
//
// Histories hold years of polls, so the work per stored point must not grow with the history:
// a point is found by binary search, a new latest point is appended at the end, and only the
// averaging window that the point falls into is recomputed. Any change of the history's shape
// that could move the windows (a new first day, another period, deleted points) rebuilds the
// averages from scratch, which gives exactly what an incremental update gives.
//
// Not thread-safe on its own; the owning sensor guards it.
#include "core/TITPoint.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Two stores closer than this many days (0.0864 s) are one poll: the later one replaces the value.
inline constexpr double kSamePointSpan = 1e-6;

class TPointHistory {
public:
    // Stores a value at a time: the first point within kSamePointSpan of the time takes the value
    // and the time; otherwise a new point goes in at its place in time order (after points of an
    // equal time). The averaged points follow for the averaging period in minutes.
    void Store(TDateTime time, double value, int averagePeriod);

    // Replaces the whole history by these points (any order; points of equal time stay apart)
    // and rebuilds the averages.
    void Assign(std::vector<TTITPoint> points, int averagePeriod);

    // Removes one point (nothing for an index out of range) and rebuilds the averages.
    void Delete(size_t index, int averagePeriod);

    void Clear();
    // Drops the averaged points until the next rebuild (or store, which rebuilds them).
    void ClearAverages();
    // Period 0: every point is its own averaged point. Otherwise windows of that many minutes
    // follow each other from midnight of the first point's day; a window's averaged point is the
    // mean of its points, stamped with the window's end; a point on a boundary belongs to the
    // earlier window; windows without points give nothing.
    void RebuildAverages(int averagePeriod);

    size_t PointCount() const { return points_.size(); }
    const TTITPoint& Point(size_t index) const { return points_[index]; }
    const std::vector<TTITPoint>& Points() const { return points_; }

    size_t AverageCount() const;
    const TTITPoint& Average(size_t index) const;
    std::vector<TTITPoint> Averages() const;

    // Index of the first point at the time or later (PointCount() when none).
    size_t FirstAtOrAfter(TDateTime time) const;

private:
    static constexpr size_t npos = static_cast<size_t>(-1);

    size_t FindSame(TDateTime time) const;
    bool InOrderAt(size_t index) const;
    bool CanUpdateAverages(int period) const;
    void UpdateAverages(size_t index, int64_t oldWindow);
    void RecomputeWindow(int64_t window);
    // Sets the window's averaged point from the points [first, last); none when that is empty.
    void SetWindowAverage(int64_t window, size_t first, size_t last);
    int64_t WindowOf(const TTITPoint& point) const;
    TDateTime WindowEnd(int64_t window) const;

    std::vector<TTITPoint> points_;
    // Averaged points for a period above 0; with period 0 the points themselves serve.
    std::vector<TTITPoint> averages_;
    std::vector<int64_t> windows_;   // the window number of each averaged point, ascending
    bool averagesValid_ = true;       // false after ClearAverages, until the next rebuild
    int period_ = 0;                  // minutes the averages were built for
    int64_t originDay_ = 0;           // the first point's day when they were built
};
