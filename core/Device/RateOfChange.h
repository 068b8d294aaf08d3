#pragma once
// The rate-of-change check: how fast a sensor's temperature moved over the five days that end on
// a given day, from the first valid point of each day.
#include "core/Device/PointHistory.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

inline constexpr int kSpeedDays = 5;
using TSpeedSeries = std::array<TTITPoint, kSpeedDays>;

// The first point with a value strictly between -36 and 70 of each day from day(time) - 4 to
// day(time); none when one of those days has no such point.
std::optional<TSpeedSeries> FindSpeedSeries(const TPointHistory& history, TDateTime time);

// The mean of the four day-to-day differences, in degrees per day.
double SeriesSpeed(const TSpeedSeries& series);

// Where a sensor sits, counted from 1, as the log lines name it.
struct TSensorPlace {
    int block = 1;
    int silos = 1;
    int sensor = 1;
};

// The trace of one check for the "speed" log: the period, each point with its change from the
// day before, and the result.
std::vector<std::string> SpeedLogLines(const TSensorPlace& place, TDateTime time, const TSpeedSeries& series);

// The note posted when the change is above the threshold.
std::string SpeedAlarmNote(const TSensorPlace& place, TDateTime time, double speed);
