#pragma once
// The taskbar functions of the poll passes: busy or measured progress while a pass runs, and
// an overlay for the worst notification level when it ends (0 green "OK", 1 yellow "Warning",
// 2 red "Error"; any other level, 3 by custom, removes it).
//
// They may be called from any thread. Each call is queued and carried out on the GUI thread in
// the order the calls were made, whichever threads made them; a call on the GUI thread first
// carries out every call queued before it. Until a window is attached (before the main window
// exists, in tests, in a program without windows) the calls do nothing, and a desktop that
// shows none of it is no error.
#include "platform/qt/TaskbarButton.h"

#include <QIcon>
#include <QString>

#include <cstdint>
#include <memory>

void TaskbarProgressBusy();
void TaskbarProgressOff();
void TaskbarProgressValue(int32_t done, int32_t total);
void SetOverlayState(uint8_t level);

// The mark and the description of an overlay level (0, 1 or 2); a null icon and an empty text
// for any other level. The notification dialog shows the same marks.
QIcon OverlayStateIcon(int level);
QString OverlayStateText(int level);

// The window that owns the program's taskbar button hands its button over here (GUI thread
// only); calls from then on act on it. Attaching again replaces the button.
void AttachTaskbarButton(std::unique_ptr<TaskbarButton> button);
// Forgets the button and the overlay shown (the window is going away); calls do nothing again.
void DetachTaskbarButton();
