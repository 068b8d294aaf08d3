#include "core/DB/PostgresCopy.h"

#include <libpq-fe.h>

#include <bit>
#include <charconv>
#include <cstring>

namespace {

// The binary form opens with this signature, a flags word and an empty header extension, and
// ends with a field count of -1.
constexpr char kBinarySignature[] = "PGCOPY\n\377\r\n";   // 11 octets with the closing zero
constexpr int16_t kFieldCount = 6;
// SQLSTATE of a value whose binary form the column's type cannot read.
constexpr char kInvalidBinaryRepresentation[] = "22P03";

// Integers in network order, as the binary form has them.
template <class Integer>
void AppendBigEndian(std::string& out, Integer value)
{
    char octets[sizeof value];
    for (size_t i = 0; i < sizeof value; ++i)
        octets[i] = static_cast<char>(static_cast<std::make_unsigned_t<Integer>>(value) >> (8 * (sizeof value - 1 - i)));
    out.append(octets, sizeof value);
}

void AppendBinaryField(std::string& out, const QByteArray& text)
{
    AppendBigEndian(out, static_cast<int32_t>(text.size()));
    out.append(text.constData(), static_cast<size_t>(text.size()));
}

void AppendBinaryField(std::string& out, int32_t value)
{
    AppendBigEndian(out, int32_t {4});
    AppendBigEndian(out, value);
}

void AppendBinaryField(std::string& out, double value)
{
    AppendBigEndian(out, int32_t {8});
    AppendBigEndian(out, std::bit_cast<int64_t>(value));
}

// The text form: fields apart by tabs, rows ended by a newline, and these four escaped.
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

// The shortest text that reads back as the same number.
template <class Number>
void AppendText(std::string& out, Number value)
{
    char text[32];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

QString ResultError(PGresult* result, PGconn* connection)
{
    const char* message = result ? PQresultErrorMessage(result) : PQerrorMessage(connection);
    return QString::fromUtf8(message).trimmed();
}

} // namespace

TPostgresCopy::TPostgresCopy(PGconn* connection, const QString& table) : connection_(connection), table_(table) {}

void TPostgresCopy::KeepSensor(Form form, const TReadingRow& row)
{
    if (sensorKept_ && keptForm_ == form && row.SilosName == keptName_ && row.DevAddr == keptAddr_ &&
        row.DevNo == keptNo_ && row.TIT == keptTIT_)
        return;
    sensorFields_.clear();
    const QByteArray name = row.SilosName.toUtf8();
    if (form == Form::Binary) {
        AppendBigEndian(sensorFields_, kFieldCount);
        AppendBinaryField(sensorFields_, name);
        for (const int32_t number : {row.DevAddr, row.DevNo, row.TIT})
            AppendBinaryField(sensorFields_, number);
    } else {
        AppendEscaped(sensorFields_, name);
        for (const int number : {row.DevAddr, row.DevNo, row.TIT}) {
            sensorFields_ += '\t';
            AppendText(sensorFields_, number);
        }
        sensorFields_ += '\t';
    }
    keptForm_ = form;
    keptName_ = row.SilosName;
    keptAddr_ = row.DevAddr;
    keptNo_ = row.DevNo;
    keptTIT_ = row.TIT;
    sensorKept_ = true;
}

void TPostgresCopy::AppendRow(Form form, const TReadingRow& row)
{
    KeepSensor(form, row);
    data_ += sensorFields_;
    if (form == Form::Binary) {
        AppendBinaryField(data_, row.FixTime);
        AppendBinaryField(data_, row.Val);
    } else {
        AppendText(data_, row.FixTime);
        data_ += '\t';
        AppendText(data_, row.Val);
        data_ += '\n';
    }
}

bool TPostgresCopy::Copy(std::span<const TReadingRow> rows, QString& error)
{
    const Outcome outcome = CopyAs(form_, rows, error);
    if (outcome == Outcome::WrongBinaryForm)
        form_ = Form::Text;
    return outcome == Outcome::Done;
}

TPostgresCopy::Outcome TPostgresCopy::CopyAs(Form form, std::span<const TReadingRow> rows, QString& error)
{
    data_.clear();
    if (form == Form::Binary) {
        data_.append(kBinarySignature, sizeof kBinarySignature);
        AppendBigEndian(data_, int32_t {0});   // flags
        AppendBigEndian(data_, int32_t {0});   // header extension length
    }
    for (const TReadingRow& row : rows)
        AppendRow(form, row);
    if (form == Form::Binary)
        AppendBigEndian(data_, int16_t {-1});

    const QByteArray statement = QStringLiteral("COPY %1 (SilosName, DevAddr, DevNo, TIT, FixTime, Val) FROM STDIN%2")
                                     .arg(table_, form == Form::Binary ? QStringLiteral(" (FORMAT binary)") : QString())
                                     .toUtf8();
    PGresult* started = PQexec(connection_, statement.constData());
    const bool copying = PQresultStatus(started) == PGRES_COPY_IN;
    if (!copying)
        error = ResultError(started, connection_);
    PQclear(started);
    if (!copying)
        return Outcome::Refused;
    const bool sent = PQputCopyData(connection_, data_.data(), static_cast<int>(data_.size())) == 1;
    return EndCopy(sent, error);
}

// Ends the COPY (abandoning it when the data could not be sent) and reads every result, so that
// the connection is ready for the next statement whatever happened.
TPostgresCopy::Outcome TPostgresCopy::EndCopy(bool sent, QString& error)
{
    Outcome outcome = PQputCopyEnd(connection_, sent ? nullptr : "данные не переданы") == 1 && sent
        ? Outcome::Done
        : Outcome::Refused;
    if (outcome != Outcome::Done)
        error = ResultError(nullptr, connection_);
    while (PGresult* result = PQgetResult(connection_)) {
        if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            error = ResultError(result, connection_);
            const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
            outcome = state && std::strcmp(state, kInvalidBinaryRepresentation) == 0 ? Outcome::WrongBinaryForm
                                                                                       : Outcome::Refused;
        }
        PQclear(result);
    }
    return outcome;
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
