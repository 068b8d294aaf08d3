#include "platform/posix/FileDescriptor.h"

#include <cerrno>
#include <unistd.h>

void FileDescriptor::Reset(int fd)
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = fd;
}

bool WriteAll(int fd, std::string_view octets)
{
    while (!octets.empty()) {
        const ssize_t n = write(fd, octets.data(), octets.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        octets.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}
