// The main window's seams for the work of other parts of the program. Each is called at the
// right moment of the window's lifecycle already; it does nothing (or answers "no") until the
// part that owns it fills it in.
#include "app/main/FMain.h"

#include "app/dialogs/FControllers.h"
#include "app/settings/AutoRun.h"
#include "app/dialogs/FAbout.h"
#include "app/dialogs/FMBDrive.h"
#include "app/dialogs/FOverlay.h"

#include <QAction>
#include <QCoreApplication>

// Actions whose work belongs to other parts of the window: they are in their menus with their
// enabling rules; those not connected here do nothing yet.
void TfmMain::ConnectLaterActions()
{
    ConnectGraph();
    ConnectConfigurationDialogs();
    aList.SetWork(acOverlay, [this] { ShowOverlaySettings(Settings, this); });
    aList.SetWork(acControllers, [this] { ShowControllers(this, Settings, Port); });
    aList.SetWork(acAutoRun, [this] { ToggleAutoRun(*acAutoRun, QCoreApplication::applicationFilePath()); });
    aList.SetWork(acAbout, [this] { ShowAbout(this); });
    aList.SetWork(acMB, [this] {
        if (MBDrive)
            MBDrive->ShowModal();
    });
    InstallDetail();
}
