#pragma once
// The program's taskbar button: the functions the poll passes call (busy or measured progress
// while a pass runs, the overlay of the worst notification level when it ends) and the seam by
// which the main window hands over its window. The functions live in the platform layer so the
// measurement core can call them without knowing the application; see there for the rules.
#include "platform/qt/TaskbarList.h"

class QWidget;

// Makes window the owner of the program's taskbar button: the overlay is painted onto the icon
// the window has now (call it once the window's icon is set, e.g. in the window's creation),
// and its description becomes the window's accessibility description. GUI thread only.
// When the window is destroyed the button is let go again by itself.
void AttachTaskbarWindow(QWidget* window);
