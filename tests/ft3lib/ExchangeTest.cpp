// Exchanges through the library's own port over a simulated line on a pseudo-terminal.
#include "support/PtyLine.h"
#include "tools/ft3sim/Simulator.h"

#include <gtest/gtest.h>

#define FT3_NAMESPACE c_api
#include "ft3lib/ft3.h"

#include <atomic>
#include <chrono>

namespace {

constexpr uint8_t kPortNumber = 6;

// A frame buffer holding the request frame built from the user data.
struct Frame {
    explicit Frame(std::initializer_list<uint8_t> userData) : length(userData.size())
    {
        std::copy(userData.begin(), userData.end(), memory);
        if (c_api::MakePackageFT31(memory, &length, sizeof memory, 0) != c_api::FT3_OK)
            ADD_FAILURE() << c_api::FT3LastError();
    }
    std::vector<uint8_t> Contents() const { return {memory, memory + length}; }

    uint8_t memory[FT3_MAX_FRAME] = {};
    size_t length;
};

Frame SensorRequest(uint8_t channel)
{
    return Frame({0x5B, 0x01, 0xFA, 0x00, 0x00, 0x14, 0x10, channel, 0x00, 0x02});
}

Frame SwitchRequest(uint8_t block)
{
    return Frame({0x5B, 0x00, 0xFA, 0x00, 0x00, 0x50, block, 0x01, 0x00});
}

int64_t CountingClock(intptr_t user)
{
    ++*reinterpret_cast<std::atomic<int>*>(user);
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class Ft3LibraryExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.Link(kPortNumber, sim.SlavePath());
        sim.localBlock().SetDefaultReadings(ft3sim::RawWords {1000, 0, 5, 1043});
        sim.Start();
        // A reply read ends as soon as its octets are in, so long limits cost the answering
        // cases nothing and give the simulator time to run on a loaded machine.
        ASSERT_NO_FATAL_FAILURE(Open({19200, 8, 0, 0, 0, 0, 1000, 20, 2000, 1, 50}));
    }
    void TearDown() override { c_api::FT3PortClose(port); }

    // Opens the port anew with these settings.
    void Open(const c_api::FT3PortSettings& settings)
    {
        c_api::FT3PortClose(port);
        port = nullptr;
        ASSERT_EQ(c_api::FT3PortOpen(kPortNumber, &settings, &port), c_api::FT3_OK)
            << c_api::FT3LastError();
    }
    // Quick time-outs keep the silent cases short.
    void OpenWithQuickTimeOuts() { Open({19200, 8, 0, 0, 0, 0, 20, 2, 30, 1, 50}); }

    PortHome home;
    ft3sim::Simulator sim;
    c_api::FT3Port* port = nullptr;
};

} // namespace

TEST_F(Ft3LibraryExchange, RepliesComeBackAsUserData)
{
    Frame frame = SwitchRequest(2);
    int64_t roundTrip = 0;
    ASSERT_EQ(c_api::ExchangeFT3Ex(port, frame.memory, &frame.length, sizeof frame.memory, 300,
                                   nullptr, 0, &roundTrip),
              c_api::FT3_OK)
        << c_api::FT3LastError();
    EXPECT_EQ(roundTrip, -1) << "no clock";
    EXPECT_EQ(frame.Contents(),
              (std::vector<uint8_t> {0x80, 0xFA, 0x00, 0x00, 0x00, 0xD0, 0x02, 0x01, 0x00, 0x00}));
    EXPECT_EQ(sim.commutator().BlockOn(), 2);

    frame = SensorRequest(16);
    ASSERT_EQ(c_api::ExchangeFT3(port, frame.memory, &frame.length, sizeof frame.memory),
              c_api::FT3_OK)
        << c_api::FT3LastError();
    uint16_t channel = 0;
    ASSERT_EQ(c_api::GetAddrCH_14(frame.memory, frame.length, &channel), c_api::FT3_OK);
    EXPECT_EQ(channel, 16);
    EXPECT_EQ(frame.length, 18u);

    std::atomic<int> reads {0};
    frame = SensorRequest(3);
    ASSERT_EQ(c_api::ExchangeFT3Ex(port, frame.memory, &frame.length, sizeof frame.memory, 300,
                                   &CountingClock, reinterpret_cast<intptr_t>(&reads), &roundTrip),
              c_api::FT3_OK)
        << c_api::FT3LastError();
    EXPECT_EQ(reads, 2);
    EXPECT_GT(roundTrip, 0);
    EXPECT_LT(roundTrip, 1'000'000);
}

TEST_F(Ft3LibraryExchange, SilenceIsNoReplyAndLeavesTheLeaderOctets)
{
    // No block switched on: address 1 stays silent.
    ASSERT_NO_FATAL_FAILURE(OpenWithQuickTimeOuts());
    Frame frame = SensorRequest(0);
    int64_t roundTrip = 0;
    std::atomic<int> reads {0};
    EXPECT_EQ(c_api::ExchangeFT3Ex(port, frame.memory, &frame.length, sizeof frame.memory, 100,
                                   &CountingClock, reinterpret_cast<intptr_t>(&reads), &roundTrip),
              c_api::FT3_E_NO_REPLY);
    EXPECT_STREQ(c_api::FT3LastError(),
                 "Нет ответа от контроллера с адресом 1 для контроллера с адресом 1\r");
    EXPECT_EQ(roundTrip, -1);
    EXPECT_EQ(frame.Contents(), (std::vector<uint8_t> {0xA0, 0x26, 0x00}));

    uint8_t leader[3] = {};
    size_t length = 0;
    EXPECT_EQ(c_api::FindMessageFT3(port, 9, leader, &length, sizeof leader, 255),
              c_api::FT3_E_NO_REPLY);
    EXPECT_STREQ(c_api::FT3LastError(), "Нет ответа от контроллера с адресом 9");
    EXPECT_EQ(length, 3u);
}

TEST_F(Ft3LibraryExchange, DeviceFaultsAndBadArguments)
{
    Frame on = SwitchRequest(0);
    ASSERT_EQ(c_api::ExchangeFT3(port, on.memory, &on.length, sizeof on.memory), c_api::FT3_OK);
    sim.AddFault({.address = 1, .times = 1, .faults = {.errorCode = 13}});
    Frame frame = SensorRequest(0);
    EXPECT_EQ(c_api::ExchangeFT3(port, frame.memory, &frame.length, sizeof frame.memory),
              c_api::FT3_E_DEVICE);
    EXPECT_STREQ(c_api::FT3LastError(), "Ошибка №13. \rпри ответе от контроллера с адресом 1");

    frame = SensorRequest(0);
    EXPECT_EQ(c_api::ExchangeFT3(nullptr, frame.memory, &frame.length, sizeof frame.memory),
              c_api::FT3_E_ARGUMENT);
    c_api::FT3Port* none = nullptr;
    EXPECT_EQ(c_api::FT3PortOpen(0, nullptr, &none), c_api::FT3_E_ARGUMENT);
    EXPECT_EQ(c_api::FT3PortOpen(kPortNumber, nullptr, nullptr), c_api::FT3_E_ARGUMENT);
    c_api::FT3PortClose(nullptr);
}

TEST(Ft3LibraryPort, APortThatCannotOpenIsReported)
{
    PortHome home;
    home.Link(7, "/nonexistent/tty");
    c_api::FT3Port* port = nullptr;
    EXPECT_EQ(c_api::FT3PortOpen(7, nullptr, &port), c_api::FT3_E_PORT);
    EXPECT_EQ(port, nullptr);
    EXPECT_EQ(std::string(c_api::FT3LastError()).rfind("COM7: ", 0), 0u) << c_api::FT3LastError();
}
