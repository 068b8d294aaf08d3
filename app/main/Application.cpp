#include "app/main/Application.h"

#include "app/main/UnhandledException.h"

#include <clocale>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Qt hands the user's locale to the C library; numbers in files, frames and logs must not
    // follow it.
    std::setlocale(LC_NUMERIC, "C");
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
