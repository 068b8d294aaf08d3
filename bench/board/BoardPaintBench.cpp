// Painting the board after a pass: 32 silo-block frames of 12 x 12 cells, every cell a
// suspension of six sensors with a value, each frame's table painted whole (what a repaint of
// the board costs), and one frame's table alone; and the whole board after a pass whose line
// failed, every sensor shown as not replied (black bands, the names drawn light over them).
#include "bench/common/QtBenchmarkMain.h"
#include "app/board/FrameSiloBin.h"
#include "app/board/SiloBinGrid.h"
#include "app/board/BinPanel.h"
#include "core/Device/Device.h"
#include "core/Monitor.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include <vector>

namespace {

constexpr int kFrames = 32;
constexpr int kSide = 12;

struct TFullBoard {
    explicit TFullBoard(bool replied = true)
    {
        std::unique_ptr<THardConfig>& HardConfig = monitor.HardConfig;
        HardConfig = std::make_unique<THardConfig>(kFrames, kSide, 6);
        for (int mb = 0; mb < kFrames; ++mb)
            for (int s = 0; s < kSide; ++s)
                for (int t = 0; t < 6; ++t) {
                    TTIT& tit = *HardConfig->GetMB(mb)->GetSilos(s)->GetTIT(t);
                    tit.SetOff(kR0Ohm50);
                    tit.SetMult(kMultOhm50);
                    tit.AddValue(true, 45000.5, 5.0 + (mb + s + t * 7) % 40, monitor.Settings);
                    tit.SetValid(replied);
                }
        for (int f = 0; f < kFrames; ++f) {
            auto* frame = new TfrSiLoBin(monitor, static_cast<uint8_t>(f + 1), nullptr, &panel);
            frame->SetGridSize(kSide, kSide);
            for (int row = 0; row < kSide; ++row)
                for (int col = 0; col < kSide; ++col)
                    frame->SetSilo(row, col, HardConfig->GetMB(f)->GetSilos(col));
            frames.push_back(frame);
        }
    }
    TMonitor monitor;
    TBinPanel panel;
    std::vector<TfrSiLoBin*> frames;
};

void BM_PaintWholeBoard(benchmark::State& state)
{
    TFullBoard board;
    QPixmap target(board.frames.front()->vtTree->size());
    for (auto _ : state)
        for (TfrSiLoBin* frame : board.frames)
            frame->vtTree->render(&target);
    state.SetItemsProcessed(state.iterations() * kFrames * kSide * kSide);
}
BENCHMARK(BM_PaintWholeBoard)->Unit(benchmark::kMillisecond);

void BM_PaintWholeBoardNotReplied(benchmark::State& state)
{
    TFullBoard board(false);
    QPixmap target(board.frames.front()->vtTree->size());
    for (auto _ : state)
        for (TfrSiLoBin* frame : board.frames)
            frame->vtTree->render(&target);
    state.SetItemsProcessed(state.iterations() * kFrames * kSide * kSide);
}
BENCHMARK(BM_PaintWholeBoardNotReplied)->Unit(benchmark::kMillisecond);

void BM_PaintOneFrame(benchmark::State& state)
{
    TFullBoard board;
    QPixmap target(board.frames.front()->vtTree->size());
    for (auto _ : state)
        board.frames.front()->vtTree->render(&target);
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_PaintOneFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
