#pragma once
// The schedule thread's memory from one check to the next: the last text it fired (so that
// the ten checks within one second fire an occurrence once) and the last second it checked (so
// that an occurrence falling in seconds that a late check skipped still fires, once).
#include "app/schedule/SchedulePlan.h"
#include "base/DateTime.h"

#include <optional>

struct TScheduleRound {
    QString Fired;   // the due text when this check starts a poll, else empty
    QString Next;    // the next scheduled poll as the walk saw it
};

class TScheduleCheck {
public:
    // One check of the plan at `now` (local Unix seconds).
    TScheduleRound Round(TSchedulePlan& plan, int64_t now);

private:
    QString FLastFired;
    std::optional<int64_t> FLastChecked;
};

// The local second (Unix seconds) that has begun at `now`. The checks count in whole seconds
// that have begun, not in the nearest second: an occurrence then falls due only once its second
// has come, so the poll it starts is never stamped before it.
int64_t ScheduleSecond(TDateTime now);
