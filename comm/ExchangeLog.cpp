#include "comm/ExchangeLog.h"

#include <mutex>

namespace {

// One lock for the whole stream: a line is handed to the sink while it is held, so lines from
// different threads reach the sink in one order. Recursive so that a sink that logs does not
// deadlock its own thread.
std::recursive_mutex& StreamLock()
{
    static std::recursive_mutex lock;
    return lock;
}

ExchangeLogSink& CurrentSink()
{
    static ExchangeLogSink sink;
    return sink;
}

bool IsContinuationOctet(unsigned char octet)
{
    return (octet & 0xC0) == 0x80;
}

} // namespace

std::string CutUtf8(std::string_view utf8, size_t maxChars)
{
    size_t chars = 0;
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (IsContinuationOctet(static_cast<unsigned char>(utf8[i])))
            continue;
        if (chars == maxChars)
            return std::string(utf8.substr(0, i));
        ++chars;
    }
    return std::string(utf8);
}

void PostExchangeLog(std::string_view utf8, TColor colour)
{
    const std::string text = CutUtf8(utf8, kExchangeLogMaxChars);
    std::lock_guard guard(StreamLock());
    if (CurrentSink())
        CurrentSink()(text, colour);
}

ExchangeLogSink SetExchangeLogSink(ExchangeLogSink sink)
{
    std::lock_guard guard(StreamLock());
    std::swap(CurrentSink(), sink);
    return sink;
}
