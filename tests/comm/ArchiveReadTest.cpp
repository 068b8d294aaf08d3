// Reading the data-collecting controller's archive block by block over a pseudo-terminal, and
// the sample blocks of the no-port mode.
#include "comm/FT3TestUtil.h"
#include "comm/RControl.h"
#include "comm/ControllerLine.h"

namespace {

const TDateTime kMeasured = EncodeDateTime(2024, 10, 5, 6, 30, 0, 0);

struct Expected {
    uint32_t id;
    std::array<int8_t, 6> temps;
    TDateTime time;
};

// Twelve suspensions' records, 20 seconds apart, with negative and extreme temperatures.
std::vector<Expected> TwelveRecords()
{
    std::vector<Expected> records;
    for (uint32_t i = 0; i < 12; ++i) {
        const auto t = static_cast<int8_t>(static_cast<int>(i) * 23 - 128);
        records.push_back({(i + 1) << 28 | (0x0ABCDE0 + i), {t, static_cast<int8_t>(-t - 1), 0, 1, -1, 127},
                           kMeasured + i * 20.0 / kSecsPerDay});
    }
    return records;
}

void ExpectRecords(const DynArrayRec& got, const std::vector<Expected>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].Id, want[i].id) << i;
        EXPECT_EQ(got[i].Temps, want[i].temps) << i;
        EXPECT_DOUBLE_EQ(got[i].Time, want[i].time) << i;
    }
}

} // namespace

class ArchiveReadTest : public ControllerLine {
protected:
    void SetArchive(const std::vector<Expected>& records)
    {
        std::vector<ft3sim::ArchiveRecordOctets> octets;
        for (const auto& r : records)
            octets.push_back(ft3sim::EncodeArchiveRecord(r.id, r.temps, r.time));
        collector->SetArchive(octets);
    }
};

TEST_F(ArchiveReadTest, TheRequestCarriesCountAndStart)
{
    // A controller at address 0, where the commutator would otherwise answer.
    sim.AddDevice(std::make_shared<ft3sim::DataCollector>(0));
    DynArrayRec records;
    EXPECT_TRUE(ReadArchiveData(port, 0, 0, records, 5));
    EXPECT_EQ(LastFrame(), Hex("A0 26 09 D3 00 FA 00 00 0C 05 00 00 00 00 00 00 00 00 88 80"));
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(Log(), (std::vector<LogLine>{Plain("Запрос данных архива"),
                                           Blue("<-  A0 26 09 D3 00 FA 00 00 0C 05 00 00 00 00 00 00 00 00 88 80"),
                                           Received(LastReply()), Plain("Ok")}));

    ReadArchiveData(port, 0x1234, kCollectorAddress, records, 3);
    EXPECT_EQ(Requests().back(), Hex("D3 07 FA 00 00 0C 03 34 12"));
}

TEST_F(ArchiveReadTest, BlocksFollowEachOtherToAShortTail)
{
    const auto all = TwelveRecords();
    SetArchive(all);
    DynArrayRec records;
    std::vector<size_t> sizes;
    for (uint16_t start = 0;; start += 5) {
        const size_t before = records.size();
        ReadArchiveData(port, start, kCollectorAddress, records, 5);
        sizes.push_back(records.size() - before);
        if (sizes.back() < 5)
            break;
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{5, 5, 2})) << "records are appended, not replaced";
    ExpectRecords(records, all);
    EXPECT_EQ(Requests().size(), 3u);
    EXPECT_EQ(Requests()[2], Hex("D3 07 FA 00 00 0C 05 0A 00"));
    EXPECT_EQ(Log().size(), 12u);

    // Past the end and with a count of 0 nothing comes, and that is no failure.
    records.clear();
    EXPECT_TRUE(ReadArchiveData(port, 12, kCollectorAddress, records, 5));
    EXPECT_TRUE(ReadArchiveData(port, 0, kCollectorAddress, records, 0));
    EXPECT_TRUE(records.empty());
}

TEST_F(ArchiveReadTest, AnEmptyArchiveGivesNoRecords)
{
    DynArrayRec records;
    EXPECT_TRUE(ReadArchiveData(port, 0, kCollectorAddress, records, 5));
    EXPECT_TRUE(records.empty());
    EXPECT_EQ(Log().back(), Plain("Ok"));
}

TEST_F(ArchiveReadTest, ARecordWithoutAValidTimeKeepsItsReadings)
{
    auto broken = ft3sim::EncodeArchiveRecord(0x30000042, {20, 21, 22, 23, 24, 25}, kMeasured);
    broken[16] = 0x00;   // month 0
    collector->SetArchive({ft3sim::EncodeArchiveRecord(0x20000041, {1, 2, 3, 4, 5, 6}, kMeasured), broken});
    DynArrayRec records;
    ReadArchiveData(port, 0, kCollectorAddress, records, 5);
    ExpectRecords(records, {{0x20000041, {1, 2, 3, 4, 5, 6}, kMeasured}, {0x30000042, {20, 21, 22, 23, 24, 25}, 0}});
}

TEST_F(ArchiveReadTest, ARestShorterThanARecordIsIgnored)
{
    const DynByteArray record = Hex("1A 28 1E 0F 0E 0E E3 4F 00 00 05 20 4E 0F 0D 17 0B 06");
    DynByteArray reply = Hex("88 FA 28 00 00 8C");
    reply.insert(reply.end(), record.begin(), record.end());
    reply.insert(reply.end(), record.begin(), record.end());
    reply.insert(reply.end(), record.begin(), record.begin() + 5);
    sim.AddDevice(std::make_shared<CannedController>(40, reply));
    DynArrayRec records;
    ReadArchiveData(port, 0, 40, records, 5);
    EXPECT_EQ(records.size(), 2u);
}

TEST_F(ArchiveReadTest, FailuresPassOutWithoutOk)
{
    sim.AddFault({.address = kCollectorAddress, .times = 1, .faults = {.cannotDeliver = true}});
    DynArrayRec records;
    EXPECT_EQ(MessageOf<EDevState>([&] { ReadArchiveData(port, 0, kCollectorAddress, records, 5); }),
              "Запрашиваемые данные не могут быть переданы при ответе от контроллера с адресом 7");
    EXPECT_EQ(Log().size(), 2u) << "a reply that fails its check is not logged";
}

TEST(ArchiveRecord, DecodesTheWireLayout)
{
    struct Case { const char* octets; uint32_t id; std::array<int8_t, 6> temps; TDateTime time; };
    const TDateTime nov23 = EncodeDateTime(2006, 11, 23, 13, 15, 20, 0);
    const Case cases[] = {
        {"1A 28 1E 0F 0E 0E E3 4F 00 00 05 20 4E 0F 0D 17 0B 06", 0x50004FE3, {26, 40, 30, 15, 14, 14}, nov23},
        // The number's top four bits are dropped and only octet 10's low four bits count.
        {"80 FF 7F 00 01 FE E3 4F 00 F0 F5 20 4E 0F 0D 17 0B 06", 0x50004FE3, {-128, -1, 127, 0, 1, -2}, nov23},
        {"00 00 00 00 00 00 FF FF FF FF 0F 00 00 00 00 00 00 00", 0xFFFFFFFF, {}, 0},
        {"00 00 00 00 00 00 01 00 00 00 00 20 4E 0F 0D 17 00 06", 1, {}, 0},   // month 0: no time
    };
    for (const auto& c : cases) {
        const DynByteArray octets = Hex(c.octets);
        const TArchiveRec r = DecodeArchiveRec(std::span<const uint8_t, kArchiveRecordSize>(octets.data(), 18));
        EXPECT_EQ(r.Id, c.id) << c.octets;
        EXPECT_EQ(r.Temps, c.temps) << c.octets;
        EXPECT_DOUBLE_EQ(r.Time, c.time) << c.octets;
    }
}

TEST(NoComArchive, FourteenSampleRecordsInBlocksOfFive)
{
    std::vector<LogLine> log;
    TCommPort closed;   // never opened: nothing may be sent
    closed.SetLogSink([&](const std::string& text, TColor colour) { log.push_back({text, colour}); });

    DynArrayRec records;
    std::vector<size_t> sizes;
    for (uint16_t start = 0;; start += 5) {
        const size_t before = records.size();
        EXPECT_TRUE(ReadArchiveData(closed, start, 0, records, 5, true));
        sizes.push_back(records.size() - before);
        if (sizes.back() < 5)
            break;
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{5, 5, 4}));
    ASSERT_EQ(records.size(), 14u);
    EXPECT_EQ(records[0].Id, 0u);
    EXPECT_EQ(records[0].Temps, (std::array<int8_t, 6>{26, 40, 30, 15, 14, 14}));
    EXPECT_DOUBLE_EQ(records[0].Time, EncodeDateTime(2006, 11, 23, 13, 15, 20, 0));
    // Every sample has a valid time and names a suspension of the default configuration by its
    // block address (low 28 bits) and number (top 4 bits): block 0's twelve, then two of block 1.
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_GT(records[i].Time, 0);
        EXPECT_EQ(records[i].Id & 0x0FFFFFFF, i < 12 ? 0u : 1u) << i;
        EXPECT_EQ(records[i].Id >> 28, i < 12 ? i : i - 12) << i;
    }
    EXPECT_EQ(log.size(), 6u);
    for (size_t i = 0; i < log.size(); ++i)
        EXPECT_EQ(log[i], Plain(i % 2 == 0 ? "Запрос данных архива" : "Ok")) << "nothing sent, nothing logged between";

    // The sample replies as they stand, and no records for any other start.
    EXPECT_EQ(NoComArchiveReply(0).size(), 6u + 5 * 18);
    const DynByteArray last = NoComArchiveReply(10);
    EXPECT_EQ(DynByteArray(last.begin(), last.begin() + 6), Hex("88 00 01 00 00 8C"));
    EXPECT_EQ(last.size(), 6u + 4 * 18);
    for (uint16_t start : {1, 4, 15, 65535}) {
        DynArrayRec none;
        ReadArchiveData(closed, start, 0, none, 5, true);
        EXPECT_TRUE(none.empty()) << start;
    }
}
