// The controller service commands: identifier, address, clock, parameters, clearing the archive.
#include "comm/RControl.h"

#include "base/Format.h"
#include "base/FormatDateTime.h"
#include "comm/BusyCursor.h"
#include "comm/ControllerCommand.h"
#include "comm/ExchangeLog.h"
#include "comm/FT3Time.h"
#include "comm/PortException.h"

#include <iterator>

using namespace controller_command;

namespace {

// Control octets of the requests (bit 7, the new user-data layout, is added by the builder).
constexpr uint8_t kControlSend = 0x53;
constexpr uint8_t kControlRequest = 0x5B;

// The fixed octets that come before a parameter block in both parameter requests.
constexpr uint8_t kParamHead[] = {0x00, 0x01};

// Offsets in the replies.
constexpr size_t kReplySource = 2;
constexpr size_t kIdentifierAt = 8;
constexpr size_t kFirmwareDateAt = 11;
constexpr size_t kClockAt = 6;
constexpr size_t kWrittenParamAt = 9;
constexpr size_t kReadParamAt = 6;
constexpr size_t kReadParamBlockAt = 8;

// A controller that refuses a parameter answers with the link function 1 in its control octet.
void CheckAccepted(const DynByteArray& reply, uint8_t address)
{
    RequireLength(reply, 1, address);
    if ((reply[0] & 0x0F) == 1)
        throw EPortException("Данные не приняты");
}

DynByteArray ParamRequest(uint8_t address, uint8_t function, const DynByteArray& block)
{
    DynByteArray request = Request(kControlRequest, address, function);
    request.insert(request.end(), std::begin(kParamHead), std::end(kParamHead));
    request.insert(request.end(), block.begin(), block.end());
    return request;
}

} // namespace

uint8_t ReadControllerID(TCommPort& port)
{
    LogName(port, "Считать идентификатор контроллера");
    const DynByteArray reply = Exchange(port, Request(kControlSend, kAnyController, kReadId));
    RequireLength(reply, kFirmwareDateAt + 5, kAnyController);
    const uint8_t address = reply[kReplySource];
    const uint32_t identifier = reply[kIdentifierAt] | reply[kIdentifierAt + 1] << 8
                                | static_cast<uint32_t>(reply[kIdentifierAt + 2]) << 16;
    std::string text;
    DecodeIDDevFT3(identifier, text);
    PostExchangeLog(port.LogSink(), "Контроллер: " + text, kLogPlain);
    const TDateTime firmwareDate = DecodeTime_2a(reply, kFirmwareDateAt, false);
    PostExchangeLog(port.LogSink(), FormatDateTime("Дата резидента : ddddd t", firmwareDate), kLogPlain);
    LogOk(port);
    return address;
}

void SetControllerAddress(TCommPort& port, uint8_t& address, uint8_t newAddress)
{
    LogName(port, "Установить новый адрес");
    DynByteArray request = Request(kControlSend, address, kSetAddress);
    request.push_back(newAddress);
    const DynByteArray reply = Exchange(port, std::move(request));
    RequireLength(reply, kReplySource + 1, address);
    address = reply[kReplySource];
    LogOk(port);
}

void SetControllerTime(TCommPort& port, uint8_t address, TDateTime value)
{
    LogName(port, "Установить время контроллера");
    DynByteArray request = Request(kControlRequest, address, kSetTime);
    const auto time = EncodeTime_2a(value);
    request.insert(request.end(), time.begin(), time.end());
    Exchange(port, std::move(request));
    LogOk(port);
}

TDateTime GetControllerTime(TCommPort& port, uint8_t address)
{
    LogName(port, "Запрос времени контроллера");
    const DynByteArray reply = Exchange(port, Request(kControlRequest, address, kGetTime));
    RequireLength(reply, kClockAt + 7, address);
    TDateTime value = 0;
    try {
        value = DecodeTime_2a(reply, kClockAt, true);
    } catch (const EConvertError&) {
        // A clock that has lost its time reads as no time rather than failing the request.
    }
    LogOk(port);
    return value;
}

void WriteControllerParam(TCommPort& port, uint8_t address, DynByteArray& block)
{
    if (block.size() < 3)
        throw Exception("Нет дополнительной информации для формирования команды \"Установить параметр\"");
    const uint16_t number = Word(block, 1);
    LogName(port, Format("Установить парвметр №%d", number));
    const DynByteArray reply = Exchange(port, ParamRequest(address, kWriteParam, block));
    CheckAccepted(reply, address);
    if (reply.size() >= kWrittenParamAt + 2 && Word(reply, kWrittenParamAt) != number)
        throw EPortException(Format("При выполнении команды \"Записать параметр %d\", принят код параметра %d",
                                    number, Word(reply, kWrittenParamAt)));
    LogOk(port);
}

void ReadControllerParam(TCommPort& port, uint8_t address, DynByteArray& block)
{
    if (block.size() < 2)
        throw Exception("Нет дополнительной информации для формирования команды \"считать параметр\"");
    const uint16_t number = Word(block, 0);
    LogName(port, Format("Считать параметр №%d", number));
    const DynByteArray reply = Exchange(port, ParamRequest(address, kReadParam, block));
    CheckAccepted(reply, address);
    // A reply without its parameter number and at least one octet after it carries no value.
    RequireLength(reply, kReadParamBlockAt + 1, address);
    if (Word(reply, kReadParamAt) != number)
        throw EPortException(Format("При выполнении команды \"Считать параметр %d\", принят код параметра %d",
                                    number, Word(reply, kReadParamAt)));
    block.assign(reply.begin() + kReadParamBlockAt, reply.end());
    LogOk(port);
}

uint32_t ClearArchiveTimeoutMs(uint16_t seconds)
{
    return uint32_t{seconds} * 1000;
}

void ClearMeasureArchive(TCommPort& port, uint8_t address, uint16_t seconds)
{
    LogName(port, "Очистка архива измерений");
    ScopedBusyCursor cursor(port.BusyCursor());
    Exchange(port, Request(kControlSend, address, kClearArchive), ClearArchiveTimeoutMs(seconds));
    LogOk(port);
}
