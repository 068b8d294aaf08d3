#include "platform/posix/SerialDevicePath.h"

#include "platform/posix/ProgramFolder.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>

std::string SerialDevicePath(int number)
{
    const std::string link = ProgramFile("COM" + std::to_string(number));
    struct stat st {};
    // lstat: a link whose target is gone still names the port, so opening it reports the loss.
    if (lstat(link.c_str(), &st) == 0)
        return link;
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::string CanonicalDevicePath(const std::string& path)
{
    namespace fs = std::filesystem;
    // The links are followed one by one, so that a link to a device that is gone still ends
    // at the device's name rather than at the link; a loop ends after as many hops as the
    // system itself allows.
    constexpr int kMostLinks = 40;
    std::error_code error;
    fs::path device = path;
    for (int hop = 0; hop < kMostLinks && fs::is_symlink(device, error); ++hop) {
        const fs::path target = fs::read_symlink(device, error);
        if (error)
            break;
        device = target.is_absolute() ? target : device.parent_path() / target;
    }
    const fs::path canonical = fs::weakly_canonical(device, error);
    return error ? device.lexically_normal().string() : canonical.string();
}
