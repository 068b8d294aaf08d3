// The main window's first showing: settings, the start-up sequence, the login, and the rest.
#include "app/main/FMain.h"

#include "app/exchange/PortControl.h"
#include "app/files/FBackup.h"
#include "app/settings/AutoRun.h"
#include "core/Parameters.h"
#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"

#include <QAction>
#include <QMessageBox>
#include <QTimer>

void TfmMain::FirstShowing()
{
    FFirstShowingDone = true;
    // A failure while restoring ends the restore (and the login with it) with a red log line;
    // the window is still shown.
    RunGuarded(this, [this] {
        RestoreMainPlacement();
        FormStorage1RestorePlacement();
    });
    if (!FClosing)
        RunGuarded(this, [this] { FormShow(); });
}

void TfmMain::FormStorage1RestorePlacement()
{
    LoadSettings();
    StartupSequence();
}

void TfmMain::StartupSequence()
{
    LoadSchedule();
    SetPortEnabled(true);
    Execute(acMainView);
    ClearBoard();
    RebuildConfiguration();
    ApplyGraphSettings();
    LoginLoop();
}

bool TfmMain::LoginLoop()
{
    for (;;) {
        try {
            Execute(acSelUser);
            return true;
        } catch (const std::exception& error) {
            const QString text = QString::fromUtf8(error.what()) + QStringLiteral("\r\nПопробовать ещё раз?");
            if (AskUser(this, QMessageBox::Critical, text, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
                CloseFromLogin();
                return false;
            }
        }
    }
}

// The login was refused: the window closes (which ends the program) once the event loop
// runs, since this may happen before the window is even on the screen.
void TfmMain::CloseFromLogin()
{
    FClosing = true;
    QTimer::singleShot(0, this, [this] { close(); });
}

void TfmMain::FormShow()
{
    acAutoRun->setChecked(AutoRunEnabled());
    Tag = 0;
    OfferBackup(this, {QString::fromStdString(FormStorage1->FileName()), Settings.SiloBinsFile, Settings.DataFile},
                LastBackup);
    PortControl->BuildPortMenu();
}
