#include "app/main/UnhandledException.h"

#include "app/main/Interaction.h"

#include <QtGlobal>

namespace {

constexpr const char* kUnknownError = "Неизвестная ошибка";

} // namespace

std::string ExceptionMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return kUnknownError;
    }
}

void ReportUnhandledException(const QObject* context, std::exception_ptr error)
{
    const std::string message = ExceptionMessage(error);
    if (const TInteraction* interaction = InteractionOf(context))
        interaction->ReportUnhandled(message);
    else
        qWarning("%s", message.c_str());
}
