#include "app/main/Application.h"

#include "app/main/UnhandledException.h"

#include <clocale>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Qt hands the user's locale to the C library; numbers in files, frames and logs must not
    // follow it.
    std::setlocale(LC_NUMERIC, "C");
}

// Events of objects outside every window (timers, sockets, the line's runner) reach the
// program's own sink too.
bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        FInteraction.ReportUnhandled(ExceptionMessage(std::current_exception()));
        return false;
    }
}
