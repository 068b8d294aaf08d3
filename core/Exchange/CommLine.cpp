#include "core/Exchange/CommLine.h"

#include "base/Format.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3Exchange.h"

#include <string_view>

namespace {

constexpr std::string_view kAddressPhrase = "контроллера с адресом";
constexpr std::string_view kTailPhrase = "для контроллера с адресом";

// The log shows a failure only up to the address tail the exchange appends; a failure of the
// send or of the reply's body names no controller before it.
bool NamesController(std::string_view text)
{
    return text.substr(0, text.find(kTailPhrase)).find(kAddressPhrase) != std::string_view::npos;
}

} // namespace

std::string ExchangeFailureText(const std::exception& failure, uint8_t address)
{
    const bool exchange = dynamic_cast<const ENoReply*>(&failure) || dynamic_cast<const EPortException*>(&failure);
    if (!exchange || NamesController(failure.what()))
        return failure.what();
    return Format("Нет ответа от контроллера с адресом %d - %s", address, failure.what());
}

void TCommLine::Exchange(DynByteArray& buffer, uint16_t timeoutMs)
{
    const uint8_t address = buffer.size() > 4 ? buffer[4] : 0;
    try {
        ExchangeFT3Timed(Port, buffer, timeoutMs);
    } catch (const ENoReply& e) {
        if (NamesController(e.what()))
            throw;
        throw ENoReply(ExchangeFailureText(e, address));
    } catch (const EPortException& e) {
        if (NamesController(e.what()))
            throw;
        throw EPortException(ExchangeFailureText(e, address));
    }
}
