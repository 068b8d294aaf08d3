#pragma once
// Faults the simulated line puts into its replies, for tests of the program's error handling.
#include "comm/FT3Frame.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ft3sim {

struct ReplyFaults {
    bool silent = false;                         // the device acts but sends nothing back
    std::chrono::milliseconds delay{0};          // wait before the reply
    DynByteArray strayPrefix{};                    // octets sent before the leader
    std::optional<uint8_t> errorCode{};            // reported in U[3]
    std::optional<uint8_t> stateFlags{};           // reported in U[4]
    bool cannotDeliver = false;                  // control octet's function 9
    bool oldFormat = false;                      // the old user-data layout, bit 7 clear
    std::optional<uint8_t> lengthOctet{};          // a false L (the first block's CRC made to fit)
    bool brokenCrc = false;                      // the low octet of the first block's CRC inverted
    std::optional<size_t> truncateTo{};            // only this many octets of the frame (prefix aside)
    int baud = 0;                                // pace the octets at this rate, 10 bits each
    std::optional<size_t> pauseAfter{};            // split the reply: pause after this many octets
    std::chrono::milliseconds pause{0};          //   for this long
};

// Which requests a fault applies to: by destination address and, for data requests, by
// channel; `times` replies (negative: every one).
struct FaultRule {
    std::optional<uint8_t> address{};
    std::optional<uint16_t> channel{};
    int times = -1;
    ReplyFaults faults;
};

// Stray octets that never contain the leader's first octet.
DynByteArray StrayOctets(size_t count);

} // namespace ft3sim
