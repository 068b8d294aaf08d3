#pragma once
// One value from the repeated readings of a pass, robust against a stray reading.
#include <span>

// None: kNoData; one: itself; two: their mean. Three or more: up to five rounds on a copy, each
// computing the mean m and the sample standard deviation s and pulling every value farther than
// s from m back to m, stopping after a round with s < 0.05; the result is that last round's m.
double RobustMean(std::span<const double> values);
