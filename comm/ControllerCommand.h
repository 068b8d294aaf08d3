#pragma once
// The steps every controller service command shares: frame the request, log it, exchange it,
// log the reply, and check that the reply holds what the command reads from it.
#include "comm/CommPort.h"
#include "comm/FT3Frame.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace controller_command {

// Time-out of a service command's reply, in milliseconds.
constexpr uint32_t kReplyTimeoutMs = 1000;

// Functions of the data-collecting controller's service requests.
enum Function : uint8_t {
    kReadId = 1,
    kSetAddress = 3,
    kClearArchive = 4,
    kSetTime = 5,
    kWriteParam = 7,
    kReadArchive = 12,
    kReadParam = 37,
    kGetTime = 59,
};

// The fixed start of a request's user data: control, destination, the program's own address,
// no error, no state, the function.
DynByteArray Request(uint8_t control, uint8_t address, uint8_t function);

// Posts the command's name in black to the port's log.
void LogName(const TCommPort& port, const std::string& name);
// Posts "Ok" in black to the port's log.
void LogOk(const TCommPort& port);

// Frames the request, posts "<- " and the frame, exchanges it and posts "-> " and the reply's
// user data; returns that user data. User data too long for one frame raises
// EShareFT3Exception instead of being cut.
DynByteArray Exchange(TCommPort& port, DynByteArray request, uint32_t timeoutMs = kReplyTimeoutMs);

// Raises ENoReply "Не совпала длина ..." when the reply holds fewer than `octets` octets.
void RequireLength(const DynByteArray& reply, size_t octets, uint8_t address);

// The 16-bit number at `at`, low octet first.
uint16_t Word(const DynByteArray& octets, size_t at);

} // namespace controller_command
