// The program's main block: the application (owning the interaction), its icon, the
// measurement context, the report engine's run context (its texts Russian) on the installed
// printers, the windows that live for the whole run, and the event loop. The system's requests
// to end (a shutdown or logout, an interrupt) close the main window in order and end the
// program with 0.
#include "app/main/AppIcon.h"
#include "app/main/Application.h"
#include "app/main/FMain.h"
#include "app/main/LongLivedWindows.h"
#include "app/main/ProductInfo.h"
#include "app/main/RussianInterface.h"
#include "app/main/RussianReportTexts.h"
#include "app/reports/ReportWindows.h"
#include "core/Monitor.h"
#include "report/print/QtPrinter.h"
#include "report/runtime/RunContext.h"
#include "platform/qt/CloseSignals.h"

#include <memory>

int main(int argc, char* argv[])
{
    UseRussianSystemLocale();
    TApplication application(argc, argv);
    TApplication::setApplicationName(ProductName());
    TApplication::setWindowIcon(LoadApplicationIcon());

    TMonitor monitor;
    // Taken before the window is made: a request during the start-up waits in its pipe.
    TCloseSignals closeSignals;
    // The printers first: the window's report templates take their paper on them. The engine's
    // texts are Russian before any of its windows or export filters is made.
    TrpRunContext reportContext;
    InstallRussianReportTexts(reportContext);
    AttachInstalledPrinters(reportContext);
    auto mainWindow = std::make_unique<TfmMain>(monitor, reportContext, application.Interaction(),
                                                TApplication::arguments());
    InstallReportWindows(reportContext, *mainWindow);
    bool closedFromOutside = false;
    QObject::connect(&closeSignals, &TCloseSignals::CloseRequested, mainWindow.get(), [&] {
        if (mainWindow->CloseFromOutside()) {
            closedFromOutside = true;
            TApplication::exit(0);   // also out of any dialog open meanwhile
        }
    });
    CreateLongLivedWindows(*mainWindow);
    mainWindow->show();
    // A request served by the start-up's own dialogs has closed the window before the loop.
    const int result = closedFromOutside ? 0 : TApplication::exec();
    mainWindow.reset();   // destroyed after the event loop, while every facility still works
    return result;
}
