#pragma once
// One history point of a sensor: when it was measured and the temperature.
#include "base/DateTime.h"

#include <cstdint>

struct TTITPoint {
    int64_t UnixTime = 0;   // seconds since 1970-01-01 00:00 (of the same wall clock as Time)
    TDateTime Time = 0;     // days since 1899-12-30, the time of day as the fraction
    double Value = 0;       // degrees

    // Stores the time and the Unix time computed from it.
    void SetTime(TDateTime time);
    // The point's calendar date as a whole count of days (the poll history groups by it).
    int64_t Days() const;
};
