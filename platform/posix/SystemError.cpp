#include "platform/posix/SystemError.h"

#include <cstring>

std::string SystemErrorText(int error)
{
    char buffer[256];
    // The GNU variant returns a pointer that may or may not be into our buffer.
    return strerror_r(error, buffer, sizeof buffer);
}
