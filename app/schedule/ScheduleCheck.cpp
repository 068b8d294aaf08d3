#include "app/schedule/ScheduleCheck.h"

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
