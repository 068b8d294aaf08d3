#pragma once
// The offer to back up the settings, layout and data files: the operator picks the folder that
// receives the dated backup folder. "Сохранить" ends with Accepted, "Отмена" with Rejected.
// The folder edit starts empty each time.
#include <QDialog>

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

private:
    void ChooseDir();
};
