#include "core/DB/PostgresCopy.h"

#include <libpq-fe.h>

#include <charconv>

namespace {

// COPY's text format: fields apart by tabs, rows ended by a newline, and these four escaped.
void AppendEscaped(std::string& out, const QByteArray& text)
{
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

// The shortest text that reads back as the same number, as the server reads it.
template <class Number>
void AppendNumber(std::string& out, Number value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    out.append(text, end);
}

QString ResultError(PGresult* result, PGconn* connection)
{
    const char* message = result ? PQresultErrorMessage(result) : PQerrorMessage(connection);
    return QString::fromUtf8(message).trimmed();
}

} // namespace

TPostgresCopy::TPostgresCopy(PGconn* connection, const QString& table)
    : connection_(connection),
      statement_(QStringLiteral("COPY %1 (SilosName, DevAddr, DevNo, TIT, FixTime, Val) FROM STDIN").arg(table).toUtf8())
{
}

void TPostgresCopy::AppendRow(const TReadingRow& row)
{
    if (!sensorKept_ || row.SilosName != keptName_ || row.DevAddr != keptAddr_ || row.DevNo != keptNo_ ||
        row.TIT != keptTIT_) {
        sensorFields_.clear();
        AppendEscaped(sensorFields_, row.SilosName.toUtf8());
        for (const int number : {row.DevAddr, row.DevNo, row.TIT}) {
            sensorFields_ += '\t';
            AppendNumber(sensorFields_, number);
        }
        sensorFields_ += '\t';
        keptName_ = row.SilosName;
        keptAddr_ = row.DevAddr;
        keptNo_ = row.DevNo;
        keptTIT_ = row.TIT;
        sensorKept_ = true;
    }
    data_ += sensorFields_;
    AppendNumber(data_, row.FixTime);
    data_ += '\t';
    AppendNumber(data_, row.Val);
    data_ += '\n';
}

bool TPostgresCopy::Copy(std::span<const TReadingRow> rows, QString& error)
{
    data_.clear();
    for (const TReadingRow& row : rows)
        AppendRow(row);
    PGresult* started = PQexec(connection_, statement_.constData());
    const bool copying = PQresultStatus(started) == PGRES_COPY_IN;
    if (!copying)
        error = ResultError(started, connection_);
    PQclear(started);
    if (!copying)
        return false;
    const bool sent = PQputCopyData(connection_, data_.data(), static_cast<int>(data_.size())) == 1;
    return EndCopy(sent, error);
}

// Ends the COPY (abandoning it when the data could not be sent) and reads every result, so that
// the connection is ready for the next statement whatever happened.
bool TPostgresCopy::EndCopy(bool sent, QString& error)
{
    bool ok = PQputCopyEnd(connection_, sent ? nullptr : "данные не переданы") == 1 && sent;
    if (!ok)
        error = ResultError(nullptr, connection_);
    while (PGresult* result = PQgetResult(connection_)) {
        if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            error = ResultError(result, connection_);
            ok = false;
        }
        PQclear(result);
    }
    return ok;
}

bool TPostgresCopy::Exec(const char* statement, QString& error)
{
    PGresult* result = PQexec(connection_, statement);
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok)
        error = ResultError(result, connection_);
    PQclear(result);
    return ok;
}
