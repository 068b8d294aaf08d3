#include "app/detail/HistoryActions.h"

#include "base/Format.h"
#include "base/FormatDateTime.h"
#include "core/Device/Device.h"

#include <algorithm>
#include <cmath>

namespace {

template <class Work>
void ForEachSensor(const THardConfig& config, Work work)
{
    for (int b = 0; b < config.MBCount(); ++b) {
        const TMB* block = config.GetMB(b);
        for (int s = 0; s < block->SilosCount(); ++s) {
            const TSilos* silos = block->GetSilos(s);
            for (int k = 0; k < silos->TITCount(); ++k)
                work(*silos->GetTIT(k));
        }
    }
}

// The first index in [0, count) whose point's Unix time is not below the time, looking the
// points up one by one: a sensor's history is long, and a copy of it for one search is not.
template <class Get>
int FirstNotBefore(int count, int64_t unixTime, Get get)
{
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const auto point = get(middle);
        if (point && point->UnixTime < unixTime)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

bool EarlierThan(const TTITPoint& point, int64_t unixTime)
{
    return point.UnixTime < unixTime;
}

int DeleteFrom(TTIT& sensor, TPollWindow window, int averagePeriod)
{
    const auto get = [&](int i) { return sensor.GetPoint(i); };
    const int count = sensor.PointCount();
    const int first = FirstNotBefore(count, window.First, get);
    const int last = FirstNotBefore(count, window.Last, get);
    if (last - first <= 0)
        return 0;
    if (last - first == 1) {
        sensor.DeletePoint(first, averagePeriod);
        return 1;
    }
    // Many points (a long averaging period): one rebuild instead of one per deleted point.
    std::vector<TTITPoint> points = sensor.Points();
    const auto from = std::lower_bound(points.begin(), points.end(), window.First, EarlierThan);
    const auto to = std::lower_bound(from, points.end(), window.Last, EarlierThan);
    const int removed = static_cast<int>(to - from);
    points.erase(from, to);
    sensor.AssignPoints(std::move(points), averagePeriod);
    return removed;
}

std::string ShortDate(TDateTime time)
{
    return FormatDateTime("ddddd", time);
}

} // namespace

std::optional<TTITPoint> FindAverage(const TTIT& sensor, int64_t unixTime)
{
    const int at = FirstNotBefore(sensor.AverageCount(), unixTime, [&](int i) { return sensor.GetAverage(i); });
    auto point = sensor.GetAverage(at);
    if (point && point->UnixTime == unixTime)
        return point;
    return std::nullopt;
}

void ApplyPoll(const THardConfig& config, int64_t unixTime, const Parameters& settings)
{
    ForEachSensor(config, [&](TTIT& sensor) {
        sensor.ClearValues();
        // A point without a value was stored for a sensor that was asked and never answered.
        if (const auto point = FindAverage(sensor, unixTime))
            sensor.AddValue(point->Value != kNoData, point->Time, point->Value, settings);
    });
}

TPollWindow DeletionWindow(int64_t unixTime, int averagePeriod)
{
    if (averagePeriod <= 0)
        return {unixTime, unixTime + 1};
    return {unixTime + 1 - 60 * static_cast<int64_t>(averagePeriod), unixTime + 1};
}

int DeletePolls(const THardConfig& config, TPollWindow window, int averagePeriod)
{
    int removed = 0;
    ForEachSensor(config, [&](TTIT& sensor) { removed += DeleteFrom(sensor, window, averagePeriod); });
    return removed;
}

QStringList TempSpeedLines(const std::vector<TSilos*>& suspensions, TDateTime time, double threshold)
{
    QStringList lines;
    for (const TSilos* silos : suspensions) {
        if (!silos)
            continue;
        for (int k = 0; k < silos->TITCount(); ++k) {
            const double speed = silos->GetTIT(k)->CalcSpeed(time);
            if (!(std::abs(speed) > threshold))
                continue;
            lines << QString::fromStdString(
                Format("Силос \"%s\" датчик %d за период времени с %s по %s температура изменилась на %.3f",
                       silos->GetName().toStdString().c_str(), k + 1, ShortDate(time - 4).c_str(),
                       ShortDate(time).c_str(), speed));
        }
    }
    return lines;
}

void RebuildAverages(const std::vector<TSilos*>& suspensions, int averagePeriod)
{
    for (TSilos* silos : suspensions) {
        if (!silos)
            continue;
        for (int k = 0; k < silos->TITCount(); ++k)
            silos->GetTIT(k)->RebuildAverages(averagePeriod);
    }
}
