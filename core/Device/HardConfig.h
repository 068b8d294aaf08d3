#pragma once
// The configured equipment: local blocks, their suspensions and the suspensions' sensors. All
// blocks have the same number of suspensions and all suspensions the same number of sensors.
// The tree never changes shape: a new configuration replaces it as a whole, which is why its
// lookups need no lock (the tree is not replaced while a pass runs).
#include "core/Device/MB.h"

#include <memory>
#include <vector>

// The counts the configuration allows; the live poll's channel numbers rely on at most six
// sensors per suspension.
inline constexpr int kMinMBCount = 1;
inline constexpr int kMaxMBCount = 256;
inline constexpr int kMinSilosPerMB = 1;
inline constexpr int kMaxSilosPerMB = 12;
inline constexpr int kMinTITPerSilos = 1;
inline constexpr int kMaxTITPerSilos = 6;
// The counts of a configuration that the settings file does not give.
inline constexpr int kDefaultMBCount = 12;
inline constexpr int kDefaultSilosPerMB = 12;
inline constexpr int kDefaultTITPerSilos = 6;

class THardConfig {
public:
    // Blocks 0 .. MBCount − 1, each with its suspensions and sensors. Counts outside the allowed
    // ranges are brought into them, wherever they come from.
    THardConfig(int mbCount, int silosPerMB, int titPerSilos);
    THardConfig(const THardConfig&) = delete;
    THardConfig& operator=(const THardConfig&) = delete;

    int MBCount() const { return static_cast<int>(mbs_.size()); }
    int SilosPerMB() const;
    int TITPerSilos() const;
    // The block by index, nullptr outside 0 .. count − 1.
    TMB* GetMB(int index) const;
    // Index of the first block with that address, or -1.
    int IndexOfMB(int address) const;
    // The air-temperature sensor, nullptr when any step of its position does not exist.
    TTIT* GetAirTIT() const;

    // Position of the air-temperature sensor: block index, suspension index, sensor index;
    // -1 for none.
    int AirSilos = -1;
    int AirMB = -1;
    int AirTIT = -1;
    // A configured period kept in the settings file; nothing else reads it.
    int Period = 2400;

private:
    std::vector<std::unique_ptr<TMB>> mbs_;
};
