// The conversion coefficient's fraction: the quick search must give exactly what visiting every
// pair in order gives, the first close pair or else the closest, the first among equals.
#include "app/dialogs/CoefficientFraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

// Every pair in the order the operator's coefficient is looked for; stops at the first close one.
TFraction PlainSearch(double k, int32_t limit, double tolerance = kFractionTolerance)
{
    TFraction best;
    double bestDifference = std::numeric_limits<double>::infinity();
    for (int32_t i = 1; i <= limit; ++i)
        for (int32_t j = 1; j <= limit; ++j) {
            const double difference = std::fabs(k - double(i) / double(j));
            if (difference <= tolerance)
                return {i, j};
            if (difference < bestDifference) {
                bestDifference = difference;
                best = {i, j};
            }
        }
    return best;
}

::testing::AssertionResult SameAsPlain(double k, int32_t limit, double tolerance = kFractionTolerance)
{
    const TFraction quick = FindCoefficientFraction(k, limit, tolerance);
    const TFraction plain = PlainSearch(k, limit, tolerance);
    if (quick == plain)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "k=" << k << " limit=" << limit << ": " << quick.Numerator << "/"
                                         << quick.Denominator << " instead of " << plain.Numerator << "/"
                                         << plain.Denominator;
}

} // namespace

TEST(CoefficientFractionTest, FirstCloseFractionOverTheWholeRange)
{
    // Values found early, so that the plain search over the full range stays quick.
    for (double k : {4.6729, 1.0, 2.3333, 0.5, 7.0 / 3.0, 33.3333, 0.1234, 1.4142, 3.1416, 250.5, 0.0})
        EXPECT_TRUE(SameAsPlain(k, kFractionLimit)) << k;
    EXPECT_EQ(FindCoefficientFraction(0.5), (TFraction{1, 2}));
    EXPECT_EQ(FindCoefficientFraction(2.3333), (TFraction{7, 3}));
    // Nothing is closer to nothing than the smallest fraction that is close enough.
    EXPECT_EQ(FindCoefficientFraction(0.0), (TFraction{1, 11112}));
}

TEST(CoefficientFractionTest, WithoutACloseFractionTheClosestIsTaken)
{
    // Beyond the largest fraction, below zero, and between fractions of a small range.
    EXPECT_EQ(FindCoefficientFraction(1e6), (TFraction{kFractionLimit, 1}));
    EXPECT_EQ(FindCoefficientFraction(2147483647.0), (TFraction{kFractionLimit, 1}));
    EXPECT_EQ(FindCoefficientFraction(-3.0), (TFraction{1, kFractionLimit}));
    for (double k : {-3.0, -1e-5, 1e6, 40.123456, 0.987654, 5000.5001, 1e-9, -2147483647.0})
        for (int32_t limit : {1, 2, 7, 60, 150})
            EXPECT_TRUE(SameAsPlain(k, limit));
}

TEST(CoefficientFractionTest, RandomValuesAndTolerancesAgreeWithThePlainSearch)
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> scale(-3.0, 4.0);
    std::uniform_int_distribution<int32_t> limits(1, 120);
    std::uniform_int_distribution<int> tolerances(0, 3);
    const double toleranceChoices[] = {kFractionTolerance, 0.0, 1e-3, 0.05};
    for (int n = 0; n < 400; ++n) {
        const double sign = n % 7 == 0 ? -1.0 : 1.0;
        const double k = sign * std::pow(10.0, scale(random));
        EXPECT_TRUE(SameAsPlain(k, limits(random), toleranceChoices[tolerances(random)]));
    }
    // Exact fractions and their neighbours, where equal differences are most likely.
    for (int32_t i = 1; i <= 30; ++i)
        for (int32_t j = 1; j <= 30; ++j)
            for (double nudge : {0.0, 1e-12, -1e-12})
                EXPECT_TRUE(SameAsPlain(double(i) / j + nudge, 40, 0.0));
}
