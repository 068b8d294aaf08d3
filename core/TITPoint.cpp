#include "core/TITPoint.h"

#include <cmath>

void TTITPoint::SetTime(TDateTime time)
{
    Time = time;
    UnixTime = DateTimeToUnix(time);
}

int64_t TTITPoint::Days() const
{
    return static_cast<int64_t>(std::trunc(Time));
}
