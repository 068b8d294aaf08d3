#include "platform/posix/SerialDevicePath.h"

#include "platform/posix/ProgramFolder.h"

#include <sys/stat.h>

std::string SerialDevicePath(int number)
{
    const std::string link = ProgramFile("COM" + std::to_string(number));
    struct stat st {};
    // lstat: a link whose target is gone still names the port, so opening it reports the loss.
    if (lstat(link.c_str(), &st) == 0)
        return link;
    return "/dev/ttyS" + std::to_string(number - 1);
}
