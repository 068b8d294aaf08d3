#include "core/Exchange/CommLine.h"

#include "comm/FT3Exchange.h"

void TCommLine::Exchange(DynByteArray& buffer, uint16_t timeoutMs)
{
    ExchangeFT3Timed(Port, buffer, timeoutMs);
}
