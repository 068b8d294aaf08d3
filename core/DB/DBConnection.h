#pragma once
// One open database connection, made from the settings' connection string, for the thread that
// creates it. Qt SQL connections may only be used on the thread that made them, so each work
// (an export or import on the dialog's worker thread, the table dialog and the row count on the
// main thread) opens its own and closes it when done.
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class TDBConnection {
public:
    // Opens the connection; raises Exception with the driver's reason when it cannot.
    explicit TDBConnection(const QString& connectionString);
    ~TDBConnection();
    TDBConnection(const TDBConnection&) = delete;
    TDBConnection& operator=(const TDBConnection&) = delete;

    QSqlDatabase& Database() { return db_; }
    // The driver's name ("QSQLITE", "QPSQL", "QODBC").
    QString Driver() const { return db_.driverName(); }
    // The user tables, system tables left out.
    QStringList Tables() const;
    // Runs a statement that returns no rows; raises Exception with the driver's reason.
    void Exec(const QString& statement);
    // The driver's own connection handle when it is of this type ("sqlite3*", "PGconn*"), for
    // work that the driver's interface makes slow; nullptr otherwise.
    void* NativeHandle(const char* typeName) const;

private:
    QString name_;
    QSqlDatabase db_;
};

// Raises Exception unless the name is one identifier (letters, digits, "_", not starting with a
// digit), optionally qualified by a schema ("schema.table"). Table names are put into statements
// as they stand, so this is what keeps a name from changing a statement.
void CheckTableName(const QString& table);
