#include "platform/posix/SerialTty.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = SerialTty::Clock;

speed_t ClassicRate(uint32_t rate)
{
    switch (rate) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 576000: return B576000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    default: return B0;
    }
}

tcflag_t DataBitsFlag(int bits)
{
    switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

void SetParity(termios& t, TtyParity parity, bool check)
{
    t.c_cflag &= ~(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case TtyParity::None: break;
    case TtyParity::Odd: t.c_cflag |= PARENB | PARODD; break;
    case TtyParity::Even: t.c_cflag |= PARENB; break;
    case TtyParity::Mark: t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case TtyParity::Space: t.c_cflag |= PARENB | CMSPAR; break;
    }
    if (check && parity != TtyParity::None)
        t.c_iflag |= INPCK;
}

// Time left until `deadline` as a timespec for ppoll (never negative).
timespec Remaining(Clock::time_point deadline)
{
    const auto left = std::max(Clock::duration::zero(), deadline - Clock::now());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    return timespec {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

} // namespace

SerialTty::~SerialTty()
{
    Close();
}

int SerialTty::Open(const std::string& path)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    if (!isatty(fd)) {
        ::close(fd);
        return ENOTTY;
    }
    if (ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    fd_ = fd;
    rtsRaised_ = false;
    return 0;
}

void SerialTty::Close()
{
    if (fd_ < 0)
        return;
    // The claim outlives our fd on some devices (a pseudo-terminal keeps it while its master is
    // open), which would lock even us out of reopening the line.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    rtsRaised_ = false;
}

void MakeRawTermios(const TtySettings& s, termios& t)
{
    cfmakeraw(&t);
    t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR);
    t.c_cflag &= ~(CSIZE | CSTOPB | CRTSCTS);
    t.c_cflag |= CREAD | CLOCAL | DataBitsFlag(s.dataBits);
    SetParity(t, s.parity, s.checkParity);
    if (s.stopBits != TtyStopBits::One)
        t.c_cflag |= CSTOPB; // with 5 data bits the UART makes that 1.5
    if (s.ctsFlow || s.rts == TtyModemLine::Handshake)
        t.c_cflag |= CRTSCTS;
    if (s.xonXoffOut)
        t.c_iflag |= IXON;
    if (s.xonXoffIn)
        t.c_iflag |= IXOFF;
    t.c_cc[VSTART] = s.xonChar;
    t.c_cc[VSTOP] = s.xoffChar;
    // With VMIN 1 a non-blocking read says EAGAIN when nothing waits, so that end-of-file
    // means only a hang-up.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    const speed_t classic = ClassicRate(s.baudRate);
    cfsetspeed(&t, classic != B0 ? classic : B9600); // the free rate follows in Apply
}

int SerialTty::Apply(const TtySettings& s)
{
    if (s.baudRate == 0 || s.dataBits < 5 || s.dataBits > 8)
        return EINVAL;
    termios t {};
    if (tcgetattr(fd_, &t) != 0)
        return errno;
    MakeRawTermios(s, t);
    const speed_t classic = ClassicRate(s.baudRate);
    if (tcsetattr(fd_, TCSANOW, &t) != 0)
        return errno;
    if (classic == B0) {
        if (const int error = SetTtyRate(fd_, s.baudRate))
            return error;
    }
    if (s.dtr != TtyModemLine::Handshake)
        if (const int error = SetDtr(s.dtr == TtyModemLine::High))
            return error;
    if (s.rts != TtyModemLine::Handshake)
        if (const int error = SetRts(s.rts == TtyModemLine::High))
            return error;
    return 0;
}

int SerialTty::SetModemLine(int line, bool raised)
{
    if (fd_ < 0)
        return EBADF;
    if (ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return 0;
    const int error = errno;
    return (error == ENOTTY || error == EINVAL) ? 0 : error;
}

int SerialTty::SetRts(bool raised)
{
    const int error = SetModemLine(TIOCM_RTS, raised);
    if (error == 0)
        rtsRaised_ = raised;
    return error;
}

int SerialTty::SetDtr(bool raised)
{
    return SetModemLine(TIOCM_DTR, raised);
}

int SerialTty::FlushInput()
{
    return tcflush(fd_, TCIFLUSH) == 0 ? 0 : errno;
}

int SerialTty::FlushOutput()
{
    return tcflush(fd_, TCOFLUSH) == 0 ? 0 : errno;
}

int SerialTty::FlushBoth()
{
    return tcflush(fd_, TCIOFLUSH) == 0 ? 0 : errno;
}

// 0 when the events came, ETIMEDOUT when the deadline passed first, else the failure.
int SerialTty::WaitFor(short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd p {fd_, events, 0};
        const timespec left = Remaining(deadline);
        const int n = ppoll(&p, 1, &left, nullptr);
        if (n > 0)
            return (p.revents & POLLNVAL) ? EBADF : 0; // errors show on the next read or write
        if (n == 0)
            return ETIMEDOUT;
        if (errno != EINTR)
            return errno;
    }
}

SerialTty::WriteResult SerialTty::Write(const uint8_t* data, size_t count, Clock::time_point deadline)
{
    WriteResult result;
    while (result.done < count) {
        const ssize_t n = ::write(fd_, data + result.done, count - result.done);
        if (n > 0) {
            result.done += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            result.error = errno;
            return result;
        }
        const int waited = WaitFor(POLLOUT, deadline);
        if (waited == ETIMEDOUT) {
            result.timedOut = true;
            return result;
        }
        if (waited != 0) {
            result.error = waited;
            return result;
        }
    }
    return result;
}

int SerialTty::WaitOutputEmpty(Clock::time_point deadline)
{
    for (;;) {
        int queued = 0;
        if (ioctl(fd_, TIOCOUTQ, &queued) != 0)
            return errno;
        if (queued == 0)
            return 0;
        if (Clock::now() >= deadline)
            return ETIMEDOUT;
        // The queue drains at line speed; a short nap costs far less than a character at the
        // rates these lines run.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

int SerialTty::Drain()
{
    while (tcdrain(fd_) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

SerialTty::ReadResult SerialTty::Read(uint8_t* buffer, size_t count, const ReadLimits& limits)
{
    return ReadAtLeast(buffer, count, count, limits);
}

SerialTty::ReadResult SerialTty::ReadSome(uint8_t* buffer, size_t count, const ReadLimits& limits)
{
    return ReadAtLeast(buffer, std::min<size_t>(count, 1), count, limits);
}

SerialTty::ReadResult SerialTty::ReadAtLeast(uint8_t* buffer, size_t least, size_t count, const ReadLimits& limits)
{
    ReadResult result;
    const auto start = Clock::now();
    const auto never = Clock::time_point::max();
    const auto totalEnd = limits.total ? start + *limits.total : never;
    const auto guardEnd = limits.guard ? start + *limits.guard : never;
    auto lastOctet = start;
    while (result.got < least) {
        const ssize_t n = ::read(fd_, buffer + result.got, count - result.got);
        if (n > 0) {
            result.got += static_cast<size_t>(n);
            lastOctet = Clock::now();
            continue;
        }
        if (n == 0) {
            // A non-blocking tty reads end-of-file only when the line has hung up.
            result.error = EIO;
            return result;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN) {
            result.error = errno;
            return result;
        }
        // Nothing waiting: see which limit comes first.
        auto driverEnd = totalEnd;
        if (limits.interval && result.got > 0)
            driverEnd = std::min(driverEnd, lastOctet + *limits.interval);
        const auto now = Clock::now();
        if (now >= driverEnd && driverEnd <= guardEnd)
            return result;
        if (now >= guardEnd) {
            result.guardExpired = true;
            return result;
        }
        const int waited = WaitFor(POLLIN, std::min(driverEnd, guardEnd));
        if (waited != 0 && waited != ETIMEDOUT) {
            result.error = waited;
            return result;
        }
    }
    return result;
}
