#pragma once
// The main window as the program makes it, with a context of its own that outlives it.
#include "app/main/FMain.h"
#include "core/Monitor.h"

#include <QStringList>

class TOwnMonitor {
protected:
    TMonitor OwnMonitor;
};

// The context base comes first, so it is made before the window and goes after it.
class TMainWindowUnderTest : private TOwnMonitor, public TfmMain {
public:
    explicit TMainWindowUnderTest(const QStringList& arguments) : TfmMain(OwnMonitor, arguments) {}
};
