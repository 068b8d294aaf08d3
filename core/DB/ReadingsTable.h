#pragma once
// The readings table: one row per history point, with the columns
//   SilosName varchar(30), DevAddr int, DevNo int, TIT int, FixTime float, Val float
// (all NOT NULL, no key). The export only appends: exporting the same points twice writes them
// twice. Values always travel as data, never as statement text; the table name is checked as an
// identifier.
#include "comm/ExchangeLog.h"
#include "core/DB/DBConnection.h"
#include "core/DB/ReadingsRow.h"

#include <QSqlQuery>
#include <QString>

#include <memory>
#include <span>
#include <vector>

class IRowProgress;
class TPostgresCopy;
class TSqliteInsert;

// The export's target, opened on the thread that runs the export. Rows go in within
// transactions committed every 100,000 rows; PostgreSQL takes them in batches, one COPY each.
// Every row the database takes advances the progress by one; a row it refuses is left out,
// reported as a red log line, and the export goes on. When the operator cancels, the rows the
// progress counted stay in the table and none after them.
class TReadingsTable {
public:
    // Opens the connection and prepares the insert; raises Exception when either fails.
    // The progress (may be nullptr) is advanced for each row written; failing rows and a failing
    // last commit are posted to the log as red lines.
    TReadingsTable(const QString& connectionString, const QString& table, IRowProgress* progress = nullptr,
                   ExchangeLogSink log = {});
    // Writes and commits what was appended; a failure is posted as a red log line.
    ~TReadingsTable();
    TReadingsTable(const TReadingsTable&) = delete;
    TReadingsTable& operator=(const TReadingsTable&) = delete;

    // Hands over one row (written at once, or with its batch). Raises EAbort when the operator
    // has cancelled, and Exception when the connection fails beyond one row.
    void Append(const TReadingRow& row);
    // Writes the rows handed over and commits; raises Exception when the database refuses the
    // commit, EAbort as Append does.
    void Commit();

    IRowProgress* Progress() const { return progress_; }
    const ExchangeLogSink& Log() const { return log_; }
    // The rows the database has taken.
    qint64 RowsWritten() const { return rowsWritten_; }

private:
    void Begin();
    void CommitTransaction();
    void Flush();
    void CopyRows(std::span<const TReadingRow> rows);
    void KeepOnly(std::span<const TReadingRow> rows, size_t count);
    void Postgres(const char* statement);
    void WriteRow(const TReadingRow& row);
    bool InsertWithQt(const TReadingRow& row, QString& reason);
    void Savepoint(const char* statement);
    void CountRow();
    bool Cancelled() const;

    TDBConnection connection_;
    std::unique_ptr<TSqliteInsert> sqlite_;
    std::unique_ptr<TPostgresCopy> postgres_;
    QSqlQuery insert_;
    IRowProgress* progress_;
    ExchangeLogSink log_;
    std::vector<TReadingRow> pending_;   // rows waiting for their batch
    bool useTransactions_ = false;
    bool rowSavepoints_ = false;
    bool inTransaction_ = false;
    int rowsInTransaction_ = 0;
    qint64 rowsWritten_ = 0;
    // The sensor whose name and numbers are bound to the Qt insert.
    bool sensorBound_ = false;
    QString boundName_;
    int boundAddr_ = 0;
    int boundNo_ = 0;
    int boundTIT_ = 0;
};

// CREATE TABLE with the columns above on that connection; raises Exception on failure.
void CreateReadingsTable(TDBConnection& connection, const QString& table);
// select Count(*) of the table; raises Exception on failure.
qint64 CountReadings(TDBConnection& connection, const QString& table);
