// Readings table through SQLite: exporting a million rows (1,000 sensors x 1,000 points) into a
// new table, and importing them back into a tree; items per second are rows per second.
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsQuery.h"
#include "core/DB/ReadingsTable.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr int kPointsPerSensor = 1000;
constexpr int64_t kRows = 1000 * kPointsPerSensor;
const QString kTable = QStringLiteral("readings");

// 25 blocks x 8 suspensions x 5 sensors.
std::unique_ptr<THardConfig> MakeTree(bool withPoints)
{
    auto tree = std::make_unique<THardConfig>(25, 8, 5);
    const TDateTime start = EncodeDateTime(2023, 1, 1, 0, 0, 0, 0);
    for (int b = 0; withPoints && b < tree->MBCount(); ++b)
        for (int s = 0; s < tree->SilosPerMB(); ++s)
            for (int t = 0; t < tree->TITPerSilos(); ++t) {
                std::vector<TTITPoint> points(kPointsPerSensor);
                for (int i = 0; i < kPointsPerSensor; ++i) {
                    points[i].SetTime(start + i / 24.0);
                    points[i].Value = 10.0 + 0.001 * ((b * 131 + s * 17 + t * 7 + i) % 20000);
                }
                tree->GetMB(b)->GetSilos(s)->GetTIT(t)->AssignPoints(std::move(points));
            }
    return tree;
}

void ForEachSilos(const THardConfig& tree, const auto& action)
{
    for (int b = 0; b < tree.MBCount(); ++b)
        for (int s = 0; s < tree.SilosPerMB(); ++s)
            action(*tree.GetMB(b)->GetSilos(s));
}

QString NewDatabase(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("readings.db"));
    QFile::remove(path);
    const QString connection = QStringLiteral("Data Source=") + path;
    TDBConnection db(connection);
    CreateReadingsTable(db, kTable);
    return connection;
}

void BM_ExportToSQLite(benchmark::State& state)
{
    QTemporaryDir dir;
    const auto tree = MakeTree(true);
    for (auto _ : state) {
        state.PauseTiming();
        const QString connection = NewDatabase(dir);
        state.ResumeTiming();
        TReadingsTable table(connection, kTable);
        ForEachSilos(*tree, [&](const TSilos& silos) { silos.SaveToTable(table); });
        table.Commit();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ExportToSQLite)->Unit(benchmark::kMillisecond);

void BM_ImportFromSQLite(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString connection = NewDatabase(dir);
    {
        const auto tree = MakeTree(true);
        TReadingsTable table(connection, kTable);
        ForEachSilos(*tree, [&](const TSilos& silos) { silos.SaveToTable(table); });
    }
    const auto tree = MakeTree(false);
    for (auto _ : state) {
        const TReadingsQuery query(connection, kTable);
        ForEachSilos(*tree, [&](TSilos& silos) { silos.LoadFromQuery(query); });
    }
    if (tree->GetMB(24)->GetSilos(7)->GetTIT(4)->PointCount() != kPointsPerSensor)
        state.SkipWithError("not every row came back");
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ImportFromSQLite)->Unit(benchmark::kMillisecond);

} // namespace
