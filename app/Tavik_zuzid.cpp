// The program's main block: the application, its icon, the measurement context, the windows
// that live for the whole run, and the event loop.
#include "app/main/AppIcon.h"
#include "app/main/Application.h"
#include "app/main/FMain.h"
#include "app/main/LongLivedWindows.h"
#include "app/main/ProductInfo.h"
#include "app/main/RussianInterface.h"
#include "core/Monitor.h"

#include <memory>

int main(int argc, char* argv[])
{
    UseRussianSystemLocale();
    TApplication application(argc, argv);
    TApplication::setApplicationName(ProductName());
    TApplication::setWindowIcon(LoadApplicationIcon());

    TMonitor monitor;
    auto mainWindow = std::make_unique<TfmMain>(monitor, TApplication::arguments());
    CreateLongLivedWindows(*mainWindow);
    mainWindow->show();
    const int result = TApplication::exec();
    mainWindow.reset();   // destroyed after the event loop, while every facility still works
    return result;
}
