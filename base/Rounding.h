#pragma once
// Rounding as the program does it everywhere: to the nearest integer, halves to the even neighbour.
#include <cmath>
#include <cstdint>

inline int64_t Round(double value)
{
    const double whole = std::floor(value);
    const double diff = value - whole;
    if (diff > 0.5)
        return static_cast<int64_t>(whole) + 1;
    if (diff < 0.5)
        return static_cast<int64_t>(whole);
    const auto w = static_cast<int64_t>(whole);
    return (w % 2 == 0) ? w : w + 1;
}
