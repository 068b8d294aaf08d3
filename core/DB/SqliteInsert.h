#pragma once
// The readings table's insert on a SQLite connection, through the driver's own sqlite3 handle:
// one statement prepared once, its values bound as UTF-8 text, integers and doubles, and a
// sensor's name and numbers bound once for all its rows (bindings outlive each run).
#include "core/DB/ReadingsRow.h"

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

class TSqliteInsert {
public:
    // Prepares the insert on the connection's handle; raises Exception when SQLite refuses.
    TSqliteInsert(sqlite3* db, const QString& table);
    ~TSqliteInsert();
    TSqliteInsert(const TSqliteInsert&) = delete;
    TSqliteInsert& operator=(const TSqliteInsert&) = delete;

    // Inserts one row; false with SQLite's reason when it is refused (nothing is written then).
    bool Insert(const TReadingRow& row, QString& error);

private:
    void BindSensor(const TReadingRow& row);

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    bool sensorBound_ = false;
    QString boundName_;
    QByteArray boundNameUtf8_;
    int boundAddr_ = 0;
    int boundNo_ = 0;
    int boundTIT_ = 0;
};
