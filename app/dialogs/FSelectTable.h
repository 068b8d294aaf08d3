#pragma once
// The table dialog "Выбор таблицы": the connection to the database (typed, or chosen with the
// edit's button), the readings table (one of the database's tables, or a new one made with
// "Создать новую"), and the automatic export after every save. The dialog keeps its own
// connection open on the main thread while it is shown; the settings change only on OK. A
// connection that fails is told once, in the dialog itself, with its reason and what to do,
// for as long as there is none.
#include <QDialog>
#include <QString>

#include <memory>

class IniFile;
class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class QLabel;
class TDBConnection;
class TKeptPlacement;
struct Parameters;

class TfmSelectTable : public QDialog {
public:
    // placement: the settings file where the dialog keeps its place (may be nullptr).
    TfmSelectTable(Parameters& settings, IniFile* placement, QWidget* parent = nullptr);
    ~TfmSelectTable() override;

    QLineEdit* edDBPath = nullptr;     // the connection string
    QToolButton* btDBPath = nullptr;   // the edit's button: the connection chooser
    QLabel* lbConnection = nullptr;    // why there is no connection, and what to do; hidden with one
    QComboBox* cbTable = nullptr;
    QAction* acCreateTable = nullptr;  // "Создать новую"
    QToolButton* btCreateTable = nullptr;
    QCheckBox* chAutoExport = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // Fills the controls from the settings, connects and lists the tables (run before showing).
    void FormShow();
    void edDBPathButtonClick();
    void edDBPathExit();
    void cbTableEnter();
    void acCreateTableExecute();
    void acCreateTableUpdate();
    bool Connected() const { return connection_ != nullptr; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Connect(const QString& connectionString);
    void FillTables();
    void ShowConnectionState(const QString& failure);

    Parameters& Settings;
    std::unique_ptr<TDBConnection> connection_;   // ADOConnection
    QString applied_;                             // the connection string last applied
    std::unique_ptr<TKeptPlacement> placement_;
};

// The main window's "Параметры экспорта/импорта ...".
void ShowSelectTable(Parameters& settings, IniFile* placement, QWidget* parent);
