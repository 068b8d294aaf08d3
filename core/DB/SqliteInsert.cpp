#include "core/DB/SqliteInsert.h"

#include "base/Exception.h"

#include <sqlite3.h>

namespace {

QString LastError(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

} // namespace

TSqliteInsert::TSqliteInsert(sqlite3* db, const QString& table) : db_(db)
{
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (SilosName, DevAddr, DevNo, TIT, FixTime, Val) "
                                          "VALUES (?, ?, ?, ?, ?, ?)")
                               .arg(table)
                               .toUtf8();
    if (sqlite3_prepare_v2(db_, sql.constData(), static_cast<int>(sql.size()), &statement_, nullptr) != SQLITE_OK)
        throw Exception(LastError(db_).toStdString());
}

TSqliteInsert::~TSqliteInsert()
{
    sqlite3_finalize(statement_);
}

void TSqliteInsert::BindSensor(const TReadingRow& row)
{
    if (sensorBound_ && row.SilosName == boundName_ && row.DevAddr == boundAddr_ && row.DevNo == boundNo_ &&
        row.TIT == boundTIT_)
        return;
    boundName_ = row.SilosName;
    boundNameUtf8_ = row.SilosName.toUtf8();
    boundAddr_ = row.DevAddr;
    boundNo_ = row.DevNo;
    boundTIT_ = row.TIT;
    // The text stays ours until the next bind: SQLite need not copy it.
    sqlite3_bind_text(statement_, 1, boundNameUtf8_.constData(), static_cast<int>(boundNameUtf8_.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int(statement_, 2, row.DevAddr);
    sqlite3_bind_int(statement_, 3, row.DevNo);
    sqlite3_bind_int(statement_, 4, row.TIT);
    sensorBound_ = true;
}

bool TSqliteInsert::Insert(const TReadingRow& row, QString& error)
{
    BindSensor(row);
    sqlite3_bind_double(statement_, 5, row.FixTime);
    sqlite3_bind_double(statement_, 6, row.Val);
    const bool done = sqlite3_step(statement_) == SQLITE_DONE;
    if (!done)
        error = LastError(db_);
    sqlite3_reset(statement_);
    return done;
}
