#pragma once
// The application-wide exception handler: an exception that leaves a piece of main-thread work
// is never a crash and never a message box, but one red line in the program's log.
#include <exception>
#include <functional>
#include <string>
#include <utility>

// The finished message of an exception (an exception of unknown kind gets a fixed text).
std::string ExceptionMessage(std::exception_ptr error);

// Sends the message of an exception that nobody handled to the log in red.
void ReportUnhandledException(std::exception_ptr error);

// Where unhandled exceptions' messages go: the main window puts the program's log (in red) in
// place while it exists; without a sink they are dropped. Returns the previous sink (tests put
// their own in place and restore it).
using TExceptionSink = std::function<void(const std::string& message)>;
TExceptionSink SetUnhandledExceptionSink(TExceptionSink sink);

// Runs work; an exception leaving it is reported as unhandled. Returns false when one was.
template <class Work>
bool RunGuarded(Work&& work) noexcept
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (...) {
        ReportUnhandledException(std::current_exception());
        return false;
    }
}
