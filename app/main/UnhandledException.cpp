#include "app/main/UnhandledException.h"

#include <mutex>

namespace {

constexpr const char* kUnknownError = "Неизвестная ошибка";

std::mutex sinkMutex;
TExceptionSink& Sink()
{
    static TExceptionSink sink;
    return sink;
}

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

void ReportUnhandledException(std::exception_ptr error)
{
    const std::string message = ExceptionMessage(error);
    TExceptionSink sink;
    {
        std::lock_guard lock(sinkMutex);
        sink = Sink();
    }
    try {
        if (sink)
            sink(message);
    } catch (...) {
        // The log itself failed; there is nowhere left to tell.
    }
}

TExceptionSink SetUnhandledExceptionSink(TExceptionSink sink)
{
    std::lock_guard lock(sinkMutex);
    return std::exchange(Sink(), std::move(sink));
}
