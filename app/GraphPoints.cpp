#include "app/GraphPoints.h"

#include <cmath>

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

TGraphPoints GraphPoints(const std::vector<TTITPoint>& points)
{
    TGraphPoints result;
    if (points.empty())
        return result;
    result.Marks.reserve(static_cast<qsizetype>(points.size()));
    result.Line.reserve(static_cast<qsizetype>(2 * points.size() - 1));
    for (size_t i = 0; i < points.size(); ++i) {
        const double x = ChartX(points[i].Time);
        if (i > 0)
            result.Line.append(QPointF(x, points[i - 1].Value));
        result.Line.append(QPointF(x, points[i].Value));
        result.Marks.append(QPointF(x, points[i].Value));
    }
    return result;
}
