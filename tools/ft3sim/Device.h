#pragma once
// One simulated controller on the line. The simulator hands every valid request to the devices
// and the first that accepts its destination address answers it.
//
// To add a controller: derive from Device, accept its own address (and 254, the address any
// controller answers), switch on Request::Function() and return ReplyHeader(request,
// ownAddress) followed by the function's data; override ReplyDelay for requests that take it a
// while; keep its state behind its own mutex, since tests set it while the simulator serves;
// then hand it to Simulator::AddDevice. DataCollector.h is such a controller.
#include "comm/FT3Frame.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>

namespace ft3sim {

constexpr uint8_t kBroadcastAddress = 254;

// A request's user data in the new layout: control, destination, source, error, state,
// function, data. The simulator hands over only requests of at least six octets.
struct Request {
    DynByteArray userData;

    uint8_t Control() const { return userData[0]; }
    uint8_t Destination() const { return userData[1]; }
    uint8_t Source() const { return userData[2]; }
    uint8_t Function() const { return userData[5]; }
    std::span<const uint8_t> Data() const { return std::span(userData).subspan(6); }
    // The channel of a data request (function 20: 0x10, channel low, channel high, format).
    std::optional<uint16_t> Channel() const;
};

// Functions of the requests the simulated line knows.
constexpr uint8_t kFunctionSwitch = 0x50;   // commutator: switch a local block or the relay
constexpr uint8_t kFunctionData = 0x14;     // local block: sensor data by channel

// Error codes a controller reports for requests it cannot serve.
constexpr uint8_t kErrorUnknownObject = 55;  // function not known to the station
constexpr uint8_t kErrorBadFormat = 56;      // parameters of the request malformed
constexpr uint8_t kErrorNoChannel = 71;      // channel not in the station's configuration

class Device {
public:
    virtual ~Device() = default;
    // True when this device answers requests sent to the address.
    virtual bool Accepts(uint8_t address) const = 0;
    // The reply's user data (new layout), or nothing to stay silent.
    virtual std::optional<DynByteArray> Answer(const Request& request) = 0;
    // How long the device works on the request it has just answered before the reply goes out
    // (asked right after Answer, on the same thread).
    virtual std::chrono::milliseconds ReplyDelay(const Request&) const { return {}; }
};

// The start of a reply: a user-data response from ownAddress to the requester, no error, no
// state flags, and the request's function with bit 7 set (the report is to be checked).
DynByteArray ReplyHeader(const Request& request, uint8_t ownAddress, uint8_t control = 0x88);

// A reply reporting an error code for the request.
DynByteArray ErrorReply(const Request& request, uint8_t ownAddress, uint8_t errorCode);

} // namespace ft3sim
