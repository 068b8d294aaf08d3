#pragma once
// Rows of the readings table sent to PostgreSQL in one COPY ... FROM STDIN through the
// connection's libpq handle: one round trip for a whole batch instead of one a row. COPY is all
// or nothing: when any row is refused, none of the batch is written.
#include "core/DB/ReadingsRow.h"

#include <QByteArray>
#include <QString>

#include <span>
#include <string>

typedef struct pg_conn PGconn;

class TPostgresCopy {
public:
    TPostgresCopy(PGconn* connection, const QString& table);

    // Writes the rows; false with the server's reason when the batch is refused.
    bool Copy(std::span<const TReadingRow> rows, QString& error);
    // Runs a statement that returns no rows (a savepoint); false with the server's reason.
    bool Exec(const char* statement, QString& error);

private:
    void AppendRow(const TReadingRow& row);
    bool EndCopy(bool sent, QString& error);

    PGconn* connection_;
    QByteArray statement_;
    std::string data_;
    // The sensor's fields as COPY text, kept while its rows follow each other.
    bool sensorKept_ = false;
    QString keptName_;
    int keptAddr_ = 0;
    int keptNo_ = 0;
    int keptTIT_ = 0;
    std::string sensorFields_;
};
