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

std::string Named(const Exception& e, uint8_t address)
{
    return Format("Нет ответа от контроллера с адресом %d - %s", address, e.what());
}

} // namespace

void TCommLine::Exchange(DynByteArray& buffer, uint16_t timeoutMs)
{
    const uint8_t address = buffer.size() > 4 ? buffer[4] : 0;
    try {
        ExchangeFT3Timed(Port, buffer, timeoutMs);
    } catch (const ENoReply& e) {
        if (NamesController(e.what()))
            throw;
        throw ENoReply(Named(e, address));
    } catch (const EPortException& e) {
        if (NamesController(e.what()))
            throw;
        throw EPortException(Named(e, address));
    }
}
