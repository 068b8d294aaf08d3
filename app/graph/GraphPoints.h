#pragma once
// The chart's x values and the points of its stair-step lines. The chart's date-time axis counts
// milliseconds since the Unix epoch in UTC and shows them in local time, while the program's
// times are local wall-clock days, so every time passes through the machine's time zone.
#include "base/DateTime.h"
#include "core/TITPoint.h"

#include <QList>
#include <QPointF>

#include <vector>

// A local time as the chart's x value.
double ChartX(TDateTime time);
// The chart's x value back as a local time.
TDateTime ChartXToDateTime(double x);

struct TGraphPoints {
    // The stair-step line: each value holds until the next point's time, where the line rises
    // or falls straight to the next value; n points give 2n − 1 line points.
    QList<QPointF> Line;
    // The history's own points, where the point marks go.
    QList<QPointF> Marks;
};

// A sensor's history (in time order) as the chart draws it. Values are kept as they are,
// sentinels included.
TGraphPoints GraphPoints(const std::vector<TTITPoint>& points);
