// The poll history of a year of hourly polls for a board of 12 suspensions of 6 sensors:
// building the tree's model, reading every row as a scrolling view does, choosing a poll for a
// full hardware tree, and deleting a poll.
#include "bench/common/YearOfPolls.h"
#include "app/detail/HistoryActions.h"
#include "app/detail/HistoryModel.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// A tree whose first silosCount suspensions hold a year of polls each; those are the board.
struct TBoard {
    explicit TBoard(int blocks, int silosCount) : Tree(blocks, 12, 6)
    {
        for (int b = 0; b < Tree.MBCount(); ++b)
            for (int s = 0; s < Tree.SilosPerMB(); ++s) {
                TSilos* silos = Tree.GetMB(b)->GetSilos(s);
                if (static_cast<int>(Silos.size()) < silosCount)
                    Silos.push_back(silos);
                for (int k = 0; k < silos->TITCount(); ++k)
                    silos->GetTIT(k)->AssignPoints(YearOfPolls(k));
            }
    }
    THardConfig Tree;
    std::vector<TSilos*> Silos;
};

void BM_BuildYearOfHistory(benchmark::State& state)
{
    TBoard board(1, 12);
    THistoryModel model;
    for (auto _ : state) {
        model.BeginBuild();
        for (const TSilos* silos : board.Silos)
            model.AddSilos(silos);
        model.EndBuild();
        benchmark::DoNotOptimize(model.NewestPoll());
    }
    state.counters["polls"] = model.PollCount();
    state.SetItemsProcessed(state.iterations() * 72 * kHoursPerYear);
}
BENCHMARK(BM_BuildYearOfHistory)->Unit(benchmark::kMillisecond);

// Every row's index, parent and text: more than a view ever asks for while scrolling.
void BM_ReadEveryRow(benchmark::State& state)
{
    TBoard board(1, 12);
    THistoryModel model;
    for (const TSilos* silos : board.Silos)
        model.AddSilos(silos);
    for (auto _ : state) {
        qsizetype characters = 0;
        for (int d = 0; d < model.rowCount(); ++d) {
            const QModelIndex date = model.index(d, 0);
            characters += model.data(date, Qt::DisplayRole).toString().size();
            for (int p = 0; p < model.rowCount(date); ++p) {
                const QModelIndex poll = model.index(p, 0, date);
                characters += model.data(poll, Qt::DisplayRole).toString().size();
                benchmark::DoNotOptimize(model.parent(poll));
            }
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * (kHoursPerYear + 365));
}
BENCHMARK(BM_ReadEveryRow)->Unit(benchmark::kMillisecond);

// Choosing a poll sets the values of every sensor of a 12 x 12 x 6 tree.
void BM_ChoosePollForFullTree(benchmark::State& state)
{
    TBoard board(12, 12);
    const int64_t poll = DateTimeToUnix(kYearStart + 4000 / 24.0);
    const Parameters settings;
    for (auto _ : state)
        ApplyPoll(board.Tree, poll, settings);
    state.SetItemsProcessed(state.iterations() * 864);
}
BENCHMARK(BM_ChoosePollForFullTree)->Unit(benchmark::kMillisecond);

// Deleting one poll from a board-sized tree with and without an averaging period; the points
// are put back between runs.
void BM_DeletePoll(benchmark::State& state)
{
    const int period = static_cast<int>(state.range(0));
    TBoard board(1, 12);
    const int64_t poll = DateTimeToUnix(kYearStart + 4000 / 24.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DeletePolls(board.Tree, DeletionWindow(poll, period), period));
        state.PauseTiming();
        for (TSilos* silos : board.Silos)
            for (int k = 0; k < silos->TITCount(); ++k)
                silos->GetTIT(k)->AssignPoints(YearOfPolls(k), period);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeletePoll)->Arg(0)->Arg(180)->Unit(benchmark::kMillisecond);

} // namespace
