#include "comm/PortParametrs.h"

namespace {

TtyParity ParityOf(uint8_t parity)
{
    switch (parity) {
    case 1: return TtyParity::Odd;
    case 2: return TtyParity::Even;
    case 3: return TtyParity::Mark;
    case 4: return TtyParity::Space;
    default: return TtyParity::None;
    }
}

TtyStopBits StopBitsOf(uint8_t stopBits)
{
    switch (stopBits) {
    case 1: return TtyStopBits::OneAndHalf;
    case 2: return TtyStopBits::Two;
    default: return TtyStopBits::One;
    }
}

TtyModemLine DtrOf(uint32_t flags)
{
    switch ((flags >> PortFlag::DtrControlShift) & 3) {
    case 0: return TtyModemLine::Low;
    case 2: return TtyModemLine::Handshake;
    default: return TtyModemLine::High;
    }
}

TtyModemLine RtsOf(uint32_t flags)
{
    switch ((flags >> PortFlag::RtsControlShift) & 3) {
    case 1: return TtyModemLine::High;
    case 2: return TtyModemLine::Handshake;
    default: return TtyModemLine::Low; // disabled, or toggled by us around each frame
    }
}

} // namespace

std::optional<TtySettings> ToTtySettings(const TPortParametrs& param)
{
    if (param.BaudRate == 0 || param.ByteSize < 5 || param.ByteSize > 8 || param.Parity > 4
        || param.StopBits > 2)
        return std::nullopt;
    TtySettings s;
    s.baudRate = param.BaudRate;
    s.dataBits = param.ByteSize;
    s.parity = ParityOf(param.Parity);
    s.checkParity = (param.Flags & PortFlag::ParityCheck) != 0;
    s.stopBits = StopBitsOf(param.StopBits);
    s.ctsFlow = (param.Flags & PortFlag::OutxCtsFlow) != 0;
    s.xonXoffOut = (param.Flags & PortFlag::OutX) != 0;
    s.xonXoffIn = (param.Flags & PortFlag::InX) != 0;
    // Settings written without flow characters mean the usual DC1 and DC3.
    s.xonChar = param.XonChar ? static_cast<uint8_t>(param.XonChar) : 0x11;
    s.xoffChar = param.XoffChar ? static_cast<uint8_t>(param.XoffChar) : 0x13;
    s.dtr = DtrOf(param.Flags);
    s.rts = RtsOf(param.Flags);
    return s;
}
