// Closing the main window: refused while a pass runs; unsaved readings are saved or offered
// for saving; then every setting is written.
#include "app/main/FMain.h"

#include "app/main/ModalRunner.h"
#include "core/Parameters.h"

#include <QMessageBox>

bool TfmMain::FormCloseQuery()
{
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

// Without a data-file path the readings would be lost without a word: the operator is
// offered a file to save them in instead.
void TfmMain::SaveUnsavedReadings()
{
    if (Settings.DataFile.isEmpty())
        Execute(acSaveAsDAT);
    else
        Execute(acSaveDAT);
}
