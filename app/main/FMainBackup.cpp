// The main window's start-at-logon check mark and its offer to back up the settings, layout
// and data files, both at the first showing after the login.
#include "app/main/FMain.h"

#include "app/settings/AutoRun.h"
#include "app/files/BackupCopy.h"
#include "app/files/FBackup.h"
#include "app/main/ModalRunner.h"
#include "core/Parameters.h"

#include <QAction>

void TfmMain::ReadAutoRunState()
{
    acAutoRun->setChecked(AutoRunEnabled());
}

void TfmMain::OfferBackup()
{
    if (!BackupDue(Now(), LastBackup))
        return;
    TfmBackup dialog(this);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    const QString folder = BackupFolderName(dialog.BackupDir(), QDate::currentDate(), QLocale());
    const TBackupResult result = MakeBackup(folder,
        {QString::fromStdString(FormStorage1->FileName()), Settings.SiloBinsFile, Settings.DataFile});
    // An incomplete backup does not count: the offer comes again at the next start.
    if (result.Complete())
        LastBackup = Now();
    const QString problems = result.Problems();
    if (!problems.isEmpty())
        AskUser(this, QMessageBox::Warning, problems);
}
