#pragma once
// The connection chooser behind the button of the table dialog's connection edit: SQLite (a
// database file) or a PostgreSQL server, by their fields, so that nobody has to write a
// connection string by hand. It starts from the string it is given where it can read one.
#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

class TfmDataLink : public QDialog {
public:
    explicit TfmDataLink(const QString& connectionString, QWidget* parent = nullptr);

    // The connection string of what is chosen.
    QString ConnectionString() const;

    QRadioButton* rbSQLite = nullptr;
    QRadioButton* rbPostgres = nullptr;
    QStackedWidget* pages = nullptr;
    QLineEdit* edFile = nullptr;          // the SQLite database file
    QPushButton* btFile = nullptr;        // chooses it
    QLineEdit* edHost = nullptr;          // the server, or the folder of its Unix socket
    QSpinBox* edPort = nullptr;
    QLineEdit* edDatabase = nullptr;
    QLineEdit* edUser = nullptr;
    QLineEdit* edPassword = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    void Fill(const QString& connectionString);
    void ChooseFile();
};
