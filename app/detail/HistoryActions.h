#pragma once
// What the poll history does to the sensors: showing a past poll, deleting polls, the
// rate-of-change check and rebuilding the averaged points. No widgets here.
#include "core/TITPoint.h"

#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

class THardConfig;
class TSilos;
class TTIT;
struct Parameters;

// The sensor's first averaged point stamped with that Unix second.
std::optional<TTITPoint> FindAverage(const TTIT& sensor, int64_t unixTime);

// Every sensor of the tree forgets its current values and, when it has an averaged point at that
// Unix second, takes that point's value as its only one; a point without a value (a sensor that
// never answered that poll) marks the sensor as not replied. A sensor without a point there
// shows no data, unless the last pass found it not replying. The rate check follows the
// settings.
void ApplyPoll(const THardConfig& config, int64_t unixTime, const Parameters& settings);

// The Unix seconds [First, Last) that deleting the poll at a time removes: that second alone
// without averaging, else the averaging period (minutes) that ends with that second.
struct TPollWindow {
    int64_t First = 0;
    int64_t Last = 0;
};
TPollWindow DeletionWindow(int64_t unixTime, int averagePeriod);

// Deletes every history point (not averaged point) inside the window from every sensor of the
// tree; the sensors rebuild their averaged points for the period (minutes). Returns how many
// points went.
int DeletePolls(const THardConfig& config, TPollWindow window, int averagePeriod);

// One line per sensor of the suspensions whose mean daily change over the five days ending on
// the time's day is above the threshold (a change equal to it is not reported).
QStringList TempSpeedLines(const std::vector<TSilos*>& suspensions, TDateTime time, double threshold);

// Every sensor of the suspensions rebuilds its averaged points for the period (minutes).
void RebuildAverages(const std::vector<TSilos*>& suspensions, int averagePeriod);
