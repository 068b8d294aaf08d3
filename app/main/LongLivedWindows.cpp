#include "app/main/LongLivedWindows.h"

#include "app/dialogs/FMBDrive.h"
#include "app/main/FMain.h"

// The silo card (TfmSilosParam), the local-block window (TfmMBDrive) and the notification
// settings (TfmOverlay) are created here, in this order, once they exist.
void CreateLongLivedWindows(TfmMain& mainWindow)
{
    // Owned by the main window, so that it goes when the main window does.
    mainWindow.MBDrive = new TfmMBDrive(mainWindow.Monitor, &mainWindow);
}
