#pragma once
// The program's exception handler: an exception that leaves a piece of main-thread work is
// never a crash and never a message box, but one red line in the program's log, reached through
// the interaction serving the object the work belongs to (Interaction.h).
#include <exception>
#include <string>
#include <utility>

class QObject;

// The finished message of an exception (an exception of unknown kind gets a fixed text).
std::string ExceptionMessage(std::exception_ptr error);

// Sends the message of an exception that nobody handled to the sink of context's interaction.
void ReportUnhandledException(const QObject* context, std::exception_ptr error);

// Runs work that belongs to context; an exception leaving it is reported as unhandled. Returns
// false when one was.
template <class Work>
bool RunGuarded(const QObject* context, Work&& work) noexcept
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (...) {
        ReportUnhandledException(context, std::current_exception());
        return false;
    }
}
