// The data file with a million points (1,000 sensors x 1,000 points): saving and loading,
// each against a bare QXmlStreamReader scan of the same file (the counter "x_scan" is the
// time of one save or load divided by the time of one scan; the goal is at most 2).
#include "core/DataFile/DataFile.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

constexpr int kPointsPerSensor = 1000;

// 25 blocks x 8 suspensions x 5 sensors, each with a thousand hourly points.
std::unique_ptr<THardConfig> MakeTree(bool withPoints)
{
    auto tree = std::make_unique<THardConfig>(25, 8, 5);
    if (!withPoints)
        return tree;
    const TDateTime start = EncodeDateTime(2023, 1, 1, 0, 0, 0, 0);
    for (int b = 0; b < tree->MBCount(); ++b)
        for (int s = 0; s < tree->SilosPerMB(); ++s)
            for (int t = 0; t < tree->TITPerSilos(); ++t) {
                std::vector<TTITPoint> points(kPointsPerSensor);
                for (int i = 0; i < kPointsPerSensor; ++i) {
                    points[i].SetTime(start + i / 24.0 + 0.000123);
                    points[i].Value = 10.0 + 0.001 * ((b * 131 + s * 17 + t * 7 + i) % 20000);
                }
                tree->GetMB(b)->GetSilos(s)->GetTIT(t)->AssignPoints(std::move(points));
            }
    return tree;
}

struct Fixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data.dxml"));
    std::unique_ptr<THardConfig> tree = MakeTree(true);
    double scanSeconds = 0;

    Fixture()
    {
        SaveDataFile(*tree, path);
        scanSeconds = 1e9;
        for (int i = 0; i < 3; ++i)
            scanSeconds = std::min(scanSeconds, TimeScan());
    }

    // Reads every token of the file and does nothing with it.
    qint64 Scan() const
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader xml(&file);
        qint64 tokens = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            ++tokens;
        }
        return tokens;
    }

    double TimeScan() const
    {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Scan());
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

void Report(benchmark::State& state, double seconds, int64_t iterations)
{
    state.SetItemsProcessed(iterations * 1000 * kPointsPerSensor);
    state.counters["x_scan"] = seconds / static_cast<double>(iterations) / Shared().scanSeconds;
    state.counters["MB"] = static_cast<double>(QFile(Shared().path).size()) / 1e6;
}

void BM_BareScan(benchmark::State& state)
{
    Fixture& f = Shared();
    double seconds = 0;
    for (auto _ : state)
        seconds += f.TimeScan();
    Report(state, seconds, state.iterations());
}
BENCHMARK(BM_BareScan)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state)
{
    Fixture& f = Shared();
    const QString path = f.dir.filePath(QStringLiteral("saved.dxml"));
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SaveDataFile(*f.tree, path);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    Report(state, seconds, state.iterations());
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state)
{
    Fixture& f = Shared();
    double seconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = MakeTree(false);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const TDataFileLoad result = LoadDataFile(*tree, f.path);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (result.result != TDataFileLoad::Result::Complete)
            state.SkipWithError("the file did not load whole");
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    Report(state, seconds, state.iterations());
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

} // namespace
