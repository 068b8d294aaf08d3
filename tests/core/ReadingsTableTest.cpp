// The readings table against real databases: a SQLite file, and the PostgreSQL server that
// scripts/with-postgres.sh starts (its connection string in TZ_TEST_POSTGRES).
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsQuery.h"
#include "core/DB/ReadingsTable.h"
#include "core/DB/RowProgress.h"
#include "ReadingsTestSupport.h"
#include "SensorTestSupport.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <atomic>
#include <set>
#include <thread>

namespace {

// Counts rows and reports a cancellation once a number of them is done.
class TestProgress : public IRowProgress {
public:
    explicit TestProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
    void AdvanceRow() override { ++rows; }
    bool IsCancelled() const override { return cancelAfter_ >= 0 && rows >= cancelAfter_; }
    std::atomic<int> rows{0};

private:
    const int cancelAfter_;
};

struct Row {
    QString name;
    int addr, no, tit;
    double time, value;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.name.toStdString() << " " << r.addr << "." << r.no << "." << r.tit << " " << r.time << " " << r.value;
}

class ReadingsTable : public SensorTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        if (IsPostgres()) {
            connection_ = qEnvironmentVariable("TZ_TEST_POSTGRES");
            // CI always provides the server: there a missing one is a fault, not a reason to skip.
            if (connection_.isEmpty() && qEnvironmentVariableIsSet("CI"))
                FAIL() << "TZ_TEST_POSTGRES is not set although CI is: scripts/run-tests.sh starts the server";
            if (connection_.isEmpty())
                GTEST_SKIP() << "TZ_TEST_POSTGRES is not set: run the tests through scripts/with-postgres.sh "
                                "(scripts/run-tests.sh does) to test against a PostgreSQL server";
        } else {
            connection_ = QStringLiteral("Data Source=") + dir_.filePath(QStringLiteral("readings.db"));
        }
        // Tests run side by side against one server: each gets a table of its own.
        table_ = QStringLiteral("readings_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter_);
        TDBConnection db(connection_);
        CreateReadingsTable(db, table_);
    }

    void TearDown() override
    {
        if (!table_.isEmpty() && IsPostgres()) {
            TDBConnection db(connection_);
            db.Exec(QStringLiteral("DROP TABLE IF EXISTS ") + table_);
        }
    }

    bool IsPostgres() const { return QByteArray(GetParam()) == "PostgreSQL"; }

    std::vector<Row> Rows()
    {
        TDBConnection db(connection_);
        QSqlQuery query(db.Database());
        EXPECT_TRUE(query.exec(QStringLiteral("select SilosName, DevAddr, DevNo, TIT, FixTime, Val from %1 "
                                              "order by DevAddr, DevNo, TIT, FixTime")
                                   .arg(table_)));
        std::vector<Row> rows;
        while (query.next())
            rows.push_back({query.value(0).toString(), query.value(1).toInt(), query.value(2).toInt(),
                            query.value(3).toInt(), query.value(4).toDouble(), query.value(5).toDouble()});
        return rows;
    }

    qint64 Count()
    {
        TDBConnection db(connection_);
        return CountReadings(db, table_);
    }

    void Export(const THardConfig& tree, IRowProgress* progress = nullptr)
    {
        TReadingsTable table(connection_, table_, progress, LogSink());
        for (int b = 0; b < tree.MBCount(); ++b)
            for (int s = 0; s < tree.SilosPerMB(); ++s)
                tree.GetMB(b)->GetSilos(s)->SaveToTable(table);
        table.Commit();
    }

    void Import(const THardConfig& tree, IRowProgress* progress = nullptr)
    {
        const TReadingsQuery query(connection_, table_, progress);
        for (int b = 0; b < tree.MBCount(); ++b)
            for (int s = 0; s < tree.SilosPerMB(); ++s)
                tree.GetMB(b)->GetSilos(s)->LoadFromQuery(query);
    }

    // The table made anew so that it refuses temperatures of 100 degrees and more.
    void RefuseValuesFrom100()
    {
        TDBConnection db(connection_);
        db.Exec(QStringLiteral("DROP TABLE ") + table_);
        db.Exec(QStringLiteral("CREATE TABLE %1 (SilosName varchar(30) NOT NULL, DevAddr int NOT NULL, "
                               "DevNo int NOT NULL, TIT int NOT NULL, FixTime float NOT NULL, "
                               "Val float NOT NULL CHECK (Val < 100))")
                    .arg(table_));
    }

    std::vector<std::string> RedLines()
    {
        std::vector<std::string> lines;
        for (const auto& [text, colour] : Log())
            if (colour == kLogError)
                lines.push_back(text);
        return lines;
    }

    QString connection_;
    QString table_;

private:
    QTemporaryDir dir_;
    static inline int counter_ = 0;
};

} // namespace

TEST_P(ReadingsTable, ExportWritesOneRowPerPointNumberedFromOne)
{
    THardConfig tree(2, 3, 3);
    const TDateTime t = EncodeDateTime(2024, 5, 1, 9, 5, 3, 250);
    tree.GetMB(0)->GetSilos(0)->GetTIT(2)->AssignPoints({MakePoint(t, 12.5), MakePoint(t + 1, -0.1)});
    tree.GetMB(1)->GetSilos(2)->SetSilosName(QStringLiteral("Силос 7"));
    tree.GetMB(1)->GetSilos(2)->GetTIT(0)->AssignPoints({MakePoint(t, 3.0)});
    TestProgress progress;
    Export(tree, &progress);

    const std::vector<Row> expected = {
        {QStringLiteral("1-1"), 1, 1, 3, t, 12.5},
        {QStringLiteral("1-1"), 1, 1, 3, t + 1, -0.1},
        {QStringLiteral("Силос 7"), 2, 3, 1, t, 3.0},
    };
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(progress.rows, 3);
    EXPECT_EQ(Count(), 3);

    // The export only appends.
    Export(tree);
    EXPECT_EQ(Count(), 6);
}

TEST_P(ReadingsTable, ImportGivesEachSensorItsOwnRows)
{
    const SampleTree sample;
    Export(sample.tree);

    THardConfig tree(2, 3, 3);
    tree.GetMB(1)->GetSilos(0)->SetSilosName(sample.Silos(1, 0).SilosName());
    tree.GetMB(1)->GetSilos(2)->SetSilosName(sample.Silos(1, 2).SilosName());
    // A sensor without rows loses the points it had.
    tree.GetMB(0)->GetSilos(2)->GetTIT(0)->AssignPoints(HourlyPoints(3, 1.0));
    TestProgress progress;
    Import(tree, &progress);
    ExpectSameHistories(tree, sample.tree);
    EXPECT_EQ(progress.rows, Count());
    EXPECT_TRUE(RedLines().empty());
}

TEST_P(ReadingsTable, RowsOfEqualTimesStayApartAndAreSorted)
{
    THardConfig tree(1, 1, 1);
    TTIT& tit = *tree.GetMB(0)->GetSilos(0)->GetTIT(0);
    const TDateTime t = EncodeDateTime(2024, 5, 1, 9, 0, 0, 0);
    tit.AssignPoints({MakePoint(t + 1, 3), MakePoint(t, 1), MakePoint(t, 2)});
    Export(tree);
    Import(tree);
    ASSERT_EQ(tit.PointCount(), 3);
    EXPECT_EQ(tit.GetPoint(0)->Time, t);
    EXPECT_EQ(tit.GetPoint(1)->Time, t);
    EXPECT_EQ(tit.GetPoint(2)->Value, 3);
    EXPECT_EQ(tit.GetPoint(2)->UnixTime, DateTimeToUnix(t + 1));
}

TEST_P(ReadingsTable, ARenamedSuspensionFindsNoRows)
{
    const SampleTree sample;
    Export(sample.tree);
    THardConfig tree(2, 3, 3);
    tree.GetMB(1)->GetSilos(2)->SetSilosName(QStringLiteral("Силос 12 (новый)"));
    Import(tree);
    EXPECT_EQ(tree.GetMB(1)->GetSilos(2)->GetTIT(1)->PointCount(), 0);
    EXPECT_EQ(tree.GetMB(0)->GetSilos(1)->GetTIT(2)->PointCount(), 5);
}

TEST_P(ReadingsTable, NamesWithQuotesAndStatementTextRoundTripAsPlainValues)
{
    THardConfig tree(1, 3, 1);
    const QString names[] = {QStringLiteral("A\" or \"1\"=\"1"), QStringLiteral("O'Brien'); DROP TABLE x;--"),
                             QStringLiteral("%_\\ ?")};
    for (int s = 0; s < 3; ++s) {
        tree.GetMB(0)->GetSilos(s)->SetSilosName(names[s]);
        tree.GetMB(0)->GetSilos(s)->GetTIT(0)->AssignPoints(HourlyPoints(1 + s, s));
    }
    Export(tree);
    THardConfig loaded(1, 3, 1);
    for (int s = 0; s < 3; ++s)
        loaded.GetMB(0)->GetSilos(s)->SetSilosName(names[s]);
    Import(loaded);
    ExpectSameHistories(loaded, tree);
    EXPECT_EQ(Rows().front().name, names[0]);
}

TEST_P(ReadingsTable, AFailingRowIsReportedAndTheExportGoesOn)
{
    RefuseValuesFrom100();
    THardConfig tree(1, 1, 1);
    const TDateTime t = EncodeDate(2024, 5, 1);
    tree.GetMB(0)->GetSilos(0)->GetTIT(0)->AssignPoints(
        {MakePoint(t, 1), MakePoint(t + 1, 150), MakePoint(t + 2, 3), MakePoint(t + 3, 200), MakePoint(t + 4, 5)});
    TestProgress progress;
    Export(tree, &progress);

    std::vector<double> values;
    for (const Row& row : Rows())
        values.push_back(row.value);
    EXPECT_EQ(values, (std::vector<double>{1, 3, 5}));
    EXPECT_EQ(RedLines().size(), 2u);
    EXPECT_EQ(progress.rows, 3);
}

TEST_P(ReadingsTable, RefusedRowsAmongThousandsLoseNoOtherRow)
{
    RefuseValuesFrom100();
    // Three sensors of 5,000 points, written in the export's order; names that a text transfer
    // of the rows must escape.
    const QString names[] = {QStringLiteral("Tab\there"), QStringLiteral("back\\slash\nnew line\r"),
                             QStringLiteral("Силос 3")};
    constexpr int kPoints = 5000;
    // Refused rows by their place in the export: the first, either side of the places where
    // rows are commonly cut into batches, neighbours, and the last.
    const std::set<int> refused = {0, 1023, 1024, 4095, 4096, 4097, 8191, 8192, 9000, 14999};
    THardConfig tree(1, 3, 1);
    const TDateTime start = EncodeDate(2024, 1, 1);
    std::vector<std::vector<TTITPoint>> kept(3);
    for (int s = 0; s < 3; ++s) {
        tree.GetMB(0)->GetSilos(s)->SetSilosName(names[s]);
        std::vector<TTITPoint> points;
        for (int i = 0; i < kPoints; ++i) {
            const int place = s * kPoints + i;
            const double value = refused.count(place) ? 100 + place : (place % 997) / 10.0 - 20;
            points.push_back(MakePoint(start + place / 24.0, value));
            if (!refused.count(place))
                kept[s].push_back(points.back());
        }
        tree.GetMB(0)->GetSilos(s)->GetTIT(0)->AssignPoints(std::move(points));
    }
    TestProgress progress;
    Export(tree, &progress);

    EXPECT_EQ(Count(), 3 * kPoints - static_cast<int>(refused.size()));
    EXPECT_EQ(progress.rows, Count());
    EXPECT_EQ(RedLines().size(), refused.size());
    THardConfig loaded(1, 3, 1);
    for (int s = 0; s < 3; ++s)
        loaded.GetMB(0)->GetSilos(s)->SetSilosName(names[s]);
    Import(loaded);
    for (int s = 0; s < 3; ++s)
        ExpectSamePoints(loaded.GetMB(0)->GetSilos(s)->GetTIT(0)->Points(), kept[s], "sensor");
}

TEST_P(ReadingsTable, ATableOfOtherNumberTypesTakesEveryRow)
{
    {
        TDBConnection db(connection_);
        db.Exec(QStringLiteral("DROP TABLE ") + table_);
        db.Exec(QStringLiteral("CREATE TABLE %1 (SilosName text NOT NULL, DevAddr bigint NOT NULL, "
                               "DevNo smallint NOT NULL, TIT numeric NOT NULL, FixTime double precision NOT NULL, "
                               "Val real NOT NULL)")
                    .arg(table_));
    }
    const SampleTree sample;
    TestProgress progress;
    Export(sample.tree, &progress);
    EXPECT_EQ(Count(), 26);
    EXPECT_EQ(progress.rows, 26);
    EXPECT_TRUE(RedLines().empty());
    const std::vector<Row> rows = Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().name, QStringLiteral("1-1"));
    EXPECT_EQ(rows.front().tit, 1);
    EXPECT_NEAR(rows.front().value, sample.Tit(0, 0, 0).Points().front().Value, 1e-5);
}

TEST_P(ReadingsTable, CancellingTheExportKeepsTheRowsWritten)
{
    const SampleTree sample;
    TestProgress progress(7);
    EXPECT_THROW(Export(sample.tree, &progress), EAbort);
    EXPECT_EQ(Count(), 7);
    EXPECT_TRUE(RedLines().empty()) << "the abort is silent";
}

TEST_P(ReadingsTable, CancellingTheImportKeepsWhatWasReadAndWhatWasNotReached)
{
    const SampleTree sample;
    Export(sample.tree);
    THardConfig tree(2, 3, 3);
    TTIT& first = *tree.GetMB(0)->GetSilos(0)->GetTIT(0);
    TTIT& cut = *tree.GetMB(0)->GetSilos(0)->GetTIT(1);
    TTIT& notReached = *tree.GetMB(0)->GetSilos(1)->GetTIT(2);
    notReached.AssignPoints(HourlyPoints(20, 9.0));
    TestProgress progress(7);   // five rows of sensor 0, then two of sensor 1
    EXPECT_THROW(Import(tree, &progress), EAbort);
    ExpectSamePoints(first.Points(), sample.Tit(0, 0, 0).Points(), "read");
    EXPECT_EQ(cut.PointCount(), 3) << "the rows read so far, the cancelled one included";
    ExpectSamePoints(notReached.Points(), HourlyPoints(20, 9.0), "not reached");
}

TEST_P(ReadingsTable, ExportRunsOnAWorkerThreadWithItsOwnConnection)
{
    const SampleTree sample;
    TDBConnection mainThread(connection_);   // the main thread's connection stays open meanwhile
    std::string error;
    std::thread worker([&] {
        try {
            Export(sample.tree);
        } catch (const std::exception& e) {
            error = e.what();
        }
    });
    worker.join();
    EXPECT_EQ(error, "");
    EXPECT_EQ(CountReadings(mainThread, table_), 26);
}

TEST_P(ReadingsTable, TableNamesAreCheckedBeforeAnyStatement)
{
    const char* bad[] = {"readings; DROP TABLE x", "readings x", "1readings", "", "a.b.c", "\"quoted\"", "t--"};
    TDBConnection db(connection_);
    for (const char* name : bad) {
        const QString table = QString::fromUtf8(name);
        EXPECT_THROW(CheckTableName(table), Exception) << name;
        EXPECT_THROW(CreateReadingsTable(db, table), Exception) << name;
        EXPECT_THROW(CountReadings(db, table), Exception) << name;
        EXPECT_THROW(TReadingsTable(connection_, table), Exception) << name;
        EXPECT_THROW(TReadingsQuery(connection_, table), Exception) << name;
    }
    for (const char* name : {"readings", "_r2", "Архив_2024", "public.readings"})
        EXPECT_NO_THROW(CheckTableName(QString::fromUtf8(name))) << name;
    EXPECT_TRUE(db.Tables().contains(table_, Qt::CaseInsensitive));
}

TEST_P(ReadingsTable, AMissingTableIsAnError)
{
    EXPECT_THROW(TReadingsTable(connection_, QStringLiteral("no_such_table")), Exception);
    EXPECT_THROW(TReadingsQuery(connection_, QStringLiteral("no_such_table")), Exception);
    TDBConnection db(connection_);
    EXPECT_THROW(CreateReadingsTable(db, table_), Exception) << "the table exists already";
}

INSTANTIATE_TEST_SUITE_P(Databases, ReadingsTable, ::testing::Values("SQLite", "PostgreSQL"),
                         [](const auto& info) { return std::string(info.param); });

TEST(DBConnection, FailuresCarryTheReason)
{
    EXPECT_THROW(TDBConnection(QStringLiteral("Data Source=/no/such/folder/readings.db")), Exception);
    EXPECT_THROW(TDBConnection(QStringLiteral("Provider=PostgreSQL;Data Source=/no/such/folder;Initial Catalog=x")),
                 Exception);
    EXPECT_THROW(TDBConnection{QString()}, Exception);
    try {
        const TDBConnection db(QStringLiteral("Provider=PostgreSQL;Data Source=/no/such/folder;Initial Catalog=x"));
        ADD_FAILURE() << "connected";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("нет связи с базой данных: "), std::string::npos) << e.what();
    }
}
