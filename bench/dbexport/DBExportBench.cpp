// Readings table: exporting a million rows (1,000 sensors x 1,000 points) into a new table, each
// beside a bare client that writes the same rows through the database's own C library in the
// same run (SQLite: one prepared insert, every value bound for each row, committed every
// 100,000 rows as the program commits; PostgreSQL: one COPY in binary form); and importing them
// back into a tree. Items per second are rows per second;
// "ratio" is the program's rows per second over the bare client's. The PostgreSQL benchmark
// needs the server of scripts/with-postgres.sh (its connection string in TZ_TEST_POSTGRES).
#include "core/DB/ConnectionString.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsQuery.h"
#include "core/DB/ReadingsTable.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <bit>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

constexpr int kPointsPerSensor = 1000;
constexpr int64_t kRows = 1000 * kPointsPerSensor;
// As often as the program commits its export.
constexpr int64_t kRowsPerTransaction = 100000;
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

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ExportTree(const THardConfig& tree, const QString& connection)
{
    TReadingsTable table(connection, kTable);
    ForEachSilos(tree, [&](const TSilos& silos) { silos.SaveToTable(table); });
    table.Commit();
}

// Calls `row` with each sensor's name (UTF-8), its three numbers and each of its points.
void ForEachRow(const THardConfig& tree, const auto& row)
{
    ForEachSilos(tree, [&](const TSilos& silos) {
        const QByteArray name = silos.GetName().toUtf8();
        for (int t = 0; t < silos.TITCount(); ++t)
            for (const TTITPoint& point : silos.GetTIT(t)->Points())
                row(name, silos.GetMBAddr() + 1, silos.No() + 1, t + 1, point.Time, point.Value);
    });
}

void SqliteExec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

// The bare baseline: the rows through one prepared statement of the sqlite3 C library, in the
// program's transactions.
void BareSQLiteExport(const THardConfig& tree, const QString& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open the database");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO readings (SilosName, DevAddr, DevNo, TIT, FixTime, Val) VALUES (?, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    SqliteExec(db, "BEGIN");
    int64_t rowsInTransaction = 0;
    ForEachRow(tree, [&](const QByteArray& name, int addr, int no, int tit, double time, double value) {
        sqlite3_bind_text(insert, 1, name.constData(), static_cast<int>(name.size()), SQLITE_STATIC);
        sqlite3_bind_int(insert, 2, addr);
        sqlite3_bind_int(insert, 3, no);
        sqlite3_bind_int(insert, 4, tit);
        sqlite3_bind_double(insert, 5, time);
        sqlite3_bind_double(insert, 6, value);
        if (sqlite3_step(insert) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(insert);
        if (++rowsInTransaction == kRowsPerTransaction) {
            SqliteExec(db, "COMMIT");
            SqliteExec(db, "BEGIN");
            rowsInTransaction = 0;
        }
    });
    SqliteExec(db, "COMMIT");
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

void BM_ExportToSQLite(benchmark::State& state)
{
    QTemporaryDir dir;
    const auto tree = MakeTree(true);
    const QString path = dir.filePath(QStringLiteral("readings.db"));
    double programSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        const QString connection = NewDatabase(dir);
        auto start = std::chrono::steady_clock::now();
        ExportTree(*tree, connection);
        const double program = Seconds(start);
        programSeconds += program;
        NewDatabase(dir);
        start = std::chrono::steady_clock::now();
        BareSQLiteExport(*tree, path);
        bareSeconds += Seconds(start);
        state.SetIterationTime(program);
    }
    const auto rows = static_cast<double>(state.iterations() * kRows);
    state.counters["rows_per_s"] = rows / programSeconds;
    state.counters["bare_rows_per_s"] = rows / bareSeconds;
    state.counters["ratio"] = bareSeconds / programSeconds;
}
BENCHMARK(BM_ExportToSQLite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

// The PostgreSQL connection of the test server as libpq parameters.
std::string PostgresParameters(const QString& connectionString)
{
    const TDBConnectionParams p = ParseConnectionString(connectionString);
    return QStringLiteral("host='%1' port=%2 dbname='%3' user='%4'")
        .arg(p.HostName)
        .arg(p.Port)
        .arg(p.DatabaseName, p.UserName)
        .toStdString();
}

void PostgresExec(PGconn* db, const char* sql)
{
    PGresult* result = PQexec(db, sql);
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    if (!ok)
        throw std::runtime_error(PQerrorMessage(db));
}

// Integers in network order, as COPY's binary form has them.
template <class Integer>
void AppendBigEndian(std::string& out, Integer value)
{
    for (size_t i = sizeof value; i-- > 0;)
        out += static_cast<char>(static_cast<std::make_unsigned_t<Integer>>(value) >> (8 * i));
}

// The bare baseline: every row in one COPY through libpq, in binary form.
void BarePostgresExport(const THardConfig& tree, PGconn* db)
{
    std::string data("PGCOPY\n\377\r\n", 11);
    AppendBigEndian(data, int64_t{0});   // flags and header extension
    ForEachRow(tree, [&](const QByteArray& name, int addr, int no, int tit, double time, double value) {
        AppendBigEndian(data, int16_t{6});
        AppendBigEndian(data, static_cast<int32_t>(name.size()));
        data.append(name.constData(), static_cast<size_t>(name.size()));
        for (const int32_t number : {addr, no, tit}) {
            AppendBigEndian(data, int32_t{4});
            AppendBigEndian(data, number);
        }
        for (const double real : {time, value}) {
            AppendBigEndian(data, int32_t{8});
            AppendBigEndian(data, std::bit_cast<int64_t>(real));
        }
    });
    AppendBigEndian(data, int16_t{-1});
    PostgresExec(db, "BEGIN");
    PGresult* copy = PQexec(db, "COPY readings (SilosName, DevAddr, DevNo, TIT, FixTime, Val) FROM STDIN (FORMAT binary)");
    PQclear(copy);
    PQputCopyData(db, data.data(), static_cast<int>(data.size()));
    PQputCopyEnd(db, nullptr);
    while (PGresult* result = PQgetResult(db)) {
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
        if (!ok)
            throw std::runtime_error(PQerrorMessage(db));
    }
    PostgresExec(db, "COMMIT");
}

void BM_ExportToPostgreSQL(benchmark::State& state)
{
    const QString connection = qEnvironmentVariable("TZ_TEST_POSTGRES");
    if (connection.isEmpty()) {
        state.SkipWithError("TZ_TEST_POSTGRES is not set: run through scripts/with-postgres.sh");
        return;
    }
    const auto tree = MakeTree(true);
    PGconn* bare = PQconnectdb(PostgresParameters(connection).c_str());
    PQsetNoticeProcessor(bare, [](void*, const char*) {}, nullptr);   // "does not exist, skipping"
    const auto fresh = [&] {
        PostgresExec(bare, "DROP TABLE IF EXISTS readings");
        TDBConnection db(connection);
        CreateReadingsTable(db, kTable);
    };
    double programSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        fresh();
        auto start = std::chrono::steady_clock::now();
        ExportTree(*tree, connection);
        const double program = Seconds(start);
        programSeconds += program;
        fresh();
        start = std::chrono::steady_clock::now();
        BarePostgresExport(*tree, bare);
        bareSeconds += Seconds(start);
        state.SetIterationTime(program);
    }
    PostgresExec(bare, "DROP TABLE IF EXISTS readings");
    PQfinish(bare);
    const auto rows = static_cast<double>(state.iterations() * kRows);
    state.counters["rows_per_s"] = rows / programSeconds;
    state.counters["bare_rows_per_s"] = rows / bareSeconds;
    state.counters["ratio"] = bareSeconds / programSeconds;
}
BENCHMARK(BM_ExportToPostgreSQL)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

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
