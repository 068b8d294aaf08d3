// The kernel's free-rate termios (termios2 with BOTHER). Kept apart because its header
// defines a struct termios of its own that clashes with the C library's <termios.h>.
#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <cerrno>
#include <cstdint>

extern "C" int ioctl(int fd, unsigned long request, ...);

int SetTtyRate(int fd, uint32_t rate)
{
    termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return errno;
    t.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    t.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    return ioctl(fd, TCSETS2, &t) == 0 ? 0 : errno;
}

int GetTtyRate(int fd, uint32_t& rate)
{
    termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return errno;
    rate = t.c_ospeed;
    return 0;
}
