#pragma once
// The main window as the program makes it, with contexts of its own that outlive it; its
// dialogs are answered by a test's script.
#include "app/main/FMain.h"
#include "core/Monitor.h"
#include "report/runtime/RunContext.h"
#include "ScriptedModal.h"

#include <QStringList>

class TOwnMonitor {
protected:
    TMonitor OwnMonitor;
    TrpRunContext OwnReportContext;
};

// The context base comes first, so it is made before the window and goes after it.
class TMainWindowUnderTest : private TOwnMonitor, public TfmMain {
public:
    TMainWindowUnderTest(const QStringList& arguments, TScriptedModal& modal)
        : TfmMain(OwnMonitor, OwnReportContext, modal.Interaction, arguments)
    {
    }
};
