// The temperature chart of a suspension with a year of hourly polls on each of its six sensors:
// turning one history into stair-step points, filling the chart, and drawing it.
#include "bench/common/QtBenchmarkMain.h"
#include "bench/common/YearOfPolls.h"
#include "app/graph/GraphPoints.h"
#include "app/graph/SiloGraph.h"
#include "core/Device/Device.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineSeries>
#include <QPixmap>

#include <vector>

namespace {

struct TYearSilos {
    TYearSilos() : Tree(1, 1, 6)
    {
        Silos = Tree.GetMB(0)->GetSilos(0);
        for (int k = 0; k < Silos->TITCount(); ++k)
            Silos->GetTIT(k)->AssignPoints(YearOfPolls(k));
    }
    THardConfig Tree;
    TSilos* Silos = nullptr;
};

void BM_StairPointsOfAYear(benchmark::State& state)
{
    const std::vector<TTITPoint> points = YearOfPolls(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(GraphPoints(points));
    state.SetItemsProcessed(state.iterations() * kHoursPerYear);
}
BENCHMARK(BM_StairPointsOfAYear)->Unit(benchmark::kMillisecond);

void BM_ShowSuspensionWithAYearOfPolls(benchmark::State& state)
{
    TYearSilos year;
    TSiloGraph graph;
    graph.resize(1200, 700);
    for (auto _ : state) {
        graph.ShowSilo(year.Silos);
        benchmark::DoNotOptimize(graph.Line(5)->count());
    }
    state.SetItemsProcessed(state.iterations() * 6 * kHoursPerYear);
}
BENCHMARK(BM_ShowSuspensionWithAYearOfPolls)->Unit(benchmark::kMillisecond);

void BM_DrawAYearOfPolls(benchmark::State& state)
{
    TYearSilos year;
    TSiloGraph graph;
    graph.resize(1200, 700);
    graph.ShowSilo(year.Silos);
    for (auto _ : state)
        benchmark::DoNotOptimize(graph.grab());
}
BENCHMARK(BM_DrawAYearOfPolls)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
