#pragma once
// Rows of the readings table sent to PostgreSQL in one COPY ... FROM STDIN through the
// connection's libpq handle: one round trip for a whole batch instead of one a row. COPY is all
// or nothing: when any row is refused, none of the batch is written.
//
// The rows travel in COPY's binary form, which the server reads about twice as fast as text.
// Binary values must match the columns' types exactly; a table made with other types (bigint,
// real) refuses them, and from then on the rows travel as text, which any such column reads (the
// refused batch fails; the caller, having rolled it back, sends it again).
#include "core/DB/ReadingsRow.h"

#include <QString>

#include <span>
#include <string>

typedef struct pg_conn PGconn;

class TPostgresCopy {
public:
    TPostgresCopy(PGconn* connection, const QString& table);

    // Writes the rows; false with the server's reason when the batch is refused. A refusal leaves
    // the transaction failed: the caller rolls back to a savepoint taken before.
    bool Copy(std::span<const TReadingRow> rows, QString& error);
    // Runs a statement that returns no rows (a savepoint); false with the server's reason.
    bool Exec(const char* statement, QString& error);

private:
    enum class Form { Binary, Text };
    // The outcome of one COPY: done, refused, or refused for values in the wrong binary form.
    enum class Outcome { Done, Refused, WrongBinaryForm };

    Outcome CopyAs(Form form, std::span<const TReadingRow> rows, QString& error);
    void AppendRow(Form form, const TReadingRow& row);
    void KeepSensor(Form form, const TReadingRow& row);
    Outcome EndCopy(bool sent, QString& error);

    PGconn* connection_;
    QString table_;
    Form form_ = Form::Binary;
    std::string data_;
    // The sensor's fields in the form of the COPY, kept while its rows follow each other.
    bool sensorKept_ = false;
    Form keptForm_ = Form::Binary;
    QString keptName_;
    int keptAddr_ = 0;
    int keptNo_ = 0;
    int keptTIT_ = 0;
    std::string sensorFields_;
};
