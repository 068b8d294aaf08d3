#include "platform/posix/PortWriteLock.h"
#include "platform/posix/RaisedPriority.h"

#include "support/PtyLine.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class PortWriteLockTest : public ::testing::Test {
protected:
    PortHome home;
};

TEST_F(PortWriteLockTest, OneHolderAtATimePerPortNumber)
{
    PortWriteLock first(3);
    PortWriteLock second(3);
    PortWriteLock otherPort(4);
    ASSERT_TRUE(first.Acquire(0ms));
    EXPECT_TRUE(otherPort.Acquire(0ms));

    const auto start = Clock::now();
    EXPECT_FALSE(second.Acquire(30ms));
    EXPECT_GE(Clock::now() - start, 30ms);
    EXPECT_EQ(second.Error(), 0);

    first.Release();
    EXPECT_TRUE(second.Acquire(0ms));
    EXPECT_TRUE(std::filesystem::exists(PortWriteLock::LockFilePath(3)));
}

TEST_F(PortWriteLockTest, AWaitingWriterGetsTheRightWhenTheHolderLetsGo)
{
    PortWriteLock holder(1);
    ASSERT_TRUE(holder.Acquire(0ms));
    std::thread release([&] {
        std::this_thread::sleep_for(40ms);
        holder.Release();
    });
    PortWriteLock waiter(1);
    EXPECT_TRUE(waiter.Acquire(1000ms));
    release.join();
}

TEST_F(PortWriteLockTest, AnotherProcessHoldsTheRightUntilItDies)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        PortWriteLock lock(2);
        const char ok = lock.Acquire(0ms) ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');

    PortWriteLock mine(2);
    EXPECT_FALSE(mine.Acquire(20ms));
    // A killed holder releases nothing itself; the kernel drops its lock.
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(mine.Acquire(1000ms));
    close(ready[0]);
    close(ready[1]);
}

TEST_F(PortWriteLockTest, ALockFileThatCannotBeMadeIsReportedAsSuch)
{
    const auto blocker = std::filesystem::temp_directory_path() / ("tz_no_run_" + std::to_string(getpid()));
    std::ofstream(blocker) << "a file where the runtime folder should be";
    setenv("XDG_RUNTIME_DIR", blocker.string().c_str(), 1);
    PortWriteLock lock(1);
    EXPECT_FALSE(lock.Acquire(1000ms));
    EXPECT_NE(lock.Error(), 0);
    std::filesystem::remove(blocker);
}

TEST_F(PortWriteLockTest, AHolderWhoseFileWasRemovedStillKeepsOutOneThatMadeItAnew)
{
    PortWriteLock longLived(3);
    ASSERT_TRUE(longLived.Acquire(0ms));
    longLived.Release();
    // A cleaner of old files takes the lock file away while its holder keeps it open.
    std::filesystem::remove(PortWriteLock::LockFilePath(3));
    PortWriteLock newcomer(3);
    ASSERT_TRUE(newcomer.Acquire(0ms));
    EXPECT_FALSE(longLived.Acquire(20ms));
    newcomer.Release();
    EXPECT_TRUE(longLived.Acquire(0ms));
    EXPECT_FALSE(newcomer.Acquire(0ms));
}

TEST(RaisedPriority, TheThreadGetsItsOwnPriorityBackWhetherOrNotItWasRaised)
{
    const auto tid = static_cast<id_t>(gettid());
    setpriority(PRIO_PROCESS, tid, 5);
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, tid);
    int policy = -1;
    sched_param param {};
    ASSERT_EQ(pthread_getschedparam(pthread_self(), &policy, &param), 0);
    {
        PriorityPermission permission;
        RaisedPriority raised(permission);
        errno = 0;
        EXPECT_LE(getpriority(PRIO_PROCESS, tid), nice);
    }
    EXPECT_EQ(getpriority(PRIO_PROCESS, tid), nice);
    int after = -1;
    sched_param afterParam {};
    ASSERT_EQ(pthread_getschedparam(pthread_self(), &after, &afterParam), 0);
    EXPECT_EQ(after, policy);
    EXPECT_EQ(afterParam.sched_priority, param.sched_priority);
}

TEST(RaisedPriority, AThreadWithoutTheRightKeepsItsPriorityAndTheRefusalIsRemembered)
{
    // In a child process that gives up any right to raise priorities.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit none {0, 0};
        setrlimit(RLIMIT_RTPRIO, &none);
        setrlimit(RLIMIT_NICE, &none);
        if (getuid() == 0 && setuid(65534) != 0)
            _exit(2);
        const auto tid = static_cast<id_t>(gettid());
        errno = 0;
        const int nice = getpriority(PRIO_PROCESS, tid);
        PriorityPermission permission;
        for (int frame = 0; frame < 2; ++frame) {
            RaisedPriority raised(permission);
            if (getpriority(PRIO_PROCESS, tid) != nice || sched_getscheduler(0) != SCHED_OTHER)
                _exit(3);
        }
        _exit(permission.realTimeRefused && permission.niceRefused ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
