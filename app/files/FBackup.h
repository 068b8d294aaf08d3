#pragma once
// The offer to back up the settings, layout and data files: the operator picks the folder that
// receives the dated backup folder. "Сохранить" ends with Accepted, "Отмена" with Rejected.
// The folder edit starts empty each time; "Сохранить" is refused, with the reason, while the
// folder is not one the backup can be written into.
#include "base/DateTime.h"

#include <QDialog>
#include <QStringList>

class QAction;
class QLineEdit;
class QPushButton;

class TfmBackup : public QDialog {
public:
    explicit TfmBackup(QWidget* owner = nullptr);

    // The chosen folder as the edit holds it.
    QString BackupDir() const;

    QLineEdit* edBackupDir = nullptr;
    QAction* acChooseDir = nullptr;   // the edit's button: the folder chooser
    QPushButton* btSave = nullptr;
    QPushButton* btCancel = nullptr;

    void done(int result) override;

private:
    void ChooseDir();
};

// Once the backup is due, offers it and copies the files into a dated folder in the folder
// chosen; lastBackup becomes now only when every file was copied, so that an incomplete backup
// is offered again at the next start. What could not be copied is shown.
void OfferBackup(QWidget* parent, const QStringList& files, TDateTime& lastBackup);
