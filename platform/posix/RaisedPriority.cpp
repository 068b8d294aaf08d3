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

} // namespace

RaisedPriority::RaisedPriority()
{
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, ThisThread());
    if (errno == 0) {
        savedNice_ = nice;
        niceRaised_ = nice > -20 && setpriority(PRIO_PROCESS, ThisThread(), -20) == 0;
    }
    sched_param param {};
    if (pthread_getschedparam(pthread_self(), &savedPolicy_, &param) == 0) {
        savedRtPriority_ = param.sched_priority;
        if (savedPolicy_ == SCHED_OTHER || savedPolicy_ == SCHED_BATCH || savedPolicy_ == SCHED_IDLE) {
            // The lowest real-time level already runs ahead of every ordinary thread.
            sched_param raised {};
            raised.sched_priority = sched_get_priority_min(SCHED_FIFO);
            policyRaised_ = pthread_setschedparam(pthread_self(), SCHED_FIFO, &raised) == 0;
        }
    }
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
