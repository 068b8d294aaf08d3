#pragma once
// The taskbar button of a window: the overlay is painted onto the icon the window has now (make
// it once the window's icon is set, e.g. in the window's creation), and its description becomes
// the window's accessibility description. GUI thread only.
#include "platform/qt/TaskbarList.h"

#include <memory>

class QWidget;

std::unique_ptr<TTaskbarList> MakeTaskbarList(QWidget& window);
