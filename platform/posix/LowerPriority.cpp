#include "platform/posix/LowerPriority.h"

#include <cerrno>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// A few steps of niceness: behind the window's thread, far ahead of idle work.
constexpr int kBelowNormalSteps = 2;
} // namespace

void LowerThreadPriority()
{
    // On Linux a nice value belongs to a thread, addressed by its thread id.
    const auto thread = static_cast<id_t>(gettid());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread);
    if (errno != 0)
        return;
    setpriority(PRIO_PROCESS, thread, nice + kBelowNormalSteps);
}
