// The exchange functions of the C interface and the port they run on.
#include "ft3lib/Bridge.h"

#include "base/Format.h"
#include "comm/CommPort.h"
#include "comm/FT3Exchange.h"

#include <memory>

namespace ft3lib {

struct FT3Port {
    TCommPort port;
};

namespace {

void Configure(TCommPort& port, const FT3PortSettings& settings)
{
    TPortParametrs param;
    param.BaudRate = settings.baudRate;
    param.ByteSize = settings.dataBits;
    param.Parity = settings.parity;
    param.StopBits = settings.stopBits;
    port.SetParam(param);
    port.SetTimeOut({settings.readIntervalTimeout, settings.readTimeoutMultiplier,
                     settings.readTimeoutConstant, settings.writeTimeoutMultiplier,
                     settings.writeTimeoutConstant});
    port.SetIs485(settings.rs485 != 0);
    port.SetEcho(settings.echo != 0);
    // As the program's own port: stale input never passes for a reply, and there is no cursor.
    port.SetRsvClear(true);
    port.SetChangeCursor(false);
}

// Runs an exchange on a copy of the caller's buffer and hands the buffer back.
template <class Exchange>
int OnPort(FT3Port* port, uint8_t* buffer, size_t* length, size_t capacity, Exchange&& exchange)
{
    if (const int status = RequirePointers({port}); status != FT3_OK)
        return status;
    return OnCopy(buffer, length, capacity,
                  [&](DynByteArray& frame) { exchange(port->port, frame); });
}

} // namespace

extern "C" int FT3PortOpen(uint8_t number, const FT3PortSettings* settings, FT3Port** port)
{
    if (const int status = RequirePointers({port}); status != FT3_OK)
        return status;
    if (number == 0)
        return Fail(FT3_E_ARGUMENT, "Номер порта должен быть от 1 до 255");
    return Guarded([&]() -> int {
        static const FT3PortSettings defaults = FT3_PORT_SETTINGS_DEFAULT;
        auto opened = std::make_unique<FT3Port>();
        Configure(opened->port, settings ? *settings : defaults);
        opened->port.SetNumber(number);
        opened->port.SetEnable(true);
        if (!opened->port.Enable())
            return Fail(FT3_E_PORT, Format("COM%d: %s", number, opened->port.Status().c_str()));
        *port = opened.release();
        return FT3_OK;
    });
}

extern "C" void FT3PortClose(FT3Port* port)
{
    delete port;
}

extern "C" int ExchangeFT3(FT3Port* port, uint8_t* buffer, size_t* length, size_t capacity)
{
    return OnPort(port, buffer, length, capacity,
                  [](TCommPort& line, DynByteArray& frame) { ::ExchangeFT3(line, frame); });
}

extern "C" int FindMessageFT3(FT3Port* port, uint8_t address, uint8_t* buffer, size_t* length,
                              size_t capacity, uint8_t maxSkip)
{
    return OnPort(port, buffer, length, capacity, [=](TCommPort& line, DynByteArray& frame) {
        ::FindMessageFT3(line, address, frame, maxSkip);
    });
}

extern "C" int ExchangeFT3Ex(FT3Port* port, uint8_t* buffer, size_t* length, size_t capacity,
                             uint16_t timeoutMs, FT3Clock clock, intptr_t userValue,
                             int64_t* roundTrip)
{
    int64_t measured = -1;
    const auto exchange = [&](TCommPort& line, DynByteArray& frame) {
        measured = ::ExchangeFT3Ex(line, frame, timeoutMs, clock, userValue);
    };
    const int status = OnPort(port, buffer, length, capacity, exchange);
    if (roundTrip)
        *roundTrip = status == FT3_OK ? measured : -1;
    return status;
}

} // namespace ft3lib
