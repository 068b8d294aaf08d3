#include "base/Exception.h"
#include "core/DB/ConnectionString.h"

#include <gtest/gtest.h>

namespace {

TDBConnectionParams Params(const char* driver, const char* database, const char* host = "", int port = -1,
                           const char* user = "", const char* password = "")
{
    TDBConnectionParams p;
    p.Driver = QString::fromLatin1(driver);
    p.DatabaseName = QString::fromUtf8(database);
    p.HostName = QString::fromUtf8(host);
    p.Port = port;
    p.UserName = QString::fromUtf8(user);
    p.Password = QString::fromUtf8(password);
    return p;
}

} // namespace

void PrintTo(const TDBConnectionParams& p, std::ostream* os)
{
    *os << p.Driver.toStdString() << " [" << p.DatabaseName.toStdString() << "] host [" << p.HostName.toStdString()
        << "] port " << p.Port << " user [" << p.UserName.toStdString() << "] password [" << p.Password.toStdString()
        << "]";
}

TEST(ConnectionString, MapsOntoTheQtDrivers)
{
    const struct {
        const char* text;
        TDBConnectionParams params;
    } cases[] = {
        {"Data Source=/var/lib/tz/readings.db", Params("QSQLITE", "/var/lib/tz/readings.db")},
        {"  data source = /tmp/a b.db ; ", Params("QSQLITE", "/tmp/a b.db")},
        {"Provider=SQLite;Database=/tmp/r.db", Params("QSQLITE", "/tmp/r.db")},
        {"Driver={SQLite3 ODBC Driver};Data Source=r.db", Params("QSQLITE", "r.db")},
        {"Provider=PostgreSQL;Data Source=db.example;Port=5433;Initial Catalog=grain;User ID=op;Password=\"a;b\"\"c\"",
         Params("QPSQL", "grain", "db.example", 5433, "op", "a;b\"c")},
        {"Driver={PostgreSQL Unicode};Server=/tmp/sock;Database=grain", Params("QPSQL", "grain", "/tmp/sock")},
        {"PROVIDER=PostgreSQL OLE DB Provider;SERVER=h;DATABASE=d;USER ID='o''k'", Params("QPSQL", "d", "h", -1, "o'k")},
        {"Provider=MSDASQL.1;Data Source=Elevator;User ID=op;Password=pw;Persist Security Info=False",
         Params("QODBC", "DSN=Elevator", "", -1, "op", "pw")},
        {"Provider=MSDASQL;Extended Properties=\"DSN=Elevator;APP=tz\"", Params("QODBC", "DSN=Elevator;APP=tz")},
        {"Driver={FreeTDS};Server=sql.local;Database=grain;Port=1433;TDS_Version=7.4",
         Params("QODBC", "DRIVER={FreeTDS};SERVER=sql.local;DATABASE=grain;PORT=1433;TDS_VERSION=7.4")},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\data\\arch.mdb",
         Params("QODBC", "DSN=C:\\data\\arch.mdb")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseConnectionString(QString::fromUtf8(c.text)), c.params) << c.text;
}

TEST(ConnectionString, RefusesWhatNamesNoDatabase)
{
    const char* bad[] = {
        "", "   ", "/tmp/readings.db", "Data Source", "Provider=SQLite", "Data Source=\"unclosed",
        "Data Source=\"a\" b", "Provider=PostgreSQL;Port=http", "Provider=PostgreSQL;Port=70000", "Provider=MSDASQL",
    };
    for (const char* text : bad)
        EXPECT_THROW(ParseConnectionString(QString::fromUtf8(text)), Exception) << text;
}

// What the connection dialog composes, the parser reads back unchanged, awkward values included.
TEST(ConnectionString, MadeStringsReadBackToTheSameParameters)
{
    const TDBConnectionParams cases[] = {
        Params("QSQLITE", "/var/lib/tz/readings.db"),
        Params("QSQLITE", " /tmp/with;semicolon \"and quotes\".db"),
        Params("QPSQL", "grain", "/run/postgresql", 5433, "op", "p;w\"d"),
        Params("QPSQL", "", "db.example"),
        Params("QPSQL", "grain", "", -1, "", "'quoted'"),
    };
    for (const TDBConnectionParams& params : cases) {
        const QString text = MakeConnectionString(params);
        EXPECT_EQ(ParseConnectionString(text), params) << text.toStdString();
    }
}
