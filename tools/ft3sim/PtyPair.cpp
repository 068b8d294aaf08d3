#include "tools/ft3sim/PtyPair.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace ft3sim {

namespace {

[[noreturn]] void Fail(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

PtyPair::PtyPair()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        Fail("posix_openpt");
    char name[PATH_MAX];
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name) != 0) {
        const int saved = errno;
        close(master_);
        errno = saved;
        Fail("pseudo-terminal slave");
    }
    slavePath_ = name;
    slaveKeeper_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slaveKeeper_ < 0 || tcgetattr(slaveKeeper_, &tio) != 0) {
        const int saved = errno;
        if (slaveKeeper_ >= 0)
            close(slaveKeeper_);
        close(master_);
        errno = saved;
        Fail(name);
    }
    cfmakeraw(&tio);
    tcsetattr(slaveKeeper_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    close(slaveKeeper_);
    close(master_);
}

} // namespace ft3sim
