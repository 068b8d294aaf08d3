// The controller service commands against the simulated data-collecting controller over a
// pseudo-terminal: the octets on the line, the decoded replies, the log and every failure.
#include "comm/BusyCursor.h"
#include "comm/FT3TestUtil.h"
#include "comm/RControl.h"
#include "comm/ControllerLine.h"

#include <chrono>
#include <cmath>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

const TDateTime kWednesday = EncodeDateTime(2006, 11, 22, 13, 15, 20, 500);

bool Near(TDateTime a, TDateTime b, double seconds)
{
    return std::fabs(a - b) * kSecsPerDay <= seconds;
}

} // namespace

class RControlTest : public ControllerLine {};

TEST_F(RControlTest, ReadControllerIdAsksAnyControllerAndLogsWhatItIs)
{
    EXPECT_EQ(ReadControllerID(port), kCollectorAddress);

    const DynByteArray frame = Hex("A0 26 06 D3 FE FA 00 00 01 00 00 00 00 00 00 00 00 00 24 EC");
    EXPECT_EQ(LastFrame(), frame);
    const DynByteArray reply = Hex("88 FA 07 00 00 81 00 00 4C 55 0C 1E 0A 0F 03 07");
    EXPECT_EQ(LastReply(), reply);
    EXPECT_EQ(Log(), (std::vector<LogLine>{
                         Plain("Считать идентификатор контроллера"),
                         Blue("<-  A0 26 06 D3 FE FA 00 00 01 00 00 00 00 00 00 00 00 00 24 EC"),
                         Received(reply),
                         Plain("Контроллер: KV312C"),
                         Plain("Дата резидента : 15.03.2007 10:30"),
                         Plain("Ok"),
                     }));

    // A firmware date that is no date fails the command after the identifier line.
    collector->SetIdentity(0x0C554C, {0x1E, 0x0A, 0x0F, 0x00, 0x07});
    ClearLog();
    EXPECT_THROW(ReadControllerID(port), EConvertError);
    ASSERT_EQ(Log().size(), 4u);
    EXPECT_EQ(Log().back(), Plain("Контроллер: KV312C"));
}

TEST_F(RControlTest, SetControllerAddressTakesTheAddressTheReplyComesFrom)
{
    uint8_t address = kCollectorAddress;
    SetControllerAddress(port, address, 9);
    EXPECT_EQ(address, 9);
    EXPECT_EQ(collector->Address(), 9);
    EXPECT_EQ(Requests().back(), Hex("D3 07 FA 00 00 03 09"));
    EXPECT_EQ(Log(), (std::vector<LogLine>{Plain("Установить новый адрес"), Sent(LastFrame()),
                                           Received(LastReply()), Plain("Ok")}));

    // Asking any controller to move: the address handed back is where it now answers.
    address = kAnyController;
    SetControllerAddress(port, address, 12);
    EXPECT_EQ(address, 12);
    EXPECT_EQ(ReadControllerID(port), 12);
}

TEST_F(RControlTest, SetControllerTimeSendsTheCP56Time2aOctets)
{
    SetControllerTime(port, kCollectorAddress, kWednesday);
    // 20,500 ms low octet first, 13:15, day 22 + 32 x Wednesday (4), November, 2006.
    EXPECT_EQ(Requests().back(), Hex("DB 07 FA 00 00 05 14 50 0F 0D 96 0B 06"));
    EXPECT_TRUE(Near(collector->Clock(), kWednesday, 1));
    EXPECT_EQ(Log(), (std::vector<LogLine>{Plain("Установить время контроллера"), Sent(LastFrame()),
                                           Received(LastReply()), Plain("Ok")}));
}

TEST_F(RControlTest, GetControllerTimeReadsTheClockOrZeroForNoValidTime)
{
    collector->SetClock(kWednesday);
    EXPECT_TRUE(Near(GetControllerTime(port, kCollectorAddress), kWednesday, 1));
    EXPECT_EQ(Requests().back(), Hex("DB 07 FA 00 00 3B"));
    EXPECT_EQ(Log(), (std::vector<LogLine>{Plain("Запрос времени контроллера"), Sent(LastFrame()),
                                           Received(LastReply()), Plain("Ok")}));

    // What the controller sets is what it reports back.
    const TDateTime set = EncodeDateTime(2024, 2, 29, 23, 59, 58, 125);
    SetControllerTime(port, kCollectorAddress, set);
    EXPECT_TRUE(Near(GetControllerTime(port, kCollectorAddress), set, 1));

    for (const auto& octets : {std::array<uint8_t, 7>{0x20, 0x4E, 0x0F, 0x0D, 0x17, 0x00, 0x06},   // month 0
                               std::array<uint8_t, 7>{}}) {                                         // no time
        collector->SetReportedClock(octets);
        ClearLog();
        EXPECT_EQ(GetControllerTime(port, kCollectorAddress), 0);
        EXPECT_EQ(Log().back(), Plain("Ok"));
    }
}

TEST_F(RControlTest, ParametersAreWrittenAndReadBack)
{
    struct Case {
        uint16_t number;
        uint8_t subIndex;
        DynByteArray value;
    };
    const Case cases[] = {
        {300, 0, {0x4B}},
        {301, 0, {0x10, 0x27}},
        {302, 0, {0xFF, 0xFF}},
        {303, 0, {0x00, 0x00}},
        {304, 0, {0x07, 0x00, 0x03, 0x00}},
        {305, 1, {0xF6}},
        {305, 6, {0x63}},
        {332, 7, {0xF0}},
    };
    for (const auto& c : cases) {
        const auto low = static_cast<uint8_t>(c.number & 0xFF);
        const auto high = static_cast<uint8_t>(c.number >> 8);
        DynByteArray write = {0x57, low, high, c.subIndex, 0x00};
        write.insert(write.end(), c.value.begin(), c.value.end());
        WriteControllerParam(port, kCollectorAddress, write);
        DynByteArray request = Hex("DB 07 FA 00 00 07 00 01");
        request.insert(request.end(), write.begin(), write.end());
        EXPECT_EQ(Requests().back(), request) << c.number;
        EXPECT_EQ(collector->Parameter(c.number, c.subIndex), c.value) << c.number;

        DynByteArray read = {low, high, c.subIndex, 0x00, 0x00};
        ReadControllerParam(port, kCollectorAddress, read);
        EXPECT_EQ(Requests().back(), (DynByteArray{0xDB, 0x07, 0xFA, 0x00, 0x00, 0x25, 0x00, 0x01, low, high,
                                                   c.subIndex, 0x00, 0x00})) << c.number;
        DynByteArray block = {c.subIndex, 0x00};
        block.insert(block.end(), c.value.begin(), c.value.end());
        EXPECT_EQ(read, block) << "the block becomes the reply from its octet 8 on: " << c.number;
    }
}

TEST_F(RControlTest, ParameterCommandsLogTheirNumberAsWritten)
{
    DynByteArray write = Hex("57 30 01 00 00 07 00 03 00");
    WriteControllerParam(port, kCollectorAddress, write);
    const DynByteArray writeFrame = LastFrame();
    const DynByteArray writeReply = LastReply();
    EXPECT_EQ(writeReply, Hex("88 FA 07 00 00 87 00 01 57 30 01 00 00 07 00 03 00"));
    DynByteArray read = Hex("31 01 03 00 00");
    ReadControllerParam(port, kCollectorAddress, read);
    EXPECT_EQ(Log(), (std::vector<LogLine>{
                         Plain("Установить парвметр №304"), Sent(writeFrame), Received(writeReply), Plain("Ok"),
                         Plain("Считать параметр №305"), Sent(LastFrame()), Received(LastReply()), Plain("Ok"),
                     }));
}

TEST_F(RControlTest, RefusedAndMismatchedParametersRaise)
{
    struct Case {
        const char* what;
        bool write;
        DynByteArray block;
        std::optional<uint16_t> reportedNumber;
        std::string message;
    };
    const Case cases[] = {
        {"unknown parameter written", true, Hex("57 2B 01 00 00 01"), {}, "Данные не приняты"},
        {"correction out of range", true, Hex("57 31 01 02 00 64"), {}, "Данные не приняты"},
        {"value of the wrong size", true, Hex("57 2C 01 00 00 01 02"), {}, "Данные не приняты"},
        {"unknown parameter read", false, Hex("2B 01 00 00 00"), {}, "Данные не приняты"},
        {"channel 7 read", false, Hex("31 01 07 00 00"), {}, "Данные не приняты"},
        {"write answered for another", true, Hex("57 2C 01 00 00 01"), 301,
         "При выполнении команды \"Записать параметр 300\", принят код параметра 301"},
        {"read answered for another", false, Hex("2C 01 00 00 00"), 333,
         "При выполнении команды \"Считать параметр 300\", принят код параметра 333"},
    };
    for (const auto& c : cases) {
        collector->SetReportedParameterNumber(c.reportedNumber);
        ClearLog();
        DynByteArray block = c.block;
        const std::string message = MessageOf<EPortException>([&] {
            if (c.write)
                WriteControllerParam(port, kCollectorAddress, block);
            else
                ReadControllerParam(port, kCollectorAddress, block);
        });
        EXPECT_EQ(message, c.message) << c.what;
        ASSERT_EQ(Log().size(), 3u) << c.what;
        EXPECT_EQ(Log().back(), Received(LastReply())) << "the log ends without Ok: " << c.what;
        EXPECT_EQ(block, c.block) << "the block is left as it was: " << c.what;
    }
}

TEST_F(RControlTest, AParameterBlockTooShortIsRefusedBeforeAnythingIsSent)
{
    for (DynByteArray block : {DynByteArray{}, Hex("57 2C")}) {
        EXPECT_EQ(MessageOf<Exception>([&] { WriteControllerParam(port, kCollectorAddress, block); }),
                  "Нет дополнительной информации для формирования команды \"Установить параметр\"");
    }
    for (DynByteArray block : {DynByteArray{}, Hex("2C")}) {
        EXPECT_EQ(MessageOf<Exception>([&] { ReadControllerParam(port, kCollectorAddress, block); }),
                  "Нет дополнительной информации для формирования команды \"считать параметр\"");
    }
    // A block that would not fit one frame is not cut short on the line either.
    DynByteArray huge(250, 0x00);
    huge[0] = 0x57;
    EXPECT_THROW(WriteControllerParam(port, kCollectorAddress, huge), EShareFT3Exception);
    EXPECT_TRUE(Log().size() == 1 && Log()[0].text == "Установить парвметр №0");
    EXPECT_TRUE(sim.Exchanges().empty());
}

TEST_F(RControlTest, RepliesTooShortForWhatIsReadRaiseInsteadOfReadingPastThem)
{
    struct Case {
        const char* what;
        DynByteArray reply;
        std::function<void()> command;
    };
    constexpr uint8_t kOdd = 40;
    const Case cases[] = {
        {"identifier without firmware date", Hex("88 FA 28 00 00 81 00 00 4C 55 0C 1E 0A"),
         [&] { ReadControllerID(port); }},
        {"clock without its last octet", Hex("88 FA 28 00 00 BB 20 4E 0F 0D 17 0B"),
         [&] { GetControllerTime(port, kOdd); }},
        {"parameter without a value", Hex("88 FA 28 00 00 A5 2C 01"),
         [&] { DynByteArray block = Hex("2C 01 00 00 00"); ReadControllerParam(port, kOdd, block); }},
    };
    for (const auto& c : cases) {
        sim.AddDevice(std::make_shared<CannedController>(kOdd, c.reply));
        sim.AddDevice(std::make_shared<CannedController>(kAnyController, c.reply));
        const std::string message = MessageOf<ENoReply>(c.command);
        EXPECT_TRUE(message.starts_with("Не совпала длина при ответе от контроллера с адресом ")) << c.what << ": " << message;
        EXPECT_NE(Log().back(), Plain("Ok")) << c.what;
    }
}

TEST_F(RControlTest, ExchangeFailuresPassOutWithTheControllersAddress)
{
    // A controller reporting an error.
    sim.AddFault({.address = kCollectorAddress, .times = 1, .faults = {.errorCode = 8}});
    EXPECT_EQ(MessageOf<EDevState>([&] { GetControllerTime(port, kCollectorAddress); }),
              "Ошибка часов: недостоверное значение времени. \rпри ответе от контроллера с адресом 7");
    EXPECT_EQ(Log().back(), Sent(LastFrame())) << "a reply that fails its checks is not logged";

    // A broken reply.
    sim.AddFault({.address = kCollectorAddress, .times = 1, .faults = {.brokenCrc = true}});
    const std::string crc = MessageOf<EErrCRC>([&] { GetControllerTime(port, kCollectorAddress); });
    EXPECT_TRUE(crc.starts_with("Ошибка CRC.")) << crc;
    EXPECT_TRUE(crc.ends_with(" при ответе от контроллера с адресом 7")) << crc;

    // Nobody at the address: no reply within the command's second.
    ClearLog();
    const auto start = Clock::now();
    EXPECT_EQ(MessageOf<ENoReply>([&] { SetControllerTime(port, 33, kWednesday); }),
              "Нет ответа от контроллера с адресом 33 для контроллера с адресом 33\r");
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 1000ms);
    EXPECT_LT(waited, 1500ms);
    ASSERT_EQ(Log().size(), 2u) << "name and request, nothing after";
    EXPECT_EQ(Log()[1], Sent(LastFrame()));

    // The port closed: the send fails.
    port.SetEnable(false);
    EXPECT_TRUE(MessageOf<ENoReply>([&] { ReadControllerID(port); }).ends_with(" для контроллера с адресом 254\r"));
}

TEST_F(RControlTest, ClearMeasureArchiveWaitsForTheControllerWithTheBusyCursor)
{
    std::vector<bool> cursor;
    port.BusyCursor().Install([&](bool busy) { cursor.push_back(busy); });
    collector->SetArchive({ft3sim::EncodeArchiveRecord(0x10000001, {1, 2, 3, 4, 5, 6}, kWednesday)});
    collector->SetClearDuration(300ms);

    auto start = Clock::now();
    ClearMeasureArchive(port, kCollectorAddress, 1);
    EXPECT_GE(Clock::now() - start, 300ms);
    EXPECT_TRUE(collector->Archive().empty());
    EXPECT_EQ(collector->ArchiveClears(), 1);
    EXPECT_EQ(Requests().back(), Hex("D3 07 FA 00 00 04"));
    EXPECT_EQ(Log(), (std::vector<LogLine>{Plain("Очистка архива измерений"), Sent(LastFrame()),
                                           Received(LastReply()), Plain("Ok")}));
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));

    // Clearing that takes longer than the time-out fails, and the cursor comes back all the same.
    // The controller answers well after the second, so that a late last search finds nothing.
    collector->SetClearDuration(2000ms);
    cursor.clear();
    ClearLog();
    start = Clock::now();
    EXPECT_EQ(MessageOf<ENoReply>([&] { ClearMeasureArchive(port, kCollectorAddress, 1); }),
              "Нет ответа от контроллера с адресом 7 для контроллера с адресом 7\r");
    EXPECT_LT(Clock::now() - start, 2000ms);
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(Log().size(), 2u);
}

TEST(ClearArchiveTimeout, IsTheWholeNumberOfSeconds)
{
    // Not cut to 16 bits: 70 s is 70,000 ms, not 4,464.
    EXPECT_EQ(ClearArchiveTimeoutMs(0), 0u);
    EXPECT_EQ(ClearArchiveTimeoutMs(10), 10'000u);
    EXPECT_EQ(ClearArchiveTimeoutMs(70), 70'000u);
    EXPECT_EQ(ClearArchiveTimeoutMs(65535), 65'535'000u);
}

TEST(BusyCursor, NestedScopesShowItOnce)
{
    std::vector<bool> calls;
    TBusyCursorHook hook;
    hook.Install([&](bool busy) { calls.push_back(busy); });
    {
        ScopedBusyCursor outer(hook);
        {
            ScopedBusyCursor inner(hook);
            ScopedBusyCursor unwanted(hook, false);
        }
        EXPECT_EQ(calls, (std::vector<bool>{true}));
    }
    EXPECT_EQ(calls, (std::vector<bool>{true, false}));
}
