#pragma once
// The database connection as the settings keep it: an ADO-style connection string of
// "key=value" pairs separated by ";", mapped onto a Qt SQL driver and its parameters.
//
// "Provider" or "Driver" naming PostgreSQL selects QPSQL, naming SQLite (or neither given) selects
// QSQLITE, anything else QODBC. "Data Source" (or "Server") is the SQLite file, the PostgreSQL
// host (a directory for a Unix socket) or the ODBC data source; "Initial Catalog" (or "Database")
// the database; "User ID", "Password" and "Port" carry over. Keys are compared without regard to
// case; a value may be quoted with " or ' to hold a ";".
#include <QString>

struct TDBConnectionParams {
    QString Driver;         // "QSQLITE", "QPSQL" or "QODBC"
    QString DatabaseName;   // the SQLite file, the PostgreSQL database, or the ODBC connection string
    QString HostName;
    int Port = -1;          // -1: the driver's default
    QString UserName;
    QString Password;

    bool operator==(const TDBConnectionParams&) const = default;
};

// Raises Exception for a string that is no list of pairs or names no database.
TDBConnectionParams ParseConnectionString(const QString& text);
// The connection string of a SQLite or PostgreSQL connection, which ParseConnectionString reads
// back to the same parameters; values that need it are quoted.
QString MakeConnectionString(const TDBConnectionParams& params);
