// FT3 exchanges over a real pseudo-terminal: the port object on one side, the simulated line
// of controllers on the other.
#include "base/Format.h"
#include "base/HexText.h"
#include "comm/FT3Share.h"
#include "comm/FT3TestUtil.h"
#include "comm/PortLock.h"
#include "comm/SimulatedPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

using namespace std::chrono_literals;
using ft3sim::ReplyFaults;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPortNumber = 5;
const std::string kFromBlock = " при ответе от контроллера с адресом 1";

DynByteArray SensorRequest(uint16_t channel)
{
    return Framed({0xDB, 0x01, 0xFA, 0x00, 0x00, 0x14, 0x10, static_cast<uint8_t>(channel & 0xFF),
                   static_cast<uint8_t>(channel >> 8), 0x02});
}

DynByteArray SwitchRequest(uint8_t block, bool on)
{
    return Framed({0xDB, 0x00, 0xFA, 0x00, 0x00, 0x50, block, static_cast<uint8_t>(on), 0x00});
}

class FT3ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim.localBlock().SetDefaultReadings(ft3sim::RawWords{1000, 0, 5, 1043});
        sim.Start();
        ASSERT_NO_FATAL_FAILURE(OpenOnSimulatedLine(port, home, sim, kPortNumber, AnsweringTimeOuts()));
    }

    void SwitchBlockOn(uint8_t block)
    {
        DynByteArray frame = SwitchRequest(block, true);
        ExchangeFT3Timed(port, frame, 300);
        ASSERT_EQ(sim.commutator().BlockOn(), block);
    }

    void Fault(const ReplyFaults& faults) { sim.AddFault({.address = 1, .times = 1, .faults = faults}); }

    PortHome home;
    ft3sim::Simulator sim;
    TCommPort port;
};

} // namespace

TEST_F(FT3ExchangeTest, AGoodReplyLeavesItsUserData)
{
    DynByteArray frame = SwitchRequest(2, true);
    const DynByteArray request = frame;
    ExchangeFT3Timed(port, frame, 300);
    EXPECT_EQ(frame, Hex("80 FA 00 00 00 D0 02 01 00 00"));
    ASSERT_EQ(sim.Exchanges().size(), 1u);
    EXPECT_EQ(sim.Exchanges()[0].request, request) << "the request went out whole";

    frame = SensorRequest(16);
    ExchangeFT3(port, frame);
    EXPECT_EQ(frame, Hex("88 FA 01 00 00 94 10 10 00 02 E8 03 00 00 05 00 13 04"));

    // With the caller's clock the round trip is measured; without, the result is -1.
    std::atomic<int> reads {0};
    const TFT3Clock clock = [](intptr_t user) -> int64_t {
        auto* count = reinterpret_cast<std::atomic<int>*>(user);
        ++*count;
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
    };
    frame = SensorRequest(3);
    const int64_t micros = ExchangeFT3Ex(port, frame, 300, clock, reinterpret_cast<intptr_t>(&reads));
    EXPECT_EQ(reads, 2);
    EXPECT_GT(micros, 0);
    EXPECT_LT(micros, 1'000'000);
    EXPECT_EQ(GetAddrCH_14(frame), 3);
    frame = SensorRequest(3);
    EXPECT_EQ(ExchangeFT3Ex(port, frame, 300, nullptr, 0), -1);
}

TEST_F(FT3ExchangeTest, SilenceRaisesNoReplyAfterTheTimeOut)
{
    // No block switched on: address 1 never answers.
    port.SetTimeOut(QuickTimeOuts());
    DynByteArray frame = SensorRequest(0);
    const auto start = Clock::now();
    EXPECT_EQ(MessageOf<ENoReply>([&] { ExchangeFT3Timed(port, frame, 300); }),
              "Нет ответа от контроллера с адресом 1 для контроллера с адресом 1\r");
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 300ms) << "the leader search is tried until the time-out has passed";
    EXPECT_LT(took, 1500ms);
    EXPECT_EQ(frame, Hex("A0 26 00")) << "the buffer holds the leader, not the request";

    frame = SensorRequest(0);
    EXPECT_EQ(MessageOf<ENoReply>([&] { ExchangeFT3(port, frame); }),
              "Нет ответа от контроллера с адресом 1");
}

TEST_F(FT3ExchangeTest, ReplyFailuresNameTheController)
{
    SwitchBlockOn(0);

    Fault({.brokenCrc = true});
    DynByteArray frame = SensorRequest(0);
    const std::string crcMessage = MessageOf<EErrCRC>([&] { ExchangeFT3Timed(port, frame, 300); });
    const DynByteArray sent = sim.Exchanges().back().reply;
    const unsigned received = sent[18] | sent[19] << 8;
    const unsigned computed = sent[18] | (sent[19] ^ 0xFF) << 8;
    EXPECT_EQ(crcMessage, Format("Ошибка CRC.\rНадо : %4.4X\rПолучили : %4.4X", computed, received)
                              + kFromBlock);
    EXPECT_EQ(frame[7], 0xF3);

    struct Case { const char* what; ReplyFaults faults; std::string message; };
    const Case cases[] = {
        {"error code", {.errorCode = 13}, "Ошибка №13. \rпри ответе от контроллера с адресом 1"},
        {"fault state", {.stateFlags = 0x40},
         "Отсутствие или нарушение системного параметра\r\rпри ответе от контроллера с адресом 1"},
        {"cannot deliver", {.cannotDeliver = true},
         "Запрашиваемые данные не могут быть переданы" + kFromBlock},
    };
    for (const auto& c : cases) {
        Fault(c.faults);
        frame = SensorRequest(0);
        EXPECT_EQ(MessageOf<EDevState>([&] { ExchangeFT3Timed(port, frame, 300); }), c.message) << c.what;
    }

    // An old-format reply comes out in the new layout.
    Fault({.oldFormat = true});
    frame = SensorRequest(4);
    ExchangeFT3Timed(port, frame, 300);
    EXPECT_EQ(DynByteArray(frame.begin() + 1, frame.begin() + 10), Hex("FA 01 00 00 94 10 04 00 02"));
}

TEST_F(FT3ExchangeTest, SplitAndPacedRepliesAreGatheredAcrossReads)
{
    SwitchBlockOn(1);
    const DynByteArray expected = Hex("88 FA 01 00 00 94 10 07 00 02 E8 03 00 00 05 00 13 04");

    // Pauses shorter than the gap allowed between octets: once inside the leader, once in the body.
    for (size_t splitAt : {1, 12}) {
        Fault({.pauseAfter = splitAt, .pause = 10ms});
        DynByteArray frame = SensorRequest(7);
        ExchangeFT3Timed(port, frame, 300);
        EXPECT_EQ(frame, expected) << "split after " << splitAt;
    }
    Fault({.baud = 9600});
    DynByteArray frame = SensorRequest(7);
    ExchangeFT3Timed(port, frame, 300);
    EXPECT_EQ(frame, expected);

    // A body that stops for longer than the gap fails with the port's own message.
    port.SetTimeOut(QuickTimeOuts());
    Fault({.pauseAfter = 10, .pause = 150ms});
    frame = SensorRequest(7);
    EXPECT_EQ(MessageOf<EPortException>([&] { ExchangeFT3Timed(port, frame, 300); }),
              ReceivedCountMessage(7, 22));
    // A length octet promising more than comes.
    std::this_thread::sleep_for(200ms);
    Fault({.lengthOctet = 40});
    frame = SensorRequest(7);
    EXPECT_EQ(MessageOf<EPortException>([&] { ExchangeFT3Timed(port, frame, 300); }),
              ReceivedCountMessage(22, 46));
}

TEST_F(FT3ExchangeTest, TheLeaderIsFoundAfterUpTo253StrayOctets)
{
    SwitchBlockOn(0);

    Fault({.strayPrefix = ft3sim::StrayOctets(253)});
    DynByteArray frame = SensorRequest(2);
    ExchangeFT3(port, frame);
    EXPECT_EQ(GetAddrCH_14(frame), 2);

    Fault({.strayPrefix = ft3sim::StrayOctets(254)});
    frame = SensorRequest(2);
    EXPECT_EQ(MessageOf<ENoReply>([&] { ExchangeFT3(port, frame); }),
              "Нет лидера в ответе от контроллера с адресом 1");
    std::this_thread::sleep_for(100ms);   // the rest of that reply is cleared before the next send

    Fault({.strayPrefix = ft3sim::StrayOctets(254)});
    frame = SensorRequest(2);
    EXPECT_EQ(MessageOf<ENoReply>([&] { ExchangeFT3Timed(port, frame, 0); }),
              "Нет лидера в ответе от контроллера с адресом 1 для контроллера с адресом 1\r");
    std::this_thread::sleep_for(100ms);

    // A0 A0 26: the second A0 sends the search back to its start, so this reply is missed and
    // the search ends when the line falls silent.
    port.SetTimeOut(QuickTimeOuts());
    Fault({.strayPrefix = {0xA0}});
    frame = SensorRequest(2);
    EXPECT_EQ(MessageOf<ENoReply>([&] { ExchangeFT3(port, frame); }),
              "Нет ответа от контроллера с адресом 1");
}

TEST_F(FT3ExchangeTest, AFailedSendNamesTheController)
{
    port.SetEnable(false);
    DynByteArray frame = SwitchRequest(0, true);
    const std::string message = MessageOf<ENoReply>([&] { ExchangeFT3Timed(port, frame, 300); });
    EXPECT_TRUE(message.ends_with(" для контроллера с адресом 0\r")) << message;
    EXPECT_EQ(frame, SwitchRequest(0, true)) << "the request is left as it was";

    DynByteArray tooShort = Hex("A0 26 00");
    EXPECT_THROW(ExchangeFT3Timed(port, tooShort, 300), EShareFT3Exception);
}

TEST_F(FT3ExchangeTest, ThePortLockIsHeldUntilTheReplyIsRead)
{
    SwitchBlockOn(0);
    // The controller takes its time, so that the check below comes while the exchange waits
    // even when this thread is slow to run.
    Fault({.delay = 500ms});
    auto exchange = std::async(std::launch::async, [&] {
        DynByteArray frame = SensorRequest(1);
        ExchangeFT3Timed(port, frame, 2000);
        return frame;
    });
    // Once the request is on the line, another thread cannot take the line until the reply is in.
    ASSERT_TRUE(sim.WaitForExchanges(2, 1000ms));
    EXPECT_FALSE(std::async(std::launch::async, [] {
                     const bool taken = PortLock().try_lock();
                     if (taken)
                         PortLock().unlock();
                     return taken;
                 }).get());
    EXPECT_EQ(GetAddrCH_14(exchange.get()), 1);
    EXPECT_TRUE(PortLock().try_lock());
    PortLock().unlock();
}

TEST_F(FT3ExchangeTest, TwoThreadsNeverInterleaveOnTheLine)
{
    SwitchBlockOn(3);
    sim.ClearExchanges();
    constexpr int kEach = 25;
    // One thread polls sensors, the other drives the relay, as the poll thread and a command of
    // the main window would.
    auto poll = std::async(std::launch::async, [&] {
        for (int i = 0; i < kEach; ++i) {
            DynByteArray frame = SensorRequest(static_cast<uint16_t>(i));
            ExchangeFT3Timed(port, frame, 300);
            EXPECT_EQ(frame[2], 1);
            EXPECT_EQ(GetAddrCH_14(frame), i);
        }
    });
    auto relay = std::async(std::launch::async, [&] {
        for (int i = 0; i < kEach; ++i) {
            DynByteArray frame = SwitchRequest(ft3sim::Commutator::kRelayModule, i % 2 == 0);
            ExchangeFT3Timed(port, frame, 300);
            EXPECT_EQ(frame[2], 0);
        }
    });
    poll.get();
    relay.get();
    const auto exchanges = sim.Exchanges();
    ASSERT_EQ(exchanges.size(), 2u * kEach);
    for (const auto& e : exchanges)
        EXPECT_TRUE(e.valid) << BytesToHex(e.request);
}
