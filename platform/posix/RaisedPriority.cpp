#include "platform/posix/RaisedPriority.h"

#include <cerrno>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// On Linux a nice value belongs to a thread, addressed by its thread id.
id_t ThisThread()
{
    return static_cast<id_t>(gettid());
}

bool Refused(int error)
{
    return error == EPERM || error == EACCES;
}

} // namespace

RaisedPriority::RaisedPriority(PriorityPermission& permission)
{
    // A real-time thread runs ahead of every ordinary one whatever its nice value, so the nice
    // value is only worth raising when the policy could not be.
    if (!RaisePolicy(permission))
        RaiseNice(permission);
}

bool RaisedPriority::RaisePolicy(PriorityPermission& permission)
{
    if (permission.realTimeRefused)
        return false;
    sched_param param {};
    if (pthread_getschedparam(pthread_self(), &savedPolicy_, &param) != 0)
        return false;
    savedRtPriority_ = param.sched_priority;
    if (savedPolicy_ != SCHED_OTHER && savedPolicy_ != SCHED_BATCH && savedPolicy_ != SCHED_IDLE)
        return false;
    // The lowest real-time level already runs ahead of every ordinary thread.
    static const int lowestRealTime = sched_get_priority_min(SCHED_FIFO);
    sched_param raised {};
    raised.sched_priority = lowestRealTime;
    const int error = pthread_setschedparam(pthread_self(), SCHED_FIFO, &raised);
    if (Refused(error))
        permission.realTimeRefused = true;
    policyRaised_ = error == 0;
    return policyRaised_;
}

void RaisedPriority::RaiseNice(PriorityPermission& permission)
{
    if (permission.niceRefused)
        return;
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, ThisThread());
    if (errno != 0 || nice <= -20)
        return;
    savedNice_ = nice;
    niceRaised_ = setpriority(PRIO_PROCESS, ThisThread(), -20) == 0;
    if (!niceRaised_ && Refused(errno))
        permission.niceRefused = true;
}

RaisedPriority::~RaisedPriority()
{
    if (policyRaised_) {
        sched_param param {};
        param.sched_priority = savedRtPriority_;
        pthread_setschedparam(pthread_self(), savedPolicy_, &param);
    }
    if (niceRaised_)
        setpriority(PRIO_PROCESS, ThisThread(), savedNice_);
}
