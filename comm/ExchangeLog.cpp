#include "comm/ExchangeLog.h"

namespace {

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

void PostExchangeLog(const ExchangeLogSink& sink, std::string_view utf8, TColor colour)
{
    if (sink)
        sink(CutUtf8(utf8, kExchangeLogMaxChars), colour);
}
