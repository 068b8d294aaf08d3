#include "platform/posix/SerialTty.h"

#include "support/PtyLine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/ioctl.h>

using namespace std::chrono_literals;
using Clock = SerialTty::Clock;

namespace {

bool Writable(int fd)
{
    pollfd p {fd, POLLOUT, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & POLLOUT);
}

// The peer's XOFF is taken by the line discipline a moment after it is sent.
bool WaitUntilStopped(int fd)
{
    for (int i = 0; i < 1000 && Writable(fd); ++i)
        std::this_thread::sleep_for(1ms);
    return !Writable(fd);
}

} // namespace

class SerialTtyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(tty.Open(line.SlavePath()), 0); }

    // Waits until `count` octets wait to be read: the pseudo-terminal hands on what the peer says
    // a moment later, and on a loaded machine that moment may outlast a short read limit.
    void WaitForInput(int count)
    {
        int waiting = 0;
        for (int i = 0; i < 2000; ++i) {
            if (ioctl(tty.Fd(), FIONREAD, &waiting) == 0 && waiting >= count)
                return;
            std::this_thread::sleep_for(1ms);
        }
        FAIL() << "only " << waiting << " of " << count << " octets came";
    }

    SerialTty::ReadResult ReadWithin(Octets& buffer, SerialTty::ReadLimits limits)
    {
        return tty.Read(buffer.data(), buffer.size(), limits);
    }

    PtyLine line;
    SerialTty tty;
};

TEST_F(SerialTtyTest, OpensExclusivelyAndGivesTheClaimUpOnClose)
{
    int exclusive = 0;
    ASSERT_EQ(ioctl(tty.Fd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    SerialTty second;
    if (geteuid() != 0) { // the system's administrator may always open a claimed line
        EXPECT_EQ(second.Open(line.SlavePath()), EBUSY);
    }
    tty.Close();
    EXPECT_FALSE(tty.IsOpen());
    // The pseudo-terminal outlives our descriptor; the claim must not.
    EXPECT_EQ(second.Open(line.SlavePath()), 0);
}

TEST(SerialTtyOpen, ReportsWhyADeviceCannotBeOpened)
{
    SerialTty tty;
    EXPECT_EQ(tty.Open("/nonexistent/ttyS99"), ENOENT);
    const auto file = std::filesystem::temp_directory_path() / ("tz_not_a_tty_" + std::to_string(getpid()));
    std::ofstream(file) << "x";
    EXPECT_EQ(tty.Open(file.string()), ENOTTY);
    std::filesystem::remove(file);
    EXPECT_FALSE(tty.IsOpen());
}

namespace {

TtySettings Framing(uint32_t rate, int bits, TtyParity parity, TtyStopBits stops)
{
    TtySettings s;
    s.baudRate = rate;
    s.dataBits = bits;
    s.parity = parity;
    s.stopBits = stops;
    return s;
}

} // namespace

TEST(SerialTtySettings, FramingAndFlowControlBecomeRawTermios)
{
    struct Case {
        TtySettings s;
        tcflag_t size;
        tcflag_t parity; // PARENB | PARODD | CMSPAR as expected
        bool twoStops;
        speed_t speed;
    };
    const Case cases[] = {
        {Framing(19200, 8, TtyParity::None, TtyStopBits::One), CS8, 0, false, B19200},
        {Framing(9600, 7, TtyParity::Even, TtyStopBits::Two), CS7, PARENB, true, B9600},
        {Framing(115200, 8, TtyParity::Odd, TtyStopBits::One), CS8, PARENB | PARODD, false, B115200},
        {Framing(1200, 5, TtyParity::Mark, TtyStopBits::OneAndHalf), CS5, PARENB | PARODD | CMSPAR, true, B1200},
        {Framing(2400, 6, TtyParity::Space, TtyStopBits::One), CS6, PARENB | CMSPAR, false, B2400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s.baudRate);
        termios t {};
        t.c_lflag = ICANON | ECHO | ISIG;
        t.c_iflag = ICRNL | IXON | INPCK;
        t.c_oflag = OPOST;
        t.c_cflag = CSTOPB | PARENB | CRTSCTS;
        MakeRawTermios(c.s, t);
        EXPECT_EQ(t.c_cflag & CSIZE, c.size);
        EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parity);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops);
        EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL | CRTSCTS), tcflag_t(CREAD | CLOCAL));
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(t.c_oflag & OPOST, 0u);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF | ICRNL | INPCK), 0u);
        EXPECT_EQ(cfgetospeed(&t), c.speed);
    }

    TtySettings flow = Framing(9600, 8, TtyParity::Even, TtyStopBits::One);
    flow.checkParity = true;
    flow.ctsFlow = true;
    flow.xonXoffOut = true;
    flow.xonXoffIn = true;
    flow.xonChar = 0x01;
    flow.xoffChar = 0x02;
    termios t {};
    MakeRawTermios(flow, t);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK), tcflag_t(IXON | IXOFF | INPCK));
    EXPECT_EQ(t.c_cc[VSTART], 0x01);
    EXPECT_EQ(t.c_cc[VSTOP], 0x02);

    // The kernel's flow control owns RTS when it is the handshake line.
    TtySettings handshake;
    handshake.rts = TtyModemLine::Handshake;
    MakeRawTermios(handshake, t);
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
}

// A pseudo-terminal always frames eight bits without parity, so only the rest shows on one.
TEST_F(SerialTtyTest, AppliesRateStopBitsAndFlowControlToTheDevice)
{
    for (const uint32_t rate : {19200u, 115200u, 14400u, 250000u}) {
        SCOPED_TRACE(rate);
        TtySettings s = Framing(rate, 8, TtyParity::None, TtyStopBits::Two);
        s.xonXoffOut = true;
        ASSERT_EQ(tty.Apply(s), 0);
        const termios t = line.Settings();
        EXPECT_NE(t.c_cflag & CSTOPB, 0u);
        EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON));
        EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u);
        uint32_t applied = 0;
        ASSERT_EQ(GetTtyRate(tty.Fd(), applied), 0);
        EXPECT_EQ(applied, rate);
    }
    for (const TtySettings& wrong : {Framing(0, 8, TtyParity::None, TtyStopBits::One),
             Framing(9600, 4, TtyParity::None, TtyStopBits::One),
             Framing(9600, 9, TtyParity::None, TtyStopBits::One)})
        EXPECT_EQ(tty.Apply(wrong), EINVAL);
}

TEST_F(SerialTtyTest, AModemLineOnALineWithoutThemIsNoError)
{
    EXPECT_EQ(tty.SetRts(true), 0);
    EXPECT_TRUE(tty.RtsRaised());
    EXPECT_EQ(tty.SetRts(false), 0);
    EXPECT_FALSE(tty.RtsRaised());
    EXPECT_EQ(tty.SetDtr(true), 0);
    tty.Close();
    EXPECT_EQ(tty.SetRts(true), EBADF);
}

TEST_F(SerialTtyTest, WritesReachThePeerAndThePeerIsRead)
{
    ASSERT_EQ(tty.Apply(TtySettings {}), 0);
    const Octets frame = {0xA0, 0x26, 0x0D, 0x0A, 0x11, 0x13, 0x00, 0xFF};
    const auto written = tty.Write(frame.data(), frame.size(), Clock::now() + 100ms);
    EXPECT_EQ(written.done, frame.size());
    EXPECT_FALSE(written.timedOut);
    EXPECT_EQ(tty.WaitOutputEmpty(Clock::now() + 100ms), 0);
    EXPECT_EQ(tty.Drain(), 0);
    EXPECT_EQ(line.Hear(frame.size()), frame);

    line.Say(frame);
    Octets buffer(frame.size());
    const auto read = ReadWithin(buffer, {.total = 1000ms, .interval = {}, .guard = {}});
    EXPECT_EQ(read.got, frame.size());
    EXPECT_EQ(buffer, frame);
}

TEST_F(SerialTtyTest, AReadEndsAtItsTotalOrIntervalLimitOrFailsAtItsGuard)
{
    ASSERT_EQ(tty.Apply(TtySettings {}), 0);
    Octets buffer(5);

    line.Say({1, 2, 3});
    WaitForInput(3);
    auto read = ReadWithin(buffer, {.total = 40ms, .interval = {}, .guard = 2000ms});
    EXPECT_EQ(read.got, 3u);
    EXPECT_FALSE(read.guardExpired);

    // The interval counts only after the first octet: a slow start is not cut short.
    std::thread late([&] {
        std::this_thread::sleep_for(30ms);
        line.Say({4, 5});
    });
    const auto start = Clock::now();
    read = ReadWithin(buffer, {.total = 5000ms, .interval = 10ms, .guard = 10000ms});
    late.join();
    EXPECT_EQ(read.got, 2u);
    EXPECT_LT(Clock::now() - start, 2000ms);

    read = ReadWithin(buffer, {.total = {}, .interval = 5ms, .guard = 20ms});
    EXPECT_EQ(read.got, 0u);
    EXPECT_TRUE(read.guardExpired);

    // A guard no later than the total lets the total end the read.
    read = ReadWithin(buffer, {.total = 10ms, .interval = {}, .guard = 10ms});
    EXPECT_FALSE(read.guardExpired);
}

TEST(SerialTtyHangUp, AReadOnALineWhosePeerIsGoneFails)
{
    auto line = std::make_unique<PtyLine>();
    SerialTty tty;
    ASSERT_EQ(tty.Open(line->SlavePath()), 0);
    line.reset();
    uint8_t octet = 0;
    const auto read = tty.Read(&octet, 1, {.total = 500ms, .interval = {}, .guard = {}});
    EXPECT_EQ(read.error, EIO);
}

TEST_F(SerialTtyTest, AWriteStoppedByThePeersXoffTimesOutAndGoesOnAfterXon)
{
    TtySettings s;
    s.xonXoffOut = true;
    ASSERT_EQ(tty.Apply(s), 0);
    line.Say({0x13});
    ASSERT_TRUE(WaitUntilStopped(tty.Fd()));
    const Octets frame = {1, 2, 3};
    auto written = tty.Write(frame.data(), frame.size(), Clock::now() + 20ms);
    EXPECT_TRUE(written.timedOut);
    EXPECT_EQ(written.done, 0u);

    line.Say({0x11});
    written = tty.Write(frame.data(), frame.size(), Clock::now() + 1000ms);
    EXPECT_FALSE(written.timedOut);
    EXPECT_EQ(line.Hear(3), frame);
}

TEST_F(SerialTtyTest, FlushingTheInputDropsWhatThePeerSentBefore)
{
    ASSERT_EQ(tty.Apply(TtySettings {}), 0);
    line.Say({7, 8, 9});
    pollfd p {tty.Fd(), POLLIN, 0};
    ASSERT_EQ(poll(&p, 1, 1000), 1);
    EXPECT_EQ(tty.FlushInput(), 0);
    Octets buffer(3);
    EXPECT_EQ(ReadWithin(buffer, {.total = 20ms, .interval = {}, .guard = {}}).got, 0u);
}
