#include "core/DB/DBConnection.h"

#include "base/Exception.h"
#include "core/DB/ConnectionString.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

[[noreturn]] void Fail(const QString& message)
{
    throw Exception(message.toStdString());
}

QString UniqueConnectionName()
{
    static std::atomic<unsigned> counter{0};
    return QStringLiteral("tz_db_%1").arg(++counter);
}

// Statements wait this long for a busy database, as the connection dialog's command time-out.
constexpr int kTimeoutSeconds = 20;

QString DefaultOptions(const QString& driver)
{
    if (driver == u"QSQLITE")
        return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kTimeoutSeconds * 1000);
    if (driver == u"QPSQL")
        return QStringLiteral("connect_timeout=%1").arg(kTimeoutSeconds);
    return QStringLiteral("SQL_ATTR_CONNECTION_TIMEOUT=%1;SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kTimeoutSeconds);
}

} // namespace

TDBConnection::TDBConnection(const QString& connectionString) : name_(UniqueConnectionName())
{
    const TDBConnectionParams params = ParseConnectionString(connectionString);
    if (!QSqlDatabase::isDriverAvailable(params.Driver))
        Fail(QStringLiteral("драйвер базы данных %1 не установлен").arg(params.Driver));
    db_ = QSqlDatabase::addDatabase(params.Driver, name_);
    db_.setDatabaseName(params.DatabaseName);
    db_.setHostName(params.HostName);
    db_.setPort(params.Port);
    db_.setUserName(params.UserName);
    db_.setPassword(params.Password);
    db_.setConnectOptions(DefaultOptions(params.Driver));
    if (!db_.open()) {
        const QString reason = db_.lastError().text();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        Fail(QStringLiteral("нет связи с базой данных: %1").arg(reason));
    }
}

TDBConnection::~TDBConnection()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

QStringList TDBConnection::Tables() const
{
    return db_.tables(QSql::Tables);
}

void TDBConnection::Exec(const QString& statement)
{
    QSqlQuery query(db_);
    if (!query.exec(statement))
        Fail(query.lastError().text());
}

void* TDBConnection::NativeHandle(const char* typeName) const
{
    const QVariant handle = db_.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), typeName) != 0)
        return nullptr;
    return *static_cast<void* const*>(handle.constData());
}

void CheckTableName(const QString& table)
{
    static const QRegularExpression identifier(
        QStringLiteral(R"(^[\p{L}_][\p{L}\p{N}_]*(\.[\p{L}_][\p{L}\p{N}_]*)?$)"));
    if (table.size() > 128 || !identifier.match(table).hasMatch())
        Fail(QStringLiteral("недопустимое имя таблицы \"%1\"").arg(table));
}
