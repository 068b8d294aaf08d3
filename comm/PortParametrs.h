#pragma once
// The line settings and time-outs of a serial port, field for field as the settings file keeps
// them (the layout of the classic serial device-control block and comm time-out block).
#include "platform/posix/SerialTty.h"

#include <cstdint>
#include <optional>

// Bits of TPortParametrs::Flags.
namespace PortFlag {
constexpr uint32_t Binary = 1u << 0;
constexpr uint32_t ParityCheck = 1u << 1;
constexpr uint32_t OutxCtsFlow = 1u << 2;
constexpr uint32_t OutxDsrFlow = 1u << 3;
constexpr int DtrControlShift = 4; // 2 bits: 0 low, 1 high, 2 handshake
constexpr uint32_t DsrSensitivity = 1u << 6;
constexpr uint32_t TXContinueOnXoff = 1u << 7;
constexpr uint32_t OutX = 1u << 8; // output obeys XON/XOFF
constexpr uint32_t InX = 1u << 9; // input sends XON/XOFF
constexpr uint32_t ErrorChar = 1u << 10;
constexpr uint32_t Null = 1u << 11;
constexpr int RtsControlShift = 12; // 2 bits: 0 low, 1 high, 2 handshake, 3 toggle
constexpr uint32_t AbortOnError = 1u << 14;
} // namespace PortFlag

// Parity: 0 none, 1 odd, 2 even, 3 mark, 4 space. StopBits: 0 one, 1 one and a half, 2 two.
struct TPortParametrs {
    uint32_t DCBlength = 28;
    uint32_t BaudRate = 9600;
    uint32_t Flags = PortFlag::Binary | (1u << PortFlag::DtrControlShift);
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 8;
    uint8_t Parity = 0;
    uint8_t StopBits = 0;
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    uint16_t wReserved = 0;
    uint16_t wReserved1 = 0;

    bool operator==(const TPortParametrs&) const = default;
};

// Milliseconds. A read ends when ReadTimeoutMultiplier x octets + ReadTimeoutConstant have
// passed (unless both are 0), or ReadIntervalTimeOut has passed between two octets (unless 0).
// A write may take WriteTimeoutMultiplier x octets + WriteTimeoutConstant.
struct TPortTimeOut {
    uint32_t ReadIntervalTimeOut = 50;
    uint32_t ReadTimeoutMultiplier = 50;
    uint32_t ReadTimeoutConstant = 0;
    uint32_t WriteTimeoutMultiplier = 5;
    uint32_t WriteTimeoutConstant = 10;

    bool operator==(const TPortTimeOut&) const = default;
};

// The tty settings these parameters stand for; none when a field is out of its range (data bits
// 5 to 8, parity 0 to 4, stop bits 0 to 2, a rate above 0). XON/XOFF, error, end-of-file and event
// characters beyond flow control, the flow limits, DSR flow and DSR sensitivity have no tty
// counterpart and are kept only for the settings file.
std::optional<TtySettings> ToTtySettings(const TPortParametrs& param);
