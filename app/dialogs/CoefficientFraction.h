#pragma once
// The conversion coefficient of the data-collecting controller is kept as a fraction of two
// 16-bit numbers; the operator types the decimal value and the program finds the fraction.
#include <cstdint>

struct TFraction {
    int32_t Numerator = 1;
    int32_t Denominator = 1;
    bool operator==(const TFraction&) const = default;
};

inline constexpr int32_t kFractionLimit = 65534;
inline constexpr double kFractionTolerance = 9e-5;

// Looks at the pairs (i, j), i = 1 .. limit and for each i j = 1 .. limit, and returns the first
// with |k - i/j| <= tolerance; when there is none, the pair with the smallest difference (the
// first met among equals). The answer is that of visiting every pair in this order, found
// without doing so: for one i the difference falls and then rises with j, so only the j nearest
// i/k need looking at.
TFraction FindCoefficientFraction(double k, int32_t limit = kFractionLimit,
                                  double tolerance = kFractionTolerance);
