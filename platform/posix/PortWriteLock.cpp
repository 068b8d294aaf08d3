#include "platform/posix/PortWriteLock.h"

#include "platform/posix/ProgramFolder.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

PortWriteLock::PortWriteLock(int portNumber) : portNumber_(portNumber) {}

PortWriteLock::~PortWriteLock()
{
    Release();
}

std::string PortWriteLock::LockFilePath(int portNumber)
{
    return RuntimeFolder() + "/COM" + std::to_string(portNumber) + ".write.lock";
}

bool PortWriteLock::Acquire(std::chrono::milliseconds timeout)
{
    if (held_)
        return true;
    error_ = 0;
    if (fd_ < 0) {
        fd_ = ::open(LockFilePath(portNumber_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            error_ = errno;
            return false;
        }
    }
    // flock has no time-out of its own; a short poll keeps the hand-over quick, and a frame
    // on the line takes milliseconds, so the waiting writer rarely polls more than a few times.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto nap = std::chrono::microseconds(100);
    for (;;) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            held_ = true;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error_ = errno;
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return false;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(nap, deadline - now));
        nap = std::min(nap * 2, std::chrono::microseconds(2000));
    }
}

void PortWriteLock::Release()
{
    if (held_)
        flock(fd_, LOCK_UN);
    held_ = false;
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}
