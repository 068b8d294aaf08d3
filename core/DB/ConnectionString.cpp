#include "core/DB/ConnectionString.h"

#include "base/Exception.h"

#include <QList>
#include <QPair>

namespace {

using Pairs = QList<QPair<QString, QString>>;

[[noreturn]] void Fail(const QString& message)
{
    throw Exception(message.toStdString());
}

// A quoted value: up to the matching quote, a doubled quote standing for one.
QString QuotedValue(const QString& text, qsizetype& at)
{
    const QChar quote = text[at++];
    QString value;
    while (at < text.size()) {
        const QChar c = text[at++];
        if (c != quote) {
            value += c;
        } else if (at < text.size() && text[at] == quote) {
            value += quote;
            ++at;
        } else {
            return value;
        }
    }
    Fail(QStringLiteral("в строке подключения не закрыта кавычка"));
}

Pairs SplitPairs(const QString& text)
{
    Pairs pairs;
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype equals = text.indexOf(u'=', at);
        const qsizetype semicolon = text.indexOf(u';', at);
        if (semicolon >= 0 && (equals < 0 || semicolon < equals)) {
            if (!text.mid(at, semicolon - at).trimmed().isEmpty())
                Fail(QStringLiteral("в строке подключения нет знака \"=\" после \"%1\"").arg(text.mid(at, semicolon - at).trimmed()));
            at = semicolon + 1;
            continue;
        }
        if (equals < 0) {
            if (!text.mid(at).trimmed().isEmpty())
                Fail(QStringLiteral("в строке подключения нет знака \"=\" после \"%1\"").arg(text.mid(at).trimmed()));
            break;
        }
        const QString key = text.mid(at, equals - at).trimmed().toLower();
        at = equals + 1;
        while (at < text.size() && text[at].isSpace())
            ++at;
        QString value;
        if (at < text.size() && (text[at] == u'"' || text[at] == u'\'')) {
            value = QuotedValue(text, at);
            while (at < text.size() && text[at] != u';') {
                if (!text[at].isSpace())
                    Fail(QStringLiteral("в строке подключения лишний текст после значения \"%1\"").arg(key));
                ++at;
            }
        } else {
            qsizetype end = text.indexOf(u';', at);
            if (end < 0)
                end = text.size();
            value = text.mid(at, end - at).trimmed();
            at = end;
        }
        ++at;   // past the ";"
        pairs.append({key, value});
    }
    return pairs;
}

// The value of the first of the keys that the string gives (the last one given wins, as in ADO).
QString Take(Pairs& pairs, std::initializer_list<const char*> keys, bool* found = nullptr)
{
    QString value;
    bool any = false;
    for (qsizetype i = 0; i < pairs.size();) {
        bool match = false;
        for (const char* key : keys)
            match = match || pairs[i].first == QLatin1StringView(key);
        if (match) {
            value = pairs[i].second;
            any = true;
            pairs.removeAt(i);
        } else {
            ++i;
        }
    }
    if (found)
        *found = any;
    return value;
}

QString DriverFor(const QString& provider)
{
    const QString name = provider.toLower();
    if (name.isEmpty() || name.contains(u"sqlite"))
        return QStringLiteral("QSQLITE");
    if (name.contains(u"postgres") || name.contains(u"pgsql") || name.contains(u"psql"))
        return QStringLiteral("QPSQL");
    return QStringLiteral("QODBC");
}

// The ODBC connection string: the driver or data source, the server and database, and every
// other pair as given.
QString OdbcConnectionString(bool hasDriver, const QString& odbcDriver, const QString& source,
                             const QString& database, int port, const Pairs& rest)
{
    QStringList parts;
    const auto add = [&parts](const QString& key, const QString& value) {
        if (value.isEmpty())
            return;
        const bool quote = value.contains(u';') && !value.startsWith(u'{');
        parts << key + u'=' + (quote ? u'{' + value + u'}' : value);
    };
    if (hasDriver) {
        add(QStringLiteral("DRIVER"), odbcDriver);
        add(QStringLiteral("SERVER"), source);
    } else {
        add(QStringLiteral("DSN"), source);
    }
    add(QStringLiteral("DATABASE"), database);
    if (port >= 0)
        add(QStringLiteral("PORT"), QString::number(port));
    // OLE DB properties (keys with blanks or colons) mean nothing to ODBC, except the extended
    // properties, which are the ODBC connection string of an ODBC provider.
    QString extended;
    for (const auto& [key, value] : rest) {
        if (key == u"extended properties")
            extended = value;
        else if (!key.contains(u' ') && !key.contains(u':'))
            add(key.toUpper(), value);
    }
    if (!extended.isEmpty())
        parts << extended;
    return parts.join(u';');
}

} // namespace

TDBConnectionParams ParseConnectionString(const QString& text)
{
    Pairs pairs = SplitPairs(text);
    bool hasProvider = false;
    bool hasDriver = false;
    const QString provider = Take(pairs, {"provider"}, &hasProvider);
    const QString driver = Take(pairs, {"driver"}, &hasDriver);
    const QString source = Take(pairs, {"data source", "server"});
    const QString database = Take(pairs, {"initial catalog", "database"});
    const QString portText = Take(pairs, {"port"});
    TDBConnectionParams params;
    params.UserName = Take(pairs, {"user id"});
    params.Password = Take(pairs, {"password"});
    if (!portText.isEmpty()) {
        bool ok = false;
        params.Port = portText.toInt(&ok);
        if (!ok || params.Port < 0 || params.Port > 65535)
            Fail(QStringLiteral("в строке подключения неверный порт \"%1\"").arg(portText));
    }
    params.Driver = DriverFor(hasDriver && !driver.isEmpty() ? driver : provider);
    if (params.Driver == u"QSQLITE") {
        params.DatabaseName = !source.isEmpty() ? source : database;
        if (params.DatabaseName.isEmpty())
            Fail(QStringLiteral("в строке подключения не указан файл базы данных (\"Data Source\")"));
    } else if (params.Driver == u"QPSQL") {
        params.HostName = source;
        params.DatabaseName = database;
    } else {
        params.DatabaseName = OdbcConnectionString(hasDriver, driver, source, database, params.Port, pairs);
        params.Port = -1;
        if (params.DatabaseName.isEmpty())
            Fail(QStringLiteral("в строке подключения не указан источник данных"));
    }
    return params;
}

namespace {

// A value the parser would read otherwise (";", a leading quote, blanks at its ends) is quoted,
// its quotes doubled.
QString ConnectionValue(const QString& value)
{
    const bool plain = !value.contains(u';') && !value.startsWith(u'"') && !value.startsWith(u'\'') &&
                       value.trimmed() == value;
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QString MakeConnectionString(const TDBConnectionParams& params)
{
    QStringList pairs;
    const auto add = [&pairs](const char* key, const QString& value) {
        if (!value.isEmpty())
            pairs << QString::fromLatin1(key) + u'=' + ConnectionValue(value);
    };
    if (params.Driver == u"QPSQL") {
        add("Provider", QStringLiteral("PostgreSQL"));
        add("Data Source", params.HostName);
        if (params.Port >= 0)
            add("Port", QString::number(params.Port));
        add("Initial Catalog", params.DatabaseName);
        add("User ID", params.UserName);
        add("Password", params.Password);
    } else {
        add("Provider", QStringLiteral("SQLite"));
        add("Data Source", params.DatabaseName);
    }
    return pairs.join(u';');
}
