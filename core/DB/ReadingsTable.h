#pragma once
// The readings table: one row per history point, with the columns
//   SilosName varchar(30), DevAddr int, DevNo int, TIT int, FixTime float, Val float
// (all NOT NULL, no key). The export only appends: exporting the same points twice writes them
// twice. Values always travel as bound parameters; the table name is checked as an identifier.
#include "core/DB/DBConnection.h"

#include <QSqlQuery>
#include <QString>

class IRowProgress;

struct TReadingRow {
    QString SilosName;   // the suspension's display name
    int DevAddr = 0;     // block address + 1
    int DevNo = 0;       // suspension number + 1
    int TIT = 0;         // sensor index + 1
    double FixTime = 0;  // days since 1899-12-30
    double Val = 0;      // degrees
};

// The export's target, opened on the thread that runs the export. Rows go in within
// transactions committed every few thousand rows; rows appended before a cancellation or an
// error stay in the table.
class TReadingsTable {
public:
    // Opens the connection and prepares the insert; raises Exception when either fails.
    // The progress (may be nullptr) is advanced by the row loops.
    TReadingsTable(const QString& connectionString, const QString& table, IRowProgress* progress = nullptr);
    // Commits what was appended; a failing commit is posted as a red log line.
    ~TReadingsTable();
    TReadingsTable(const TReadingsTable&) = delete;
    TReadingsTable& operator=(const TReadingsTable&) = delete;

    // Appends one row. On failure the row is left out, the rows before it stay, and Exception
    // carries the driver's reason.
    void Append(const TReadingRow& row);
    // Commits the rows appended so far; raises Exception when the database refuses.
    void Commit();

    IRowProgress* Progress() const { return progress_; }

private:
    void Begin();
    void Savepoint(const char* statement);

    TDBConnection connection_;
    QSqlQuery insert_;
    IRowProgress* progress_;
    bool useTransactions_ = false;
    bool rowSavepoints_ = false;
    bool inTransaction_ = false;
    int rowsInTransaction_ = 0;
    // The sensor whose name and numbers are bound to the insert.
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
