#include "app/schedule/ScheduleCheck.h"

#include <cmath>

TScheduleRound TScheduleCheck::Round(TSchedulePlan& plan, int64_t now)
{
    // Checks come ten times a second; when the thread was held up for more than a second, the
    // seconds it never saw are looked at too, so that nothing due in them is lost. A clock set
    // back looks at the present second only.
    const int64_t from = FLastChecked && *FLastChecked < now ? *FLastChecked + 1 : now;
    FLastChecked = now;
    const TPlanWalk walk = plan.Walk(from, now);
    TScheduleRound round;
    round.Next = walk.Next;
    if (!walk.Due.isEmpty() && walk.Due != FLastFired) {
        FLastFired = walk.Due;
        round.Fired = walk.Due;
    }
    return round;
}

int64_t ScheduleSecond(TDateTime now)
{
    // The clock's value is a whole number of milliseconds, held in a double: it is rounded to
    // them first, so that 08:00:00.000 held as 07:59:59.9999999 still counts as 08:00:00.
    const double msecs = std::round((now - kUnixDateDelta) * kMSecsPerDay);
    if (!std::isfinite(msecs) || std::fabs(msecs) > 9e18)
        return DateTimeToUnix(now);   // raises as the program's own conversion does
    return static_cast<int64_t>(std::floor(msecs / 1000));
}
