#include "app/graph/GraphPoints.h"

#include <cmath>
#include <limits>

double ChartX(TDateTime time)
{
    const int msec = DecodeDateTime(time).msec;
    return static_cast<double>(LocalToUtcSeconds(time)) * 1000.0 + msec;
}

TDateTime ChartXToDateTime(double x)
{
    const double seconds = std::floor(x / 1000.0);
    const int msec = static_cast<int>(std::floor(x - seconds * 1000.0));
    return UtcSecondsToLocal(static_cast<int64_t>(seconds), msec);
}

namespace {

// Converts times to x values a day at a time: a day whose start and end lie the same distance
// from UTC (every day but those when the clocks change) needs no time-zone look-up per point.
class TChartXCache {
public:
    double operator()(TDateTime time)
    {
        if (time < 0)   // before 1899-12-30 the day and the time of day count differently
            return ChartX(time);
        const double day = std::floor(time);
        if (day != day_) {
            day_ = day;
            const double start = ChartX(day), end = ChartX(day + 1);
            steady_ = end - start == kMSecsPerDay;
            startX_ = start;
        }
        if (!steady_)
            return ChartX(time);
        return startX_ + std::round((time - day_) * kMSecsPerDay);
    }

private:
    double day_ = std::numeric_limits<double>::quiet_NaN();
    double startX_ = 0;
    bool steady_ = false;
};

} // namespace

TGraphPoints GraphPoints(const std::vector<TTITPoint>& points)
{
    TGraphPoints result;
    if (points.empty())
        return result;
    result.Marks.reserve(static_cast<qsizetype>(points.size()));
    result.Line.reserve(static_cast<qsizetype>(2 * points.size() - 1));
    TChartXCache chartX;
    for (size_t i = 0; i < points.size(); ++i) {
        const double x = chartX(points[i].Time);
        if (i > 0)
            result.Line.append(QPointF(x, points[i - 1].Value));
        result.Line.append(QPointF(x, points[i].Value));
        result.Marks.append(QPointF(x, points[i].Value));
    }
    return result;
}
