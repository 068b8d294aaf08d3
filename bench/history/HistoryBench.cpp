// Storing and averaging sensor histories: a year of hourly polls for a full tree, long single
// histories stored in and out of order, rebuilding the averages, the rate check and painting.
#include "bench/common/YearOfPolls.h"
#include "core/Device/Device.h"
#include "core/Device/ReadingRules.h"
#include "core/Parameters.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

TDateTime Hour(int h)
{
    return kYearStart + h / 24.0;
}

// The settings the benchmarks run with (no rate check; the averaging period each one sets).
Parameters Settings;

void StoreReading(TTIT& tit, TDateTime time, double value)
{
    tit.ClearValues();
    tit.AddValue(true, time, value, Settings);
    tit.StorePoint(time, MakeReadingRules(Settings));
}

// Every pass of a year stores one point per sensor of a 12 x 12 x 6 tree (864 sensors).
void BM_YearOfHourlyPassesForAFullTree(benchmark::State& state)
{
    Settings.AveragePeriod = static_cast<int>(state.range(0));
    for (auto _ : state) {
        THardConfig tree(12, 12, 6);
        std::vector<TTIT*> sensors;
        for (int b = 0; b < tree.MBCount(); ++b)
            for (int s = 0; s < tree.SilosPerMB(); ++s)
                for (int t = 0; t < tree.TITPerSilos(); ++t)
                    sensors.push_back(tree.GetMB(b)->GetSilos(s)->GetTIT(t));
        for (int h = 0; h < kHoursPerYear; ++h) {
            for (TTIT* tit : sensors)
                StoreReading(*tit, Hour(h), 10.0 + (h % 7));
        }
        benchmark::DoNotOptimize(sensors.front()->AverageCount());
        state.SetItemsProcessed(state.items_processed() + static_cast<int64_t>(sensors.size()) * kHoursPerYear);
    }
    Settings.AveragePeriod = 0;
}
BENCHMARK(BM_YearOfHourlyPassesForAFullTree)->Arg(0)->Arg(180)->Iterations(1)->Unit(benchmark::kMillisecond);

// One sensor's history of a million points stored in time order.
void BM_MillionPointsInOrder(benchmark::State& state)
{
    Settings.AveragePeriod = static_cast<int>(state.range(0));
    for (auto _ : state) {
        TTIT tit(nullptr, 0);
        for (int i = 0; i < 1'000'000; ++i)
            StoreReading(tit, kYearStart + i / 96.0, i % 50);
        benchmark::DoNotOptimize(tit.AverageCount());
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
    Settings.AveragePeriod = 0;
}
BENCHMARK(BM_MillionPointsInOrder)->Arg(0)->Arg(60)->Iterations(1)->Unit(benchmark::kMillisecond);

// A history stored in random order (an archive read into a sensor with gaps); each store moves
// the later points, so this is the one case that grows with the history.
void BM_PointsOutOfOrder(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(1));
    Settings.AveragePeriod = 60;
    for (auto _ : state) {
        TTIT tit(nullptr, 0);
        for (int i : order)
            StoreReading(tit, Hour(i), i % 50);
        benchmark::DoNotOptimize(tit.AverageCount());
    }
    state.SetItemsProcessed(state.iterations() * count);
    Settings.AveragePeriod = 0;
}
BENCHMARK(BM_PointsOutOfOrder)->Arg(kHoursPerYear)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Rebuilding the averages of a million-point history (after loading, deleting or a new period).
void BM_RebuildAveragesOfAMillionPoints(benchmark::State& state)
{
    std::vector<TTITPoint> points(1'000'000);
    for (size_t i = 0; i < points.size(); ++i) {
        points[i].SetTime(kYearStart + static_cast<double>(i) / 96.0);
        points[i].Value = static_cast<double>(i % 50);
    }
    TTIT tit(nullptr, 0);
    tit.AssignPoints(points);
    Settings.AveragePeriod = static_cast<int>(state.range(0));
    for (auto _ : state) {
        tit.RebuildAverages(Settings.AveragePeriod);
        benchmark::DoNotOptimize(tit.AverageCount());
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
    Settings.AveragePeriod = 0;
}
BENCHMARK(BM_RebuildAveragesOfAMillionPoints)->Arg(60)->Arg(1440)->Unit(benchmark::kMillisecond);

// The rate check at the end of a year of hourly points.
void BM_RateCheckOnAYearOfPoints(benchmark::State& state)
{
    std::vector<TTITPoint> points(kHoursPerYear);
    for (int h = 0; h < kHoursPerYear; ++h) {
        points[static_cast<size_t>(h)].SetTime(Hour(h));
        points[static_cast<size_t>(h)].Value = 200.0;   // out of range: no series, no log writes
    }
    TTIT tit(nullptr, 0);
    tit.AssignPoints(points);
    for (auto _ : state)
        benchmark::DoNotOptimize(tit.CalcSpeed(Hour(kHoursPerYear - 1)));
}
BENCHMARK(BM_RateCheckOnAYearOfPoints);

// Painting a full board: colour and text of 864 sensors with three values each.
void BM_PaintAFullBoard(benchmark::State& state)
{
    THardConfig tree(12, 12, 6);
    for (int b = 0; b < 12; ++b)
        for (int s = 0; s < 12; ++s)
            for (int t = 0; t < 6; ++t) {
                TTIT* tit = tree.GetMB(b)->GetSilos(s)->GetTIT(t);
                tit->SetOff(50);
                for (double v : {20.0, 20.1, 25.0})
                    tit->AddValue(true, kYearStart, v, Settings);
            }
    for (auto _ : state) {
        for (int b = 0; b < 12; ++b)
            for (int s = 0; s < 12; ++s)
                for (int t = 0; t < 6; ++t) {
                    const TTIT* tit = tree.GetMB(b)->GetSilos(s)->GetTIT(t);
                    benchmark::DoNotOptimize(tit->GetColor(Settings));
                    benchmark::DoNotOptimize(tit->GetValueText(Settings));
                }
    }
    state.SetItemsProcessed(state.iterations() * 864);
}
BENCHMARK(BM_PaintAFullBoard)->Unit(benchmark::kMicrosecond);

} // namespace
