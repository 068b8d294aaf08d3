#pragma once
// A year of hourly polls: the history the history, detail and chart benchmarks run on.
#include "core/Device/Device.h"

#include <vector>

inline constexpr int kHoursPerYear = 365 * 24;
inline const TDateTime kYearStart = EncodeDate(2023, 1, 1);

// One sensor's hourly points of the year, valued 10 to 16 and shifted by the sensor's number.
inline std::vector<TTITPoint> YearOfPolls(int sensor)
{
    std::vector<TTITPoint> points(kHoursPerYear);
    for (int h = 0; h < kHoursPerYear; ++h) {
        points[static_cast<size_t>(h)].SetTime(kYearStart + h / 24.0);
        points[static_cast<size_t>(h)].Value = 10.0 + (h + sensor) % 7;
    }
    return points;
}
