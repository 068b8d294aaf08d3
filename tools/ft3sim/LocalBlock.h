#pragma once
// The local block at address 1: whichever block the commutator has switched on answers the
// sensor data requests (function 20) with four raw 16-bit words per channel. A channel is
// suspension number x 6 + sensor number. With no block on, address 1 is silent.
//
// Reply data: 0x10, channel low, channel high, format 0x02, then the four words, each low
// octet first (the layout the data-reply helpers read: channel at U[7..8], data from U[10]).
#include "tools/ft3sim/Commutator.h"

#include <array>
#include <map>
#include <mutex>
#include <optional>

namespace ft3sim {

using RawWords = std::array<uint16_t, 4>;

// Raw words that the built-in calculation procedure (Ri = 51) turns into the resistance of a
// sensor with R0 = 50 ohm and 4.6729 degrees per ohm at the given temperature.
RawWords WordsForTemperature(double celsius);

class LocalBlock : public Device {
public:
    static constexpr uint8_t kAddress = 1;

    explicit LocalBlock(const Commutator& commutator) : commutator_(commutator) {}

    bool Accepts(uint8_t address) const override { return address == kAddress; }
    std::optional<DynByteArray> Answer(const Request& request) override;

    void SetReadings(int block, uint16_t channel, const RawWords& words);
    // Words for every channel without its own; without them such a channel reports error 71.
    void SetDefaultReadings(std::optional<RawWords> words);
    void ClearReadings();
    // How many data requests each block has answered.
    int RequestsServed(int block) const;

private:
    const Commutator& commutator_;
    mutable std::mutex mutex_;
    std::map<std::pair<int, uint16_t>, RawWords> readings_;
    std::optional<RawWords> defaultReadings_;
    std::map<int, int> served_;
};

} // namespace ft3sim
