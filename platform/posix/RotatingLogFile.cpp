#include "platform/posix/RotatingLogFile.h"

#include "platform/posix/FileDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens the file at the path and locks it for writing. Another writer may have rotated the file
// while we waited for the lock; then the locked file is no longer the one at the path, and we
// open the new one instead.
bool OpenLocked(const std::string& path, FileDescriptor& file)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        file.Reset(open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
        if (file.Get() < 0)
            return false;
        if (flock(file.Get(), LOCK_EX) != 0)
            return false;
        struct stat opened {}, named {};
        if (fstat(file.Get(), &opened) != 0)
            return false;
        if (stat(path.c_str(), &named) == 0 && named.st_ino == opened.st_ino && named.st_dev == opened.st_dev)
            return true;
    }
    errno = EAGAIN;
    return false;
}

} // namespace

std::string RotatedLogPath(const std::string& path)
{
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "0";
    return path.substr(0, dot) + "0" + path.substr(dot);
}

bool AppendToLogFile(const std::string& path, std::string_view octets, uint64_t rotateAbove)
{
    FileDescriptor file;
    if (!OpenLocked(path, file))
        return false;
    struct stat st {};
    if (fstat(file.Get(), &st) != 0)
        return false;
    if (static_cast<uint64_t>(st.st_size) > rotateAbove) {
        // Still holding the lock: writers waiting on the old file notice the rename and reopen.
        if (rename(path.c_str(), RotatedLogPath(path).c_str()) != 0)
            return false;
        if (!OpenLocked(path, file))
            return false;
    }
    return WriteAll(file.Get(), octets);
}
