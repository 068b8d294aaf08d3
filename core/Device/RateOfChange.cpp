#include "core/Device/RateOfChange.h"

#include "base/Format.h"
#include "base/FormatDateTime.h"
#include "core/Device/SensorLimits.h"

#include <cmath>

namespace {

bool CountsForSpeed(double value)
{
    return value > kShortCircuitBelow && value < kOpenLineAbove;
}

std::string ShortDate(TDateTime time)
{
    return FormatDateTime("ddddd", time);
}

std::string PointTime(const TTITPoint& point)
{
    return FormatDateTime("dd.mm.yy hh:nn:ss.zzz", point.Time);
}

std::string Period(const TSensorPlace& place, TDateTime time)
{
    return Format("Термоподвеска %d:%d датчик %d за период времени с %s по %s", place.block, place.silos,
                  place.sensor, ShortDate(time - (kSpeedDays - 1)).c_str(), ShortDate(time).c_str());
}

} // namespace

std::optional<TSpeedSeries> FindSpeedSeries(const TPointHistory& history, TDateTime time)
{
    int64_t expectedDay = static_cast<int64_t>(std::trunc(time)) - (kSpeedDays - 1);
    TSpeedSeries series;
    int taken = 0;
    // Points are in time order, so the walk can start at the first day of the period and stop
    // at the first day that passes without a valid point.
    for (size_t i = history.FirstAtOrAfter(static_cast<double>(expectedDay)); i < history.PointCount(); ++i) {
        const TTITPoint& point = history.Point(i);
        const int64_t day = point.Days();
        if (day > expectedDay)
            break;
        if (day == expectedDay && CountsForSpeed(point.Value)) {
            series[static_cast<size_t>(taken++)] = point;
            ++expectedDay;
            if (taken == kSpeedDays)
                return series;
        }
    }
    return std::nullopt;
}

double SeriesSpeed(const TSpeedSeries& series)
{
    double sum = 0;
    for (size_t j = 1; j < series.size(); ++j)
        sum += series[j].Value - series[j - 1].Value;
    return sum / static_cast<double>(series.size() - 1);
}

std::vector<std::string> SpeedLogLines(const TSensorPlace& place, TDateTime time, const TSpeedSeries& series)
{
    std::vector<std::string> lines;
    lines.push_back(Period(place, time));
    lines.push_back(Format("%s %d - %.3f", PointTime(series[0]).c_str(), 0, series[0].Value));
    for (size_t j = 1; j < series.size(); ++j) {
        lines.push_back(Format("%s %d - %.3f dlt = %.3f", PointTime(series[j]).c_str(), static_cast<int>(j),
                               series[j].Value, series[j].Value - series[j - 1].Value));
    }
    lines.push_back(Format("Полученная дельта = %.3f", SeriesSpeed(series)));
    return lines;
}

std::string SpeedAlarmNote(const TSensorPlace& place, TDateTime time, double speed)
{
    return Period(place, time) + Format(" температура изменилась на %.3f", speed);
}
