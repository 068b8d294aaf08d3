// The temperature protocol of a full board (256 local blocks of 12 suspensions of 6 sensors, a
// hundred polls each): its rows for the newest poll, beside a bare loop that looks up the same
// readings into plain rows, and the whole protocol, rows and pages, on the virtual A4 page.
#include <memory>
#include <vector>

#include <QAction>
#include <QApplication>

#include <benchmark/benchmark.h>

#include "bench/common/QtBenchmarkMain.h"
#include "app/detail/HistoryActions.h"
#include "app/main/ActionList.h"
#include "app/reports/ProtocolData.h"
#include "app/reports/ReportTables.h"
#include "app/reports/StateReports.h"
#include "base/DateTime.h"
#include "core/Device/HardConfig.h"
#include "core/Device/Silos.h"
#include "core/Parameters.h"
#include "report/data/MemoryTable.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kBlocks = 256;
constexpr int kSuspensions = 12;
constexpr int kSensors = 6;
constexpr int kPolls = 100;

struct FullBoard {
    FullBoard()
    {
        const TDateTime first = EncodeDateTime(2024, 1, 1, 8, 0, 0, 0);
        for (int b = 0; b < kBlocks; ++b)
            for (int s = 0; s < kSuspensions; ++s) {
                TSilos* silos = config.GetMB(b)->GetSilos(s);
                board.push_back({QStringLiteral("Силкорпус %1").arg(b + 1), b + 1, silos});
                for (int k = 0; k < kSensors; ++k) {
                    std::vector<TTITPoint> points(kPolls);
                    for (int p = 0; p < kPolls; ++p) {
                        points[size_t(p)].SetTime(first + p / 4.0);
                        points[size_t(p)].Value = 10 + (b + s + k + p) % 30;
                    }
                    silos->GetTIT(k)->AssignPoints(std::move(points));
                }
            }
        poll = config.GetMB(0)->GetSilos(0)->GetTIT(0)->GetPoint(kPolls - 1).value();
        DefineReportTable(table);
    }

    THardConfig config{kBlocks, kSuspensions, kSensors};
    TBoardSuspensions board;
    TTITPoint poll;
    Parameters settings;
    TMemoryTable table;
};

FullBoard& Board()
{
    static FullBoard board;
    return board;
}

void BM_ProtocolRows(benchmark::State& state)
{
    FullBoard& b = Board();
    for (auto _ : state)
        FillReportData(b.table, b.board, b.poll, b.settings, {}, true);
    state.SetItemsProcessed(state.iterations() * int64_t(b.board.size()));
}
BENCHMARK(BM_ProtocolRows)->Unit(benchmark::kMillisecond);

// The baseline: the same readings looked up into plain rows, sorted by name.
void BM_ProtocolRowsBare(benchmark::State& state)
{
    struct Row {
        QString bin, name, address;
        double values[kSensors];
    };
    FullBoard& b = Board();
    for (auto _ : state) {
        std::vector<Row> rows;
        for (const TBoardSuspension& cell : b.board) {
            Row row{cell.BinName, cell.Silos->GetName(), TechAddress(cell.BinNo, *cell.Silos), {}};
            for (int k = 0; k < kSensors; ++k)
                row.values[k] = FindAverage(*cell.Silos->GetTIT(k), b.poll.UnixTime)->Value;
            rows.push_back(std::move(row));
        }
        std::stable_sort(rows.begin(), rows.end(), [](const Row& x, const Row& y) {
            return x.name.compare(y.name, Qt::CaseInsensitive) < 0;
        });
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(b.board.size()));
}
BENCHMARK(BM_ProtocolRowsBare)->Unit(benchmark::kMillisecond);

// The whole one-column protocol: rows, header, columns and the pages.
void BM_ProtocolPages(benchmark::State& state)
{
    FullBoard& b = Board();
    QObject owner;
    TStateReportActions a;
    for (QAction** action : {&a.acPreview, &a.acPevewErr, &a.acPrevewSelTemp, &a.acPreviwSilBin, &a.acReport2Col,
                             &a.acReportColor, &a.acColorPrint, &a.acSortBySilos, &a.acReportExportRTF,
                             &a.acReportExportTXT, &a.acPrint, &a.miReportTimeManual})
        *action = new QAction(&owner);
    TrpRunContext context;
    TStateReportsWindow window;
    window.Settings = &b.settings;
    window.Actions = a;
    window.Board = [&] { return b.board; };
    window.ChosenPoll = [&] { return std::optional<TTITPoint>(b.poll); };
    TStateReports reports(context, window);
    int pages = 0;
    for (auto _ : state) {
        reports.ShowReport({});
        pages = reports.rpReport->EMFPages->Count();
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ProtocolPages)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
