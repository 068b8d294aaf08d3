#pragma once
// Opening and saving the data file of readings from the main window: the file at
// Settings.DataFile is read at every rebuild of the board and written after every pass, from the
// menu and at closing; "Открыть данные...", "Сохранить данные", "Сохранить  данные как..." and
// "Очистить архив".
//
// Two faults of plain saving are kept out:
// - A data file that could be read only in part still holds readings that were not read. It is
//   written over only with the operator's word ("Сохранить данные" asks); the save after a pass
//   leaves it alone and says so in red, so that no reading is lost without a question.
// - "Сохранить  данные как..." to another file does not make the main data file up to date: the
//   readings stay marked unsaved (closing still offers to save them there), and a line says so.
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TExchangeLog;
class THardConfig;
class TMonitor;
class TSilos;
class TVStatusPanelPro;
struct Parameters;

// What the actions need of the main window.
struct TDataFileWindow {
    QWidget* Parent = nullptr;                 // of the file dialogs and questions
    TVStatusPanelPro* PathPanel = nullptr;     // shows the data file's path
    bool* Modified = nullptr;                  // readings changed since the last load or save
    std::function<void()> RebuildHistory;      // the poll history after the readings changed
    std::function<void()> ExportAfterSave;     // the database export after a save
    std::function<std::vector<TSilos*>()> Suspensions;   // the board's suspensions
};

class TDataFileActions {
public:
    // The readings of the context's tree, in the file its settings name.
    TDataFileActions(TMonitor& monitor, TDataFileWindow window);

    // Reads Settings.DataFile when it exists (the status bar shows the path), rebuilds the poll
    // history, and marks the readings saved.
    void LoadDataFile();
    // Writes the readings to path; the readings count as saved when path is the main data file
    // (or there is none). Raises Exception when the file cannot be written. interactive: the
    // operator asked for it, so a partly read file may be written over once the operator agrees;
    // otherwise such a file is left alone and false returned.
    bool SaveDataFile(const QString& path, bool interactive);

    void acOpenDATExecute();
    void acSaveDATExecute();
    void acSaveAsDATExecute();
    void acClearRetroExecute();

    // The file that was read only in part, while it is still the one it was.
    const QString& PartlyReadFile() const { return partlyRead_; }

private:
    bool MayOverwrite(const QString& path, bool interactive);

    const TDataFileWindow window_;
    Parameters& Settings;
    std::unique_ptr<THardConfig>& HardConfig;
    TExchangeLog& Log;
    QString partlyRead_;
};

// The data file's dialogs: "Файлы данных" (*.dxml), then every file.
QString AskDataFile(QWidget* parent, bool forSaving);
