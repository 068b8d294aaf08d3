#include "app/dialogs/CoefficientFraction.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

class TPairSearch {
public:
    TPairSearch(double k, int32_t limit) : k_(k), limit_(limit) {}

    double Difference(int32_t i, int32_t j) const { return std::fabs(k_ - double(i) / double(j)); }

    // The j with the smallest difference for this i, the first among equals. i/j falls as j
    // grows, so the difference falls until i/j passes k and rises after: the smallest is next
    // to i/k.
    int32_t ClosestDenominator(int32_t i) const
    {
        int32_t from = limit_, to = limit_;   // k <= 0: the smallest i/j is the closest
        if (k_ > 0) {
            const double centre = std::clamp(std::floor(double(i) / k_), 1.0, double(limit_));
            from = std::max<int32_t>(1, int32_t(centre) - 1);
            to = std::min<int32_t>(limit_, int32_t(centre) + 2);
        }
        int32_t best = from;
        for (int32_t j = from + 1; j <= to; ++j)
            if (Difference(i, j) < Difference(i, best))
                best = j;
        return best;
    }

    // Steps back from j while the pair one place earlier still satisfies `keep`.
    template <class Keep>
    int32_t FirstBefore(int32_t i, int32_t j, Keep keep) const
    {
        while (j > 1 && keep(Difference(i, j - 1)))
            --j;
        return j;
    }

private:
    double k_;
    int32_t limit_;
};

} // namespace

TFraction FindCoefficientFraction(double k, int32_t limit, double tolerance)
{
    const TPairSearch search(k, limit);
    TFraction best;
    double bestDifference = std::numeric_limits<double>::infinity();
    for (int32_t i = 1; i <= limit; ++i) {
        const int32_t closest = search.ClosestDenominator(i);
        const double difference = search.Difference(i, closest);
        // The pairs close enough for this i lie together around the closest one.
        if (difference <= tolerance)
            return {i, search.FirstBefore(i, closest, [&](double d) { return d <= tolerance; })};
        if (difference < bestDifference) {
            bestDifference = difference;
            best = {i, search.FirstBefore(i, closest, [&](double d) { return d == difference; })};
        }
    }
    return best;
}
