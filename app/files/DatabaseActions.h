#pragma once
// The main window's database commands: "Экспорт данных...", "Импорт данных...", "Параметры
// экспорта/импорта ..." and the automatic export after a save. Each export and import runs on
// the progress dialog's worker, off the main thread, with the operator able to stop it.
#include "app/dialogs/FProgress.h"

#include <QString>

#include <functional>
#include <vector>

class IniFile;
class QWidget;
class TExchangeLog;
class TMonitor;
class TProgressThread;
class TSilos;
struct Parameters;

// What the commands need of the main window.
struct TDatabaseWindow {
    QWidget* Parent = nullptr;                            // of the dialogs
    bool* Modified = nullptr;                             // readings changed since the last save
    IniFile* Placement = nullptr;                         // where the table dialog keeps its place
    std::function<std::vector<TSilos*>()> Suspensions;    // the board's, in board order
};

class TDatabaseActions {
public:
    TDatabaseActions(TMonitor& monitor, TDatabaseWindow window);

    // Appends every reading of the board to the table, then tells how many went.
    void acExportExecute();
    // Reads the table's rows back into the sensors, then tells how many came; the readings
    // count as changed afterwards. A table whose rows cannot be counted shows no dialog: the
    // error reaches the caller.
    void acImportExecute();
    void acSelExportDBExecute();
    // Appends the readings the table does not hold yet (see AutoExport.h).
    void ExportAfterSave();

    // An export or import is running: the sensors are the worker's, so no pass may start (a
    // scheduled poll comes while the progress dialog is shown).
    bool Busy() const { return busy_; }

private:
    TProgressOutcome Run(const QString& caption, qint64 maximum, const std::function<void(TProgressThread&)>& work);
    // The operator is told how the export or import ended and how many readings went.
    void TellOutcome(bool exported, const TProgressOutcome& outcome, qint64 maximum) const;

    const TDatabaseWindow window_;
    Parameters& Settings;
    TExchangeLog& Log;
    bool busy_ = false;
};
