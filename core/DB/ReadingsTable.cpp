#include "core/DB/ReadingsTable.h"

#include "base/Exception.h"
#include "core/DB/PostgresCopy.h"
#include "core/DB/RowProgress.h"
#include "core/DB/SqliteInsert.h"
#include "core/ExchangeLog.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Rows per transaction: large enough that committing costs nothing per row, small enough that
// a long export does not hold one huge transaction.
constexpr int kRowsPerTransaction = 100000;
// Rows per COPY: enough that the round trip costs nothing per row, few enough that a batch
// written again row by row after a refusal stays quick.
constexpr size_t kRowsPerBatch = 4096;

[[noreturn]] void Fail(const QString& message)
{
    throw Exception(message.toStdString());
}

} // namespace

TReadingsTable::TReadingsTable(const QString& connectionString, const QString& table, IRowProgress* progress,
                               ExchangeLogSink log)
    : connection_((CheckTableName(table), connectionString)),   // the name is checked before anything opens
      progress_(progress),
      log_(std::move(log))
{
    const QString driver = connection_.Driver();
    // SQLite and PostgreSQL take the rows in transactions. PostgreSQL gives up a whole
    // transaction after one failing statement, so there a batch, and a row written alone, gets
    // a savepoint to fall back to. Other drivers commit each row by itself, as the table did
    // without transactions.
    useTransactions_ = (driver == u"QSQLITE" || driver == u"QPSQL") && connection_.Database().driver()->hasFeature(QSqlDriver::Transactions);
    rowSavepoints_ = useTransactions_ && driver == u"QPSQL";
    // Qt SQL binds and converts every value of every row; the drivers' own interfaces do not.
    if (driver == u"QSQLITE") {
        if (auto* db = static_cast<sqlite3*>(connection_.NativeHandle("sqlite3*"))) {
            sqlite_ = std::make_unique<TSqliteInsert>(db, table);
            return;
        }
    }
    insert_ = QSqlQuery(connection_.Database());
    if (!insert_.prepare(QStringLiteral("INSERT INTO %1 (SilosName, DevAddr, DevNo, TIT, FixTime, Val) "
                                        "VALUES (?, ?, ?, ?, ?, ?)")
                             .arg(table)))
        Fail(insert_.lastError().text());
    if (rowSavepoints_) {
        // Qt names the handle's type by the structure behind libpq's typedef.
        void* pg = connection_.NativeHandle("pg_conn*");
        if (!pg)
            pg = connection_.NativeHandle("PGconn*");
        if (pg)
            postgres_ = std::make_unique<TPostgresCopy>(static_cast<PGconn*>(pg), table);
    }
}

TReadingsTable::~TReadingsTable()
{
    try {
        Commit();
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        PostExchangeLog(log_, e.what(), kLogError);
    }
}

void TReadingsTable::Begin()
{
    if (!useTransactions_ || inTransaction_)
        return;
    if (!connection_.Database().transaction())
        Fail(connection_.Database().lastError().text());
    inTransaction_ = true;
    rowsInTransaction_ = 0;
}

void TReadingsTable::Append(const TReadingRow& row)
{
    Begin();
    if (postgres_) {
        if (Cancelled()) {
            pending_.clear();
            throw EAbort();
        }
        pending_.push_back(row);
        if (pending_.size() >= kRowsPerBatch)
            Flush();
    } else {
        WriteRow(row);
    }
    if (inTransaction_ && rowsInTransaction_ >= kRowsPerTransaction)
        CommitTransaction();
}

void TReadingsTable::Commit()
{
    try {
        Flush();
    } catch (const EAbort&) {
        CommitTransaction();
        throw;
    }
    CommitTransaction();
}

void TReadingsTable::CommitTransaction()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    if (!connection_.Database().commit())
        Fail(connection_.Database().lastError().text());
}

void TReadingsTable::CountRow()
{
    ++rowsWritten_;
    ++rowsInTransaction_;
    AdvanceRow(progress_);
}

bool TReadingsTable::Cancelled() const
{
    return progress_ && progress_->IsCancelled();
}

void TReadingsTable::Flush()
{
    if (pending_.empty())
        return;
    std::vector<TReadingRow> rows;
    rows.swap(pending_);
    if (Cancelled())
        throw EAbort();
    CopyRows(rows);
}

// The rows go in one COPY within a savepoint. A refused batch is split in halves and each half
// tried again, down to single rows, so that only the rows the database refuses are left out.
void TReadingsTable::CopyRows(std::span<const TReadingRow> rows)
{
    if (rows.size() == 1) {
        WriteRow(rows.front());
        return;
    }
    Postgres("SAVEPOINT tz_batch");
    QString reason;
    if (!postgres_->Copy(rows, reason)) {
        Postgres("ROLLBACK TO SAVEPOINT tz_batch");
        Postgres("RELEASE SAVEPOINT tz_batch");
        const size_t half = rows.size() / 2;
        CopyRows(rows.first(half));
        CopyRows(rows.subspan(half));
        return;
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        CountRow();
        if (Cancelled()) {
            KeepOnly(rows, i + 1);
            throw EAbort();
        }
    }
    Postgres("RELEASE SAVEPOINT tz_batch");
}

// A cancellation seen inside a batch: the batch goes again without the rows after the last one
// counted.
void TReadingsTable::KeepOnly(std::span<const TReadingRow> rows, size_t count)
{
    if (count < rows.size()) {
        Postgres("ROLLBACK TO SAVEPOINT tz_batch");
        QString reason;
        if (!postgres_->Copy(rows.first(count), reason))
            PostExchangeLog(log_, reason, kLogError);
    }
    Postgres("RELEASE SAVEPOINT tz_batch");
}

void TReadingsTable::Postgres(const char* statement)
{
    QString reason;
    if (!postgres_->Exec(statement, reason))
        Fail(reason);
}

void TReadingsTable::WriteRow(const TReadingRow& row)
{
    QString reason;
    if (sqlite_ ? sqlite_->Insert(row, reason) : InsertWithQt(row, reason))
        CountRow();
    else
        PostExchangeLog(log_, reason, kLogError);
    if (Cancelled())
        throw EAbort();
}

void TReadingsTable::Savepoint(const char* statement)
{
    if (rowSavepoints_)
        connection_.Exec(QString::fromLatin1(statement));
}

bool TReadingsTable::InsertWithQt(const TReadingRow& row, QString& reason)
{
    Savepoint("SAVEPOINT tz_row");
    // Bound values stay bound between executions; a sensor's rows share the first four.
    if (!sensorBound_ || row.SilosName != boundName_ || row.DevAddr != boundAddr_ || row.DevNo != boundNo_ ||
        row.TIT != boundTIT_) {
        insert_.bindValue(0, row.SilosName);
        insert_.bindValue(1, row.DevAddr);
        insert_.bindValue(2, row.DevNo);
        insert_.bindValue(3, row.TIT);
        boundName_ = row.SilosName;
        boundAddr_ = row.DevAddr;
        boundNo_ = row.DevNo;
        boundTIT_ = row.TIT;
        sensorBound_ = true;
    }
    insert_.bindValue(4, row.FixTime);
    insert_.bindValue(5, row.Val);
    if (!insert_.exec()) {
        reason = insert_.lastError().text();
        Savepoint("ROLLBACK TO SAVEPOINT tz_row");
        return false;
    }
    Savepoint("RELEASE SAVEPOINT tz_row");
    return true;
}

void CreateReadingsTable(TDBConnection& connection, const QString& table)
{
    CheckTableName(table);
    connection.Exec(QStringLiteral("CREATE TABLE %1 ( SilosName   varchar(30) NOT NULL, DevAddr     int NOT NULL, "
                                   "DevNo       int NOT NULL, TIT         int NOT NULL, FixTime     float NOT NULL, "
                                   "Val         float NOT NULL)")
                        .arg(table));
}

qint64 CountReadings(TDBConnection& connection, const QString& table)
{
    CheckTableName(table);
    QSqlQuery query(connection.Database());
    if (!query.exec(QStringLiteral("select Count(*) from %1").arg(table)) || !query.next())
        Fail(query.lastError().text());
    return query.value(0).toLongLong();
}
