#include "core/DB/ReadingsTable.h"

#include "base/Exception.h"
#include "core/ExchangeLog.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>

namespace {

// Rows per transaction: large enough that committing costs nothing per row, small enough that
// a long export does not hold one huge transaction.
constexpr int kRowsPerTransaction = 100000;

[[noreturn]] void Fail(const QString& message)
{
    throw Exception(message.toStdString());
}

} // namespace

TReadingsTable::TReadingsTable(const QString& connectionString, const QString& table, IRowProgress* progress)
    : connection_((CheckTableName(table), connectionString)),   // the name is checked before anything opens
      insert_(connection_.Database()), progress_(progress)
{
    const QString driver = connection_.Driver();
    // SQLite and PostgreSQL take the rows in transactions. PostgreSQL gives up a whole
    // transaction after one failing statement, so there each row gets a savepoint to fall back
    // to. Other drivers commit each row by itself, as the table did without transactions.
    useTransactions_ = (driver == u"QSQLITE" || driver == u"QPSQL") && connection_.Database().driver()->hasFeature(QSqlDriver::Transactions);
    rowSavepoints_ = useTransactions_ && driver == u"QPSQL";
    if (!insert_.prepare(QStringLiteral("INSERT INTO %1 (SilosName, DevAddr, DevNo, TIT, FixTime, Val) "
                                        "VALUES (?, ?, ?, ?, ?, ?)")
                             .arg(table)))
        Fail(insert_.lastError().text());
}

TReadingsTable::~TReadingsTable()
{
    try {
        Commit();
    } catch (const std::exception& e) {
        PostExchangeLog(QString::fromUtf8(e.what()), kLogError);
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

void TReadingsTable::Savepoint(const char* statement)
{
    if (rowSavepoints_)
        connection_.Exec(QString::fromLatin1(statement));
}

void TReadingsTable::Append(const TReadingRow& row)
{
    Begin();
    Savepoint("SAVEPOINT tz_row");
    // Bound values stay bound between executions; a sensor's rows share the first four, and
    // binding is the dearest part of a row with Qt SQL.
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
        const QString reason = insert_.lastError().text();
        Savepoint("ROLLBACK TO SAVEPOINT tz_row");
        Fail(reason);
    }
    Savepoint("RELEASE SAVEPOINT tz_row");
    if (inTransaction_ && ++rowsInTransaction_ >= kRowsPerTransaction)
        Commit();
}

void TReadingsTable::Commit()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    if (!connection_.Database().commit())
        Fail(connection_.Database().lastError().text());
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
