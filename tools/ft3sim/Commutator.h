#pragma once
// The line commutator at address 0: switches one local block on at a time and drives the alarm
// relay (function 80: target, 1 on / 0 off, attempt number; target 0xE0 is the relay).
#include "tools/ft3sim/Device.h"

#include <mutex>
#include <vector>

namespace ft3sim {

class Commutator : public Device {
public:
    static constexpr uint8_t kAddress = 0;
    static constexpr uint8_t kRelayModule = 0xE0;

    struct Switch {
        uint8_t target;    // block address, or kRelayModule
        bool on;
        uint8_t attempt;
        bool operator==(const Switch&) const = default;
    };

    bool Accepts(uint8_t address) const override { return address == kAddress; }
    std::optional<DynByteArray> Answer(const Request& request) override;

    // The block switched on, or -1.
    int BlockOn() const;
    bool RelayOn() const;
    // Every switch command obeyed, in order.
    std::vector<Switch> Switches() const;
    void Reset();

private:
    mutable std::mutex mutex_;
    int blockOn_ = -1;
    bool relayOn_ = false;
    std::vector<Switch> switches_;
};

} // namespace ft3sim
