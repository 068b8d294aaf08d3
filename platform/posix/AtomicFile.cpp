#include "platform/posix/AtomicFile.h"

#include "platform/posix/FileDescriptor.h"
#include "platform/posix/FileMode.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void SetError(std::string* error, const std::string& what)
{
    if (error)
        *error = what + ": " + std::strerror(errno);
}

// The file a write really replaces: the target of a symbolic link, else the path itself.
std::string RealTarget(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

ReadResult ReadWholeFile(const std::string& path, std::string& octets, std::string* error)
{
    octets.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return ReadResult::Missing;
        SetError(error, "open " + path);
        return ReadResult::Failed;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetError(error, "read " + path);
            close(fd);
            octets.clear();
            return ReadResult::Failed;
        }
        octets.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return ReadResult::Ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view octets, std::string* error)
{
    const std::string target = RealTarget(path);
    const std::string folder = FolderOf(target);
    const auto slash = target.rfind('/');
    std::string temp = folder + "/." + (slash == std::string::npos ? target : target.substr(slash + 1)) + ".XXXXXX";
    const int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "create a temporary file in " + folder);
        return false;
    }
    const mode_t mode = ModeForReplacing(target);
    const auto fail = [&](const std::string& what) {
        SetError(error, what);
        const int saved = errno;
        if (fd >= 0)
            close(fd);
        unlink(temp.c_str());
        errno = saved;
        return false;
    };
    if (fchmod(fd, mode) != 0)
        return fail("set the permissions of " + temp);
    if (!WriteAll(fd, octets))
        return fail("write " + temp);
    if (fsync(fd) != 0)
        return fail("flush " + temp);
    if (close(fd) != 0) {
        SetError(error, "close " + temp);
        unlink(temp.c_str());
        return false;
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
        SetError(error, "replace " + target);
        const int saved = errno;
        unlink(temp.c_str());
        errno = saved;
        return false;
    }
    // The rename itself must reach the disk too, or a power cut could bring the old file back.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}
