#include "core/Device/RobustMean.h"
#include "core/Device/SensorLimits.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct MeanCase {
    const char* name;
    std::vector<double> values;
    double expected;
};

} // namespace

TEST(RobustMean, TableOfPasses)
{
    const MeanCase cases[] = {
        {"none", {}, kNoData},
        {"one", {23.4}, 23.4},
        {"two are averaged plainly", {20.0, 25.0}, 22.5},
        {"settled at once", {20.0, 20.0, 20.0}, 20.0},
        {"small spread settles in the first round", {10.0, 10.02, 10.04, 10.06}, 10.03},
        // Round 1: m 21.7, s 2.86, 25.0 pulled to 21.7; the pulls go on for all five rounds and
        // the result is the fifth round's mean.
        {"stray reading pulled in over five rounds", {20.0, 20.1, 25.0}, 20.07037037037037},
        {"stray reading among many", {21.0, 21.0, 21.0, 21.0, 80.0}, 21.01888},
        {"negative values", {-5.0, -5.0, -5.0}, -5.0},
    };
    for (const MeanCase& c : cases)
        EXPECT_NEAR(RobustMean(c.values), c.expected, 1e-9) << c.name;
}

TEST(RobustMean, DoesNotChangeTheValues)
{
    const std::vector<double> values{20.0, 20.1, 25.0};
    RobustMean(values);
    EXPECT_EQ(values, (std::vector<double>{20.0, 20.1, 25.0}));
}
