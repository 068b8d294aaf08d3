#include "core/Device/RobustMean.h"

#include "core/Device/SensorLimits.h"

#include <cmath>
#include <vector>

namespace {

constexpr int kMaxRounds = 5;
constexpr double kSettledDeviation = 0.05;

double Mean(const std::vector<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

double SampleDeviation(const std::vector<double>& values, double mean)
{
    double squares = 0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    return std::sqrt(squares / static_cast<double>(values.size() - 1));
}

} // namespace

double RobustMean(std::span<const double> values)
{
    switch (values.size()) {
    case 0:
        return kNoData;
    case 1:
        return values[0];
    case 2:
        return (values[0] + values[1]) / 2;
    default:
        break;
    }
    std::vector<double> work(values.begin(), values.end());
    double mean = 0;
    for (int round = 0; round < kMaxRounds; ++round) {
        mean = Mean(work);
        const double deviation = SampleDeviation(work, mean);
        for (double& v : work) {
            if (std::abs(v - mean) > deviation)
                v = mean;
        }
        if (deviation < kSettledDeviation)
            break;
    }
    return mean;
}
