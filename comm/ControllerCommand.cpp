#include "comm/ControllerCommand.h"

#include "base/Format.h"
#include "base/HexText.h"
#include "comm/ExchangeLog.h"
#include "comm/FT3Exceptions.h"
#include "comm/FT3Exchange.h"

namespace controller_command {

DynByteArray Request(uint8_t control, uint8_t address, uint8_t function)
{
    return {control, address, kFT3OwnAddress, 0x00, 0x00, function};
}

void LogName(const TCommPort& port, const std::string& name)
{
    PostExchangeLog(port.LogSink(), name, kLogPlain);
}

void LogOk(const TCommPort& port)
{
    PostExchangeLog(port.LogSink(), "Ok", kLogPlain);
}

DynByteArray Exchange(TCommPort& port, DynByteArray request, uint32_t timeoutMs)
{
    // The length octet would wrap and the frame go out with a false length.
    if (request.size() > kFT3MaxUserData)
        throw EShareFT3Exception(kFT3OutOfBounds);
    MakePackageFT31(request, 0);
    PostExchangeLog(port.LogSink(), "<- " + BytesToHex(request), kLogSent);
    ExchangeFT3Timed(port, request, timeoutMs);
    PostExchangeLog(port.LogSink(), "-> " + BytesToHex(request), kLogSent);
    return request;
}

void RequireLength(const DynByteArray& reply, size_t octets, uint8_t address)
{
    if (reply.size() < octets)
        throw ENoReply(Format("Не совпала длина при ответе от контроллера с адресом %d", address));
}

uint16_t Word(const DynByteArray& octets, size_t at)
{
    return static_cast<uint16_t>(octets.at(at) | octets.at(at + 1) << 8);
}

} // namespace controller_command
