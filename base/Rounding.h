#pragma once
// Rounding as the program does it everywhere: to the nearest whole number, halves to the even
// neighbour.
#include <cmath>
#include <cstdint>

[[noreturn]] void ThrowRoundingNotANumber();
[[noreturn]] void ThrowBeyondIntegers(double value);

// Total over the doubles: from 2^52 on every double is whole already and stays as it is, as do
// the infinities. NaN has no whole neighbour and raises EInvalidOp.
inline double RoundToWhole(double value)
{
    if (std::isnan(value))
        ThrowRoundingNotANumber();
    constexpr double kAllWhole = 4503599627370496.0;   // 2^52
    if (!(std::fabs(value) < kAllWhole))
        return value;
    const double whole = std::floor(value);
    const double diff = value - whole;
    double rounded = whole;
    // Below 2^52 the whole part fits an integer, whose lowest bit tells an odd one.
    if (diff > 0.5 || (diff == 0.5 && (static_cast<int64_t>(whole) & 1) != 0))
        rounded = whole + 1;
    return rounded + 0.0;   // -0.5 rounds to 0, not to -0
}

// The same as a 64-bit integer; a value beyond that range raises EInvalidOp.
inline int64_t Round(double value)
{
    const double whole = RoundToWhole(value);
    if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0))
        ThrowBeyondIntegers(value);
    return static_cast<int64_t>(whole);
}
