// The main window's seams for the work of other parts of the program. Each is called at the
// right moment of the window's lifecycle already; it does nothing (or answers "no") until the
// part that owns it fills it in.
#include "app/FMain.h"

#include "app/DetalTree.h"
#include "app/FControllers.h"
#include "app/AutoRun.h"
#include "app/FAbout.h"
#include "app/FMBDrive.h"
#include "app/FOverley.h"

#include <QAction>
#include <QCoreApplication>

// The board: frees the silo-block frames (writing the layout file first when there are any).
void TfmMain::ClearBoard() {}
// The board: the sensor detail rows, the frames with their layout, the data file.
void TfmMain::RebuildConfiguration() {}
// The board's suspensions in board order; none until the board has frames.
std::vector<TSilos*> TfmMain::BoardSuspensions() const { return {}; }
// The detail tree now; the board's frames are invalidated here too once they exist.
void TfmMain::RepaintBoard() { RepaintDetal(*vtDetal); }

// The submenu "Порт обмена" from the serial ports present.
void TfmMain::BuildPortMenu() {}

// The state report for the focused poll, built when the preview page is shown.
void TfmMain::RebuildStateReport() {}

// Actions whose work belongs to other parts of the window: they are in their menus with their
// enabling rules; those not connected here do nothing yet.
void TfmMain::ConnectLaterActions()
{
    ConnectGraph();
    aList.SetWork(acOverlay, [this] { ShowOverlaySettings(this); });
    aList.SetWork(acControllers, [this] { ShowControllers(this, Port.get()); });
    aList.SetWork(acAutoRun, [this] { ToggleAutoRun(*acAutoRun, QCoreApplication::applicationFilePath()); });
    aList.SetWork(acAbout, [this] { ShowAbout(this); });
    aList.SetWork(acMB, [] {
        if (fmMBDrive)
            fmMBDrive->ShowModal();
    });
    InstallDetail();
}
