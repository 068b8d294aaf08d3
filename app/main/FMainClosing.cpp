// Closing the main window: refused while a pass runs; unsaved readings are saved or offered
// for saving; then every setting is written. Closing asked from outside (the session ends) asks
// nothing: a pass under way is stopped and unsaved readings go to the data file.
#include "app/main/FMain.h"

#include "app/exchange/ExchangeControl.h"
#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"
#include "core/Monitor.h"
#include "core/Parameters.h"

#include <QMessageBox>

bool TfmMain::CloseFromOutside()
{
    // A second request while the first is being served changes nothing.
    if (FClosingFromOutside)
        return false;
    FClosingFromOutside = true;
    return close();
}

bool TfmMain::FormCloseQuery()
{
    if (FClosingFromOutside) {
        // Whatever fails on the way (a data file that cannot be written) is logged; the program
        // still ends, as the system asked.
        RunGuarded(this, [this] { CloseWithoutQuestions(); });
        return true;
    }
    if (SendTH()) {
        AskUser(this, QMessageBox::Information, QStringLiteral("Сначала нужно остановить опрос"));
        return false;
    }
    if (Modified) {
        if (AutoSave || AskUser(this, QMessageBox::Warning,
                            QStringLiteral("Результаты измерений не сохранены в архивном файле!\r\n\r\nСохранить?"),
                            QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
            SaveUnsavedReadings();
    }
    return true;
}

void TfmMain::CloseWithoutQuestions()
{
    if (SendTH()) {
        // The pass ends as a stopped pass does: its readings are taken in and saved.
        Exchange->btn1Click();
        Exchange->WMExchangeDone();
    }
    if (!Modified)
        return;
    if (Settings.DataFile.isEmpty())
        Monitor.Log.Post(QStringLiteral("Результаты измерений не сохранены: файл данных не задан"), kLogError);
    else
        SaveDataFile(Settings.DataFile);
}

// Without a data-file path the readings would be lost without a word: the operator is
// offered a file to save them in instead.
void TfmMain::SaveUnsavedReadings()
{
    if (Settings.DataFile.isEmpty())
        Execute(acSaveAsDAT);
    else
        Execute(acSaveDAT);
}
