#include "platform/posix/PortWriteLock.h"

#include "platform/posix/ProgramFolder.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

PortWriteLock::PortWriteLock(int portNumber) : portNumber_(portNumber) {}

PortWriteLock::~PortWriteLock()
{
    Release();
    CloseFile();
}

std::string PortWriteLock::LockFilePath(int portNumber)
{
    return RuntimeFolder() + "/COM" + std::to_string(portNumber) + ".write.lock";
}

bool PortWriteLock::OpenFile()
{
    fd_ = ::open(LockFilePath(portNumber_).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error_ = errno;
        return false;
    }
    return true;
}

void PortWriteLock::CloseFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

// A file kept open for long may have been removed meanwhile (a cleaner of old files in the
// runtime folder): a lock on it would no longer keep out an instance that opens the path anew.
// Removed or replaced, it has no name left; asking the descriptor costs no walk of the path.
bool PortWriteLock::FileIsStillTheLockFile() const
{
    struct stat now {};
    return fstat(fd_, &now) == 0 && now.st_nlink > 0;
}

bool PortWriteLock::Acquire(std::chrono::milliseconds timeout)
{
    if (held_)
        return true;
    error_ = 0;
    // flock has no time-out of its own; a short poll keeps the hand-over quick, and a frame
    // on the line takes milliseconds, so the waiting writer rarely polls more than a few times.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto nap = std::chrono::microseconds(100);
    for (;;) {
        if (fd_ < 0 && !OpenFile())
            return false;
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            if (FileIsStillTheLockFile()) {
                held_ = true;
                return true;
            }
            CloseFile();   // drops the lock on the removed file; the path is opened again
            continue;
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
}
