#include "comm/CommPort.h"
#include "comm/PortLock.h"
#include "platform/posix/PortWriteLock.h"
#include "platform/posix/SystemError.h"

#include "support/PtyLine.h"
#include "tools/ft3sim/Simulator.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <sys/ioctl.h>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int PortNumber = 7;

// Short time-outs keep the failing cases quick: a read may take 2 ms per octet + 30 ms and
// pauses at most 20 ms between octets; a write may take 1 ms per octet + 50 ms.
TPortTimeOut QuickTimeOuts()
{
    return {20, 2, 30, 1, 50};
}

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EPortException& e) {
        return e.Message();
    }
    return "no failure";
}

bool Writable(int fd)
{
    pollfd p {fd, POLLOUT, 0};
    return poll(&p, 1, 0) == 1 && (p.revents & POLLOUT);
}

} // namespace

class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.Link(PortNumber, line.SlavePath());
        port.SetNumber(PortNumber);
        port.SetTimeOut(QuickTimeOuts());
    }

    void Open(uint32_t extraFlags = 0)
    {
        TPortParametrs param;
        param.BaudRate = 19200;
        param.Flags = 16 | extraFlags;
        port.SetParam(param);
        port.SetEnable(true);
        ASSERT_TRUE(port.Enable()) << port.Status();
    }

    void Send(const Octets& frame) { port.Send(frame.data(), frame.size()); }
    Octets Read(uint16_t count)
    {
        Octets buffer(count);
        port.ReadData(buffer.data(), count);
        return buffer;
    }

    // Waits until the port has `count` octets waiting: the pseudo-terminal hands on what the
    // peer says a moment later, and on a loaded machine that moment may outlast a quick read.
    void WaitForInput(int count)
    {
        int waiting = 0;
        for (int i = 0; i < 2000; ++i) {
            if (ioctl(port.Handle(), FIONREAD, &waiting) == 0 && waiting >= count)
                return;
            std::this_thread::sleep_for(1ms);
        }
        FAIL() << "only " << waiting << " of " << count << " octets came";
    }

    // The peer stops our output with XOFF (the line discipline takes it a moment later).
    void StopOutput()
    {
        line.Say({0x13});
        for (int i = 0; i < 1000 && Writable(port.Handle()); ++i)
            std::this_thread::sleep_for(1ms);
        ASSERT_FALSE(Writable(port.Handle()));
    }

    // Opens the port with short write time-outs; the peer holds our output back, so that the
    // first two sends time out.
    void TimeOutTwoSends()
    {
        port.SetTimeOut({20, 2, 30, 0, 20});
        Open(PortFlag::OutX);
        StopOutput();
        EXPECT_EQ(MessageOf([&] { Send(frame); }), "Тайм-аут при передаче");
        EXPECT_EQ(MessageOf([&] { Send(frame); }), "Тайм-аут при передаче");
    }

    // The peer lets our output go again (XON) and takes whatever was left on the line.
    void ResumeOutput()
    {
        line.Say({0x11});
        for (int i = 0; i < 1000 && !Writable(port.Handle()); ++i)
            std::this_thread::sleep_for(1ms);
        line.Hear(4096, 20ms);
    }

    PortHome home;
    PtyLine line;
    TCommPort port;
    const Octets frame = {0xA0, 0x26, 0x05, 0x40, 0x01, 0xFA, 0x00, 0x00, 0x2E, 0x9B};
};

TEST(CommPortDefaults, ANewPortIsClosedWithTheClassicSettings)
{
    TCommPort port;
    EXPECT_EQ(port.Number(), 0);
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_FALSE(port.Enable());
    EXPECT_FALSE(port.Echo());
    EXPECT_FALSE(port.is485());
    EXPECT_FALSE(port.RsvClear());
    EXPECT_TRUE(port.ChangeCursor());
    EXPECT_EQ(port.Status(), "отсутствует");
    EXPECT_EQ(port.FailureCount(), 0);
    const TPortParametrs p = port.Param();
    EXPECT_EQ(p.DCBlength, 28u);
    EXPECT_EQ(p.BaudRate, 9600u);
    EXPECT_EQ(p.Flags, 17u);
    EXPECT_EQ(p.ByteSize, 8);
    EXPECT_EQ(p.Parity, 0);
    EXPECT_EQ(p.StopBits, 0);
    EXPECT_EQ(p.XonLim + p.XoffLim + p.XonChar + p.XoffChar + p.ErrorChar + p.EofChar + p.EvtChar
            + p.wReserved + p.wReserved1,
        0);
    EXPECT_EQ(port.TimeOut(), (TPortTimeOut {50, 50, 0, 5, 10}));
}

TEST_F(CommPortTest, OpensConfiguresAndClosesThePortItsNumberNames)
{
    TPortParametrs param;
    param.BaudRate = 19200;
    param.Flags = 16;
    param.StopBits = 2;
    port.SetParam(param);
    port.SetEnable(true);
    ASSERT_TRUE(port.Enable());
    EXPECT_EQ(port.Status(), "готов");
    ASSERT_GE(port.Handle(), 0);
    int exclusive = 0;
    ASSERT_EQ(ioctl(port.Handle(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    const termios t = line.Settings();
    EXPECT_EQ(cfgetospeed(&t), B19200);
    EXPECT_NE(t.c_cflag & CSTOPB, 0u);
    EXPECT_DOUBLE_EQ(port.CharTime(), 11.0 / 19200);

    port.SetEnable(false);
    EXPECT_FALSE(port.Enable());
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_EQ(port.Status(), "неактивен");

    // Closed on request (say, for another instance) and opened again later.
    port.SetEnable(true);
    EXPECT_EQ(port.Status(), "готов");
}

TEST_F(CommPortTest, APortThatCannotBeOpenedStaysClosedWithTheSystemsReason)
{
    home.Link(9, "/nonexistent/ttyUSB9");
    port.SetNumber(9);
    port.SetEnable(true);
    EXPECT_FALSE(port.Enable());
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_EQ(port.Status(), "Нет такого файла или каталога");

    // Settings the line cannot take are refused rather than reported as ready.
    port.SetNumber(PortNumber);
    TPortParametrs wrong;
    wrong.ByteSize = 9;
    port.SetParam(wrong);
    port.SetEnable(true);
    EXPECT_FALSE(port.Enable());
    EXPECT_EQ(port.Status(), SystemErrorText(EINVAL));
}

TEST_F(CommPortTest, ASecondProgramCannotOpenAPortInUse)
{
    Open();
    const Unprivileged unprivileged;
    TCommPort second;
    second.SetNumber(PortNumber);
    second.SetEnable(true);
    EXPECT_FALSE(second.Enable());
    EXPECT_EQ(second.Status(), SystemErrorText(EBUSY));
}

TEST_F(CommPortTest, ChangingTheNumberClosesAnOpenPortForGood)
{
    Open();
    port.SetNumber(PortNumber); // unchanged: nothing happens
    EXPECT_TRUE(port.Enable());
    port.SetNumber(PortNumber + 1);
    EXPECT_FALSE(port.Enable());
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_EQ(port.Status(), "неактивен");
}

TEST_F(CommPortTest, SendsAFrameAndReadsTheReply)
{
    Open();
    Send(frame);
    EXPECT_EQ(line.Hear(frame.size()), frame);
    const Octets reply = {0xA0, 0x26, 0x03, 0x00, 0xFA, 0x01};
    line.Say(reply);
    WaitForInput(static_cast<int>(reply.size()));
    EXPECT_EQ(Read(static_cast<uint16_t>(reply.size())), reply);
    EXPECT_EQ(port.FailureCount(), 0);
}

TEST_F(CommPortTest, RsvClearDropsStaleInputBeforeTheSend)
{
    for (const bool clear : {false, true}) {
        SCOPED_TRACE(clear);
        port.SetRsvClear(clear);
        port.SetEnable(false);
        Open();
        line.Say({0x55, 0x66});
        pollfd p {port.Handle(), POLLIN, 0};
        ASSERT_EQ(poll(&p, 1, 1000), 1);
        Send(frame);
        line.Hear(frame.size());
        line.Say({0x77});
        WaitForInput(clear ? 1 : 3);
        EXPECT_EQ(Read(1), clear ? Octets {0x77} : Octets {0x55});
    }
}

TEST_F(CommPortTest, OctetsGivenBackAreReadFirstAndDroppedAsStaleInput)
{
    Open();
    line.Say({1, 2, 3, 4, 5});
    WaitForInput(5);
    Octets some(8);
    ASSERT_EQ(port.ReadSome(some.data(), 3), 3);
    EXPECT_EQ(Octets(some.begin(), some.begin() + 3), (Octets {1, 2, 3}));
    port.Unread(some.data() + 1, 2);
    line.Say({6});
    WaitForInput(3);
    EXPECT_EQ(Read(5), (Octets {2, 3, 4, 5, 6}));
    EXPECT_EQ(MessageOf([&] { port.ReadSome(some.data(), 8); }), ReceivedCountMessage(0, 1));

    port.Unread(some.data(), 1);
    port.SetRsvClear(true);
    Send(frame);
    line.Hear(frame.size());
    line.Say({7});
    WaitForInput(1);
    EXPECT_EQ(Read(1), Octets {7});
}

TEST_F(CommPortTest, AShortOrLateReplyFailsWithItsOwnMessage)
{
    Open();
    const struct {
        size_t sent;
        uint16_t expected;
        const char* message;
    } cases[] = {
        {5, 17, "Принято 5 байт ожидалось 17 байт"},
        {22, 23, "Принято 22 байта ожидалось 23 байта"},
        {12, 14, "Принято 12 байт ожидалось 14 байт"},
        {0, 1, "Принято 0 байт ожидалось 1 байт"},
    };
    for (const auto& c : cases) {
        line.Say(Octets(c.sent, 0x42));
        WaitForInput(static_cast<int>(c.sent));
        EXPECT_EQ(MessageOf([&] { Read(c.expected); }), c.message);
    }

    // Without an interval the guard is the constant alone (20 ms), and it passes long before the
    // total (4 x 1000 + 20 ms).
    port.SetTimeOut({0, 1000, 20, 1, 50});
    const auto start = Clock::now();
    EXPECT_EQ(MessageOf([&] { Read(4); }), "Тайм-аут при приёме");
    EXPECT_LT(Clock::now() - start, 2000ms);
}

TEST(ReceivedCountMessage, TheWordForOctetsTakesItsRussianPlural)
{
    const std::pair<int, const char*> endings[] = {{0, ""}, {1, ""}, {2, "а"}, {4, "а"}, {5, ""},
        {11, ""}, {12, ""}, {14, ""}, {21, ""}, {22, "а"}, {104, "а"}, {111, ""}, {112, ""},
        {122, "а"}, {1013, ""}};
    for (const auto& [n, ending] : endings)
        EXPECT_EQ(ReceivedCountMessage(n, 1), "Принято " + std::to_string(n) + " байт" + ending
                + " ожидалось 1 байт")
            << n;
}

TEST_F(CommPortTest, TheEchoOfEachFrameIsReadBackAndChecked)
{
    enum class Peer { Echoes, Garbles, Silent };
    for (const bool rs485 : {false, true}) {
        for (const Peer peer : {Peer::Echoes, Peer::Garbles, Peer::Silent}) {
            SCOPED_TRACE(std::to_string(rs485) + " " + std::to_string(int(peer)));
            port.SetEnable(false);
            port.SetEcho(true);
            port.SetIs485(rs485);
            port.SetRsvClear(true);
            // Only the silent peer needs the read to time out; the others get time to answer
            // even on a loaded machine.
            port.SetTimeOut(peer == Peer::Silent ? QuickTimeOuts() : TPortTimeOut {1000, 20, 2000, 1, 50});
            Open();
            std::thread wire([&] {
                Octets heard = line.Hear(frame.size());
                if (peer == Peer::Garbles)
                    heard[3] ^= 0x01;
                if (peer != Peer::Silent)
                    line.Say(heard);
            });
            const std::string result = MessageOf([&] { Send(frame); });
            wire.join();
            EXPECT_EQ(result, peer == Peer::Echoes ? "no failure" : "Ошибка при приёме эха");
            // Nothing of the echo is left to be taken for the reply.
            line.Say({0x99});
            WaitForInput(1);
            EXPECT_EQ(Read(1), Octets {0x99});
        }
    }
}

TEST_F(CommPortTest, AnRs485FrameHoldsTheRightToWriteFromStartToEnd)
{
    port.SetIs485(true);
    port.SetTimeOut({20, 2, 30, 0, 2000});
    Open(PortFlag::OutX);
    StopOutput();
    auto sending = std::async(std::launch::async, [&] { return MessageOf([&] { Send(frame); }); });
    // Wait until the frame has taken the right and is held up by the peer.
    PortWriteLock other(PortNumber);
    for (int i = 0; i < 1000 && other.Acquire(0ms); ++i) {
        other.Release();
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(other.Acquire(0ms));
    line.Say({0x11});
    EXPECT_EQ(sending.get(), "no failure");
    EXPECT_EQ(line.Hear(frame.size()), frame);
    EXPECT_TRUE(other.Acquire(0ms));
}

TEST_F(CommPortTest, ASendWaitsForTheRightToWriteAtMostASecond)
{
    Open();
    PortWriteLock holder(PortNumber);
    ASSERT_TRUE(holder.Acquire(0ms));

    std::thread release([&] {
        std::this_thread::sleep_for(50ms);
        holder.Release();
    });
    Send(frame);
    release.join();
    EXPECT_EQ(line.Hear(frame.size()), frame);

    ASSERT_TRUE(holder.Acquire(0ms));
    const auto start = Clock::now();
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "Тайм-аут ожидания освобождения порта");
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 1000ms);
    EXPECT_LT(waited, 1500ms);
    EXPECT_EQ(port.FailureCount(), 1);
    EXPECT_TRUE(line.Hear(1, 10ms).empty());
}

TEST_F(CommPortTest, ThreeSendTimeOutsInARowReopenThePort)
{
    TimeOutTwoSends();
    EXPECT_EQ(port.FailureCount(), 2);

    // Someone else changes the line's settings; reopening puts ours back.
    termios t = line.Settings();
    cfsetspeed(&t, B300);
    line.ChangeSettings(t);
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "Три тайм-аута передачи подряд. Переинициализация порта.");
    EXPECT_EQ(port.FailureCount(), 3);
    EXPECT_TRUE(port.Enable());
    EXPECT_EQ(port.Status(), "готов");
    t = line.Settings();
    EXPECT_EQ(cfgetospeed(&t), B19200);

    // A write that goes out in time clears the count.
    ResumeOutput();
    Send(frame);
    EXPECT_EQ(port.FailureCount(), 0);
    EXPECT_EQ(line.Hear(frame.size()), frame);
}

TEST_F(CommPortTest, APortThatFailedToReopenIsTriedAgainAfterMoreFailures)
{
    TimeOutTwoSends();
    home.Unlink(PortNumber); // the adaptor is pulled out
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "Три тайм-аута передачи подряд. Переинициализация порта.");
    EXPECT_TRUE(port.Enable());
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_EQ(port.Status(), SystemErrorText(ENOENT));

    home.Link(PortNumber, line.SlavePath()); // and plugged in again
    // Until it is reopened the port fails for the reason its reopening failed.
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "COM7: Нет такого файла или каталога");
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "COM7: Нет такого файла или каталога");
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_EQ(port.FailureCount(), 5);
    // The sixth failure in a row reopens the port.
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "COM7: Нет такого файла или каталога");
    EXPECT_EQ(port.FailureCount(), 6);
    EXPECT_GE(port.Handle(), 0);
    EXPECT_EQ(port.Status(), "готов");

    ResumeOutput();
    Send(frame);
    EXPECT_EQ(line.Hear(frame.size()), frame);
    EXPECT_EQ(port.FailureCount(), 0);
}

// The adaptor was not plugged in when the port was opened: the port stays closed and tells why,
// as one whose device went does, and a pass does not open it; choosing another port forgets why.
TEST_F(CommPortTest, APortThatFailedToOpenTellsWhyUntilAnotherIsChosen)
{
    home.Unlink(PortNumber);
    port.SetEnable(true);
    EXPECT_FALSE(port.Enable());
    EXPECT_EQ(port.OpenError(), ENOENT);
    EXPECT_EQ(port.Status(), SystemErrorText(ENOENT));
    home.Link(PortNumber, line.SlavePath());
    EXPECT_FALSE(port.EnsureOpen());
    EXPECT_EQ(port.OpenError(), ENOENT);

    port.SetNumber(PortNumber + 1);
    EXPECT_EQ(port.OpenError(), 0);
    port.SetNumber(PortNumber);
    Open();
    EXPECT_EQ(port.OpenError(), 0);
}

// Before a pass asks anything: a port whose device went is opened again at once when its device
// is back, and tells why not while it is gone; a port closed on purpose stays closed.
TEST_F(CommPortTest, APortWhoseDeviceWentIsOpenedAgainWhenAskedAndAClosedOneIsNot)
{
    EXPECT_FALSE(port.EnsureOpen());
    EXPECT_FALSE(port.Enable());
    EXPECT_EQ(port.OpenError(), 0);

    TimeOutTwoSends();
    EXPECT_TRUE(port.EnsureOpen());
    home.Unlink(PortNumber); // the adaptor is pulled out
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "Три тайм-аута передачи подряд. Переинициализация порта.");
    ASSERT_EQ(port.Handle(), -1);
    EXPECT_FALSE(port.EnsureOpen());
    EXPECT_TRUE(port.Enable());
    EXPECT_EQ(port.OpenError(), ENOENT);
    EXPECT_EQ(port.Status(), SystemErrorText(ENOENT));

    home.Link(PortNumber, line.SlavePath()); // and plugged in again
    EXPECT_TRUE(port.EnsureOpen());
    EXPECT_GE(port.Handle(), 0);
    EXPECT_EQ(port.Status(), "готов");
    ResumeOutput();
    Send(frame);
    EXPECT_EQ(line.Hear(frame.size()), frame);
}

TEST_F(CommPortTest, ASendOnAClosedPortFailsAndNeverReopensIt)
{
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(MessageOf([&] { Send(frame); }), "COM7: порт отсутствует");
    EXPECT_EQ(MessageOf([&] { Read(1); }), "COM7: порт отсутствует");
    EXPECT_FALSE(port.Enable());
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_EQ(port.Status(), "отсутствует");
    EXPECT_EQ(port.FailureCount(), 0);

    // Opened on the device its link names, then handed over to another instance.
    Open();
    EXPECT_EQ(port.Device(), std::filesystem::canonical(line.SlavePath()).string());
    port.SetEnable(false);
    EXPECT_EQ(MessageOf([&] { Send(frame); }), "COM7: порт неактивен");
}

// The device behind the port vanishes (an adaptor pulled out) and comes back.
TEST(CommPortDevice, TheStatusFollowsWhatHappensToTheDevice)
{
    PortHome home;
    ft3sim::Simulator sim;
    sim.KeepLink(home.LinkPath(PortNumber).string());
    sim.Start();
    TCommPort port;
    port.SetTimeOut(QuickTimeOuts());
    port.SetNumber(PortNumber);
    port.SetEnable(true);
    ASSERT_TRUE(port.Enable()) << port.Status();
    const Octets frame(20, 0x55);
    const auto send = [&] { port.Send(frame.data(), frame.size()); };

    // A failure that is not the line's (the right to write cannot be had) shows while it lasts.
    const std::string lock = PortWriteLock::LockFilePath(PortNumber);
    std::filesystem::create_directory(lock);
    EXPECT_EQ(MessageOf(send), "COM7: Это каталог");
    EXPECT_EQ(port.Status(), "Это каталог");
    std::filesystem::remove(lock);
    send();
    EXPECT_EQ(port.Status(), "готов");

    sim.Vanish();
    EXPECT_EQ(MessageOf(send), "COM7: Ошибка ввода/вывода");
    EXPECT_EQ(port.Status(), "Ошибка ввода/вывода");
    uint8_t octet = 0;
    EXPECT_EQ(MessageOf([&] { port.ReadData(&octet, 1); }), "COM7: Ошибка ввода/вывода");
    // The sixth failure in a row reopens the port, and the device is not there.
    while (port.FailureCount() <= 5)
        EXPECT_EQ(MessageOf(send), "COM7: Ошибка ввода/вывода");
    EXPECT_EQ(port.Handle(), -1);
    EXPECT_TRUE(port.Enable());
    EXPECT_EQ(port.Status(), "Нет такого файла или каталога");
    EXPECT_EQ(MessageOf(send), "COM7: Нет такого файла или каталога");

    sim.Return();
    // The failure that finds the device back reopens it; the next send goes out.
    EXPECT_EQ(MessageOf(send), "COM7: Нет такого файла или каталога");
    EXPECT_EQ(port.Status(), "готов");
    send();
    EXPECT_EQ(port.FailureCount(), 0);
    EXPECT_EQ(port.Status(), "готов");
}

TEST_F(CommPortTest, ClosingWaitsForTheExchangeInProgress)
{
    Open();
    std::promise<void> holding;
    std::promise<void> finish;
    std::thread exchange([&] {
        std::lock_guard<std::recursive_mutex> hold(PortLock());
        holding.set_value();
        finish.get_future().wait();
    });
    holding.get_future().wait();
    auto closing = std::async(std::launch::async, [&] { port.SetEnable(false); });
    EXPECT_EQ(closing.wait_for(50ms), std::future_status::timeout);
    EXPECT_GE(port.Handle(), 0);
    finish.set_value();
    closing.get();
    exchange.join();
    EXPECT_EQ(port.Handle(), -1);
}

TEST(PortLock, OneReentrantLockForTheWholeProcess)
{
    EXPECT_EQ(&PortLock(), &PortLock());
    std::lock_guard<std::recursive_mutex> outer(PortLock());
    std::lock_guard<std::recursive_mutex> inner(PortLock());
    auto other = std::async(std::launch::async, [] {
        const bool got = PortLock().try_lock();
        if (got)
            PortLock().unlock();
        return got;
    });
    EXPECT_FALSE(other.get());
}

TEST_F(CommPortTest, TheBusyCursorShowsForTheSendWhenAsked)
{
    std::vector<bool> calls;
    port.BusyCursor().Install([&](bool busy) { calls.push_back(busy); });
    Open();
    Send(frame);
    port.SetChangeCursor(false);
    Send(frame);
    EXPECT_EQ(calls, (std::vector<bool> {true, false}));
}
