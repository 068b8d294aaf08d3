#include "core/Exchange/CommLine.h"

#include "base/Format.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3Exchange.h"

#include <cerrno>
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

std::string PortUnavailableText(int port, int error, const std::string& reason, const std::string& poll)
{
    if (error == 0)
        return Format("Порт COM%d закрыт: %s не выполнен. Откройте порт в меню «Порт обмена»", port, poll.c_str());
    const char* check = nullptr;
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        check = "Проверьте, что преобразователь интерфейса подключён к компьютеру и в меню «Порт обмена» "
                "выбран его порт";
        break;
    case EACCES:
    case EPERM:
        check = "Проверьте, что пользователь программы входит в группу dialout";
        break;
    case EBUSY:
        check = "Порт занят другой программой: закройте её или выберите другой порт в меню «Порт обмена»";
        break;
    default:
        check = "Проверьте преобразователь интерфейса, его кабель и порт, выбранный в меню «Порт обмена»";
        break;
    }
    return Format("Порт COM%d не открывается (%s): %s не выполнен. %s", port, reason.c_str(), poll.c_str(), check);
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
