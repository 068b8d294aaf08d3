#include "platform/posix/FileMode.h"

#include <fstream>
#include <sys/stat.h>

namespace {

constexpr mode_t kReadWriteForAll = 0666;
// Where the process's umask cannot be read (a kernel without it in its status), the usual one.
constexpr mode_t kUsualUmask = 022;

// The umask as the kernel tells it ("Umask:\t0027"); reading it, unlike umask(2), changes
// nothing another thread might be creating a file with.
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) != 0)
            continue;
        try {
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8)) & 0777;
        } catch (const std::exception&) {
            break;
        }
    }
    return kUsualUmask;
}

} // namespace

mode_t NewFileMode()
{
    return kReadWriteForAll & ~CurrentUmask();
}

mode_t ModeForReplacing(const std::string& path)
{
    struct stat old {};
    if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        return old.st_mode & 07777;
    return NewFileMode();
}
