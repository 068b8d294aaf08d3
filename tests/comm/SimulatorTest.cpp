// The simulated FT3 line, driven over its pseudo-terminal with plain reads and writes.
#include "comm/FT3Share.h"
#include "comm/FT3TestUtil.h"
#include "tools/ft3sim/Simulator.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <poll.h>
#include <unistd.h>

using namespace std::chrono_literals;
using ft3sim::FaultRule;
using ft3sim::ReplyFaults;

namespace {

using Clock = std::chrono::steady_clock;

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim.Start();
        fd = open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override { close(fd); }

    void WriteOctets(const DynByteArray& octets)
    {
        ASSERT_EQ(write(fd, octets.data(), octets.size()), static_cast<ssize_t>(octets.size()));
    }

    // Sends a request (user data) as the program would frame it; returns the frame.
    DynByteArray Send(DynByteArray userData)
    {
        MakePackageFT31(userData, 0);
        WriteOctets(userData);
        return userData;
    }

    // Reads what comes within `first`, then until `quiet` passes without another octet
    // (or until `want` octets have come, when given).
    DynByteArray ReadUntilQuiet(std::chrono::milliseconds quiet = 30ms,
                                std::chrono::milliseconds first = 2000ms, size_t want = 0)
    {
        DynByteArray octets;
        while (want == 0 || octets.size() < want) {
            pollfd in{fd, POLLIN, 0};
            const auto wait = octets.empty() ? first : quiet;
            if (poll(&in, 1, static_cast<int>(wait.count())) <= 0)
                return octets;
            uint8_t chunk[512];
            const ssize_t count = read(fd, chunk, sizeof chunk);
            if (count <= 0)
                return octets;
            octets.insert(octets.end(), chunk, chunk + count);
        }
        return octets;
    }

    // Nothing comes back within a short while.
    bool Silent() { return ReadUntilQuiet(30ms, 100ms).empty(); }

    // Requests sensor data of a channel from the local block.
    DynByteArray SensorRequest(uint16_t channel)
    {
        return {0xDB, 0x01, 0xFA, 0x00, 0x00, 0x14, 0x10, static_cast<uint8_t>(channel & 0xFF),
                static_cast<uint8_t>(channel >> 8), 0x02};
    }
    DynByteArray SwitchRequest(uint8_t target, bool on, uint8_t attempt = 0)
    {
        return {0xDB, 0x00, 0xFA, 0x00, 0x00, 0x50, target, static_cast<uint8_t>(on), attempt};
    }

    // Switches a block on and drops the commutator's reply.
    void SwitchOn(uint8_t block)
    {
        Send(SwitchRequest(block, true));
        ASSERT_EQ(ReadUntilQuiet().size(), 20u);
    }

    ft3sim::Simulator sim;
    int fd = -1;
};

std::string DevStateOf(DynByteArray frame)
{
    return MessageOf<EDevState>([&] { ExtractPackageFT31(frame); });
}

} // namespace

TEST_F(SimulatorTest, CommutatorSwitchesOneBlockAtATimeAndTheRelay)
{
    const DynByteArray sent = Send(SwitchRequest(3, true, 2));
    DynByteArray reply = ReadUntilQuiet();
    ExtractPackageFT31(reply);
    EXPECT_EQ(reply, Hex("80 FA 00 00 00 D0 03 01 02 00"));
    EXPECT_EQ(sim.commutator().BlockOn(), 3);

    Send(SwitchRequest(5, true));
    ReadUntilQuiet();
    EXPECT_EQ(sim.commutator().BlockOn(), 5) << "switching a block on switches the other off";
    Send(SwitchRequest(3, false));
    ReadUntilQuiet();
    EXPECT_EQ(sim.commutator().BlockOn(), 5) << "switching off a block that is off changes nothing";
    Send(SwitchRequest(ft3sim::Commutator::kRelayModule, true));
    ReadUntilQuiet();
    EXPECT_TRUE(sim.commutator().RelayOn());
    Send(SwitchRequest(5, false));
    ReadUntilQuiet();
    EXPECT_EQ(sim.commutator().BlockOn(), -1);

    using Switch = ft3sim::Commutator::Switch;
    EXPECT_EQ(sim.commutator().Switches(),
              (std::vector<Switch>{{3, true, 2}, {5, true, 0}, {3, false, 0}, {0xE0, true, 0}, {5, false, 0}}));
    const auto exchanges = sim.Exchanges();
    ASSERT_EQ(exchanges.size(), 5u);
    EXPECT_EQ(exchanges[0].request, sent) << "the octets on the line are recorded as they came";
    EXPECT_TRUE(exchanges[0].valid);
    EXPECT_EQ(exchanges[0].userData, Hex("DB 00 FA 00 00 50 03 01 02"));
}

TEST_F(SimulatorTest, LocalBlockAnswersForTheBlockSwitchedOn)
{
    sim.localBlock().SetReadings(2, 16, {1000, 0, 5, 0x8123});
    sim.localBlock().SetReadings(4, 16, {1, 2, 3, 4});

    // No block on: address 1 is silent.
    Send(SensorRequest(16));
    EXPECT_TRUE(Silent());

    SwitchOn(2);
    Send(SensorRequest(16));
    DynByteArray reply = ReadUntilQuiet();
    ExtractPackageFT31(reply);
    EXPECT_EQ(reply, Hex("88 FA 01 00 00 94 10 10 00 02 E8 03 00 00 05 00 23 81"));
    EXPECT_EQ(GetAddrCH_14(reply), 16);
    EXPECT_EQ(GetPosDT_14(reply), 10);

    SwitchOn(4);
    Send(SensorRequest(16));
    reply = ReadUntilQuiet();
    ExtractPackageFT31(reply);
    EXPECT_EQ(DynByteArray(reply.begin() + 10, reply.end()), Hex("01 00 02 00 03 00 04 00"));
    EXPECT_EQ(sim.localBlock().RequestsServed(2), 1);
    EXPECT_EQ(sim.localBlock().RequestsServed(4), 1);

    // A channel without readings is reported as not configured.
    Send(SensorRequest(17));
    EXPECT_EQ(DevStateOf(ReadUntilQuiet()),
              "Канал с указанным логическим номером (индексом) отсутствует в конфигурации данной "
              "станции (не определен). \rпри ответе от контроллера с адресом 1");
    sim.localBlock().SetDefaultReadings(ft3sim::RawWords{7, 7, 7, 7});
    Send(SensorRequest(17));
    EXPECT_EQ(DevStateOf(ReadUntilQuiet()), "no failure");
}

TEST_F(SimulatorTest, FaultsShapeTheReply)
{
    sim.localBlock().SetDefaultReadings(ft3sim::WordsForTemperature(15.0));
    SwitchOn(0);
    const DynByteArray clean = Hex("88 FA 01 00 00 94 10 00 00 02") ;

    struct Case {
        const char* what;
        ReplyFaults faults;
        std::function<void(const DynByteArray& octets)> check;
    };
    const auto extractsTo = [](DynByteArray octets) {
        ExtractPackageFT31(octets);
        return octets;
    };
    const std::vector<Case> cases = {
        {"silent", {.silent = true}, [](const DynByteArray& o) { EXPECT_TRUE(o.empty()); }},
        {"stray octets",
         {.strayPrefix = ft3sim::StrayOctets(253)},
         [&](const DynByteArray& o) {
             ASSERT_EQ(o.size(), 253u + 25u);
             EXPECT_EQ(DynByteArray(o.begin(), o.begin() + 253), ft3sim::StrayOctets(253));
             EXPECT_EQ(o[253], 0xA0);
         }},
        {"broken CRC",
         {.brokenCrc = true},
         [](DynByteArray o) {
             EXPECT_THROW(ExtractPackageFT31(o), EErrCRC);
         }},
        {"error code",
         {.errorCode = 13},
         [](const DynByteArray& o) {
             EXPECT_EQ(DevStateOf(o), "Ошибка №13. \rпри ответе от контроллера с адресом 1");
         }},
        {"state flags",
         {.stateFlags = 0x80},
         [](const DynByteArray& o) {
             EXPECT_EQ(DevStateOf(o), "Авария батареи питания ОЗУ\r\rпри ответе от контроллера с адресом 1");
         }},
        {"cannot deliver",
         {.cannotDeliver = true},
         [](const DynByteArray& o) {
             EXPECT_EQ(DevStateOf(o),
                       "Запрашиваемые данные не могут быть переданы при ответе от контроллера с адресом 1");
         }},
        {"old format",
         {.oldFormat = true},
         [&](const DynByteArray& o) {
             EXPECT_EQ(o[3], 0x08) << "bit 7 of the control octet clear";
             EXPECT_EQ(o[4], 0x01) << "the source first";
             const DynByteArray userData = extractsTo(o);
             EXPECT_EQ(DynByteArray(userData.begin() + 1, userData.begin() + 10),
                       DynByteArray(clean.begin() + 1, clean.end()));
         }},
        {"false length",
         {.lengthOctet = 40},
         [](DynByteArray o) {
             ASSERT_EQ(o.size(), 25u);
             EXPECT_EQ(o[2], 40);
             EXPECT_NO_THROW(TestPackageCRC_FT3(o, 20)) << "the first block still checks out";
         }},
        {"truncated", {.truncateTo = 15}, [](const DynByteArray& o) { EXPECT_EQ(o.size(), 15u); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim.AddFault({.address = 1, .times = 1, .faults = c.faults});
        Send(SensorRequest(0));
        c.check(c.faults.silent ? ReadUntilQuiet(30ms, 150ms) : ReadUntilQuiet());
        // The fault was for one reply only.
        Send(SensorRequest(0));
        const DynByteArray next = extractsTo(ReadUntilQuiet());
        EXPECT_EQ(DynByteArray(next.begin(), next.begin() + 10), clean);
    }
}

TEST_F(SimulatorTest, FaultsByChannelAndTiming)
{
    sim.localBlock().SetDefaultReadings(ft3sim::RawWords{1, 2, 3, 4});
    SwitchOn(1);
    sim.AddFault({.address = 1, .channel = 7, .faults = {.silent = true}});
    for (int round = 0; round < 2; ++round) {
        Send(SensorRequest(7));
        EXPECT_TRUE(Silent()) << "channel 7 stays silent every time";
        Send(SensorRequest(8));
        EXPECT_EQ(ReadUntilQuiet().size(), 25u);
    }
    sim.ClearFaults();

    // A delayed reply.
    sim.AddFault({.times = 1, .faults = {.delay = 150ms}});
    auto start = Clock::now();
    Send(SensorRequest(8));
    EXPECT_EQ(ReadUntilQuiet().size(), 25u);
    EXPECT_GE(Clock::now() - start, 150ms);

    // Octets paced at 9600 baud: 25 octets take at least 24 octet times. (The reader waits for
    // all 25 however late the simulator gets to the next octet.)
    sim.AddFault({.times = 1, .faults = {.baud = 9600}});
    start = Clock::now();
    Send(SensorRequest(8));
    EXPECT_EQ(ReadUntilQuiet(1000ms, 2000ms, 25).size(), 25u);
    EXPECT_GE(Clock::now() - start, std::chrono::microseconds(24 * 10'000'000 / 9600));

    // A reply split by a pause: the first read sees only the first part. The pause is long
    // beside the quiet time the read waits for, so that a slow reader still stops at the gap.
    sim.AddFault({.times = 1, .faults = {.pauseAfter = 5, .pause = 500ms}});
    Send(SensorRequest(8));
    EXPECT_EQ(ReadUntilQuiet(100ms).size(), 5u) << "the pause is 500 ms";
    EXPECT_EQ(ReadUntilQuiet().size(), 20u);
}

TEST_F(SimulatorTest, ALineRateDelaysTheReplyByTheRequestsWireTimeAndPacesIt)
{
    SwitchOn(1);
    // 2400 baud: an octet takes 4.17 ms; a 20-octet request and its 20-octet reply take 40.
    sim.SetLineRate(2400);
    const auto octet = std::chrono::microseconds(10'000'000 / 2400);
    const auto start = Clock::now();
    Send(SensorRequest(8));
    pollfd in{fd, POLLIN, 0};
    ASSERT_EQ(poll(&in, 1, 2000), 1);
    const auto firstOctet = Clock::now() - start;
    EXPECT_EQ(ReadUntilQuiet(1000ms, 2000ms, 20).size(), 20u);
    EXPECT_GE(firstOctet, 21 * octet) << "the request's 20 octets, then the reply's first";
    EXPECT_GE(Clock::now() - start, 40 * octet);
}

TEST_F(SimulatorTest, FindsFramesInNoiseAndIgnoresBrokenOnes)
{
    SwitchOn(0);
    sim.ClearExchanges();

    // Noise (with a lone leader octet) before a request does not hide it.
    DynByteArray noisy = Hex("00 A0 55 A0 A0");
    DynByteArray frame = SwitchRequest(3, true);
    MakePackageFT31(frame, 0);
    noisy.insert(noisy.end(), frame.begin(), frame.end());
    WriteOctets(noisy);
    EXPECT_EQ(ReadUntilQuiet().size(), 20u);
    EXPECT_EQ(sim.commutator().BlockOn(), 3);

    // A request with a broken CRC gets no reply.
    frame.back() ^= 1;
    WriteOctets(frame);
    EXPECT_TRUE(Silent());

    // A partial frame is dropped after the line has been quiet, and the next one is served.
    sim.SetFrameGap(30ms);
    WriteOctets(Hex("A0 26 09 DB 00"));
    ASSERT_TRUE(sim.WaitForExchanges(3, 1000ms));
    Send(SwitchRequest(4, true));
    EXPECT_EQ(ReadUntilQuiet().size(), 20u);
    EXPECT_EQ(sim.commutator().BlockOn(), 4);

    const auto exchanges = sim.Exchanges();
    ASSERT_EQ(exchanges.size(), 4u);
    EXPECT_TRUE(exchanges[0].valid);
    EXPECT_FALSE(exchanges[1].valid);
    EXPECT_TRUE(exchanges[1].reply.empty());
    EXPECT_FALSE(exchanges[2].valid);
    EXPECT_EQ(exchanges[2].request, Hex("A0 26 09 DB 00"));
    EXPECT_TRUE(exchanges[3].valid);
}

TEST_F(SimulatorTest, EchoSendsTheRequestBackBeforeTheReply)
{
    sim.SetEcho(true);
    const DynByteArray frame = Send(SwitchRequest(2, true));
    // The echo and the reply are two writes: wait for both, however the thread is scheduled.
    const DynByteArray octets = ReadUntilQuiet(500ms, 2000ms, 40);
    ASSERT_EQ(octets.size(), 40u);
    EXPECT_EQ(DynByteArray(octets.begin(), octets.begin() + 20), frame);
}

TEST_F(SimulatorTest, AddedDevicesAnswerTheirOwnAddress)
{
    // A stand-in for a controller added later: answers function 1 at address 7 and at 254.
    struct Probe : ft3sim::Device {
        bool Accepts(uint8_t address) const override
        {
            return address == 7 || address == ft3sim::kBroadcastAddress;
        }
        std::optional<DynByteArray> Answer(const ft3sim::Request& request) override
        {
            DynByteArray reply = ft3sim::ReplyHeader(request, 7);
            reply.push_back(0x42);
            return reply;
        }
    };
    sim.AddDevice(std::make_shared<Probe>());
    for (uint8_t address : {7, 254}) {
        Send({0x53, address, 0xFA, 0x00, 0x00, 0x01});
        DynByteArray reply = ReadUntilQuiet();
        ExtractPackageFT31(reply);
        EXPECT_EQ(reply, Hex("88 FA 07 00 00 81 42")) << int(address);
    }
    // Nobody at address 9.
    Send({0x53, 9, 0xFA, 0x00, 0x00, 0x01});
    EXPECT_TRUE(Silent());
}

TEST(SimulatorReadings, WordsGiveTheTemperatureThroughTheBuiltInProcedure)
{
    for (double celsius : {-20.0, 0.0, 15.0, 40.0}) {
        const auto w = ft3sim::WordsForTemperature(celsius);
        const double current = (int16_t(w[0]) - int16_t(w[1])) / 51.0;
        const double ohms = (int16_t(w[3]) - 2 * int16_t(w[2])) / current;
        EXPECT_NEAR((ohms - 50.0) * 4.6729, celsius, 0.25) << celsius;
    }
}

namespace {

// Reads once from a line that may have hung up: the octets' count, 0 at a hang-up, or -errno.
ssize_t ReadOnce(int fd)
{
    pollfd in{fd, POLLIN, 0};
    poll(&in, 1, 500);
    uint8_t octet;
    const ssize_t got = read(fd, &octet, 1);
    return got >= 0 ? got : -errno;
}

std::string LinkTarget(const std::filesystem::path& link)
{
    return std::filesystem::read_symlink(link).string();
}

} // namespace

TEST_F(SimulatorTest, AVanishedLineHangsUpAndReturnsOnANewDeviceBehindTheLink)
{
    const auto folder = std::filesystem::temp_directory_path() / ("ft3sim_link_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const auto link = folder / "COM3";
    sim.KeepLink(link.string());
    const std::string before = sim.SlavePath();
    EXPECT_EQ(LinkTarget(link), before);

    sim.Vanish();
    EXPECT_FALSE(sim.Present());
    const ssize_t got = ReadOnce(fd);
    EXPECT_TRUE(got == 0 || got == -EIO) << "the open line hangs up, read gave " << got;
    EXPECT_EQ(write(fd, "x", 1), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_FALSE(std::filesystem::exists(link)) << "the link points where nothing is";
    EXPECT_EQ(open(link.c_str(), O_RDWR | O_NOCTTY), -1);
    EXPECT_EQ(errno, ENOENT);

    sim.Return();
    EXPECT_TRUE(sim.Present());
    EXPECT_EQ(LinkTarget(link), sim.SlavePath());
    close(fd);
    fd = open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    SwitchOn(4);
    EXPECT_EQ(sim.commutator().BlockOn(), 4) << "the controllers answer on the new line";
    std::filesystem::remove_all(folder);
}

TEST_F(SimulatorTest, TheLineVanishesAtTheRequestAfterTheAnsweredOnesAndComesBackByItself)
{
    sim.VanishAfter(1, 300ms);
    SwitchOn(1);
    Send(SwitchRequest(2, true));
    EXPECT_TRUE(Silent()) << "the request that meets the vanishing line gets no reply";
    EXPECT_FALSE(sim.Present());
    ASSERT_EQ(sim.Exchanges().size(), 2u);
    EXPECT_TRUE(sim.Exchanges()[1].reply.empty());
    EXPECT_EQ(sim.commutator().BlockOn(), 1);

    const auto deadline = Clock::now() + 5s;
    while (!sim.Present() && Clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(sim.Present());
    close(fd);
    fd = open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    SwitchOn(3);
    EXPECT_EQ(sim.commutator().BlockOn(), 3);
}
