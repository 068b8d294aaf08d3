// The archive pass: the data-collecting controller's archive read block by block over the
// simulated line (or the built-in samples without a port), each record's temperatures stored
// under the suspension its id names.
#include "PassTestSupport.h"

#include "core/Exchange/SendTHArc.h"
#include "tools/ft3sim/DataCollector.h"

#include <gtest/gtest.h>

using ft3sim::ArchiveRecordOctets;
using ft3sim::DataCollector;
using ft3sim::EncodeArchiveRecord;

namespace {

constexpr uint8_t kCollectorAddress = 3;

uint32_t Id(uint32_t block, uint32_t silos)
{
    return silos << 28 | block;
}

class ArchivePassTest : public PassTest {
protected:
    ArchivePassTest()
    {
        Settings.ControllerKind = 1;
        Settings.ArchiveAddr = kCollectorAddress;
        Settings.ArchiveBlockSize = 5;
        MakeTree(2, 3, 6);
    }

    void UseCollector(std::vector<ArchiveRecordOctets> archive)
    {
        collector->SetArchive(std::move(archive));
        sim.AddDevice(collector);
        OpenLine();
    }

    // The start of each archive block asked for, in order.
    std::vector<int> Starts()
    {
        std::vector<int> starts;
        for (const ft3sim::Exchange& e : sim.Exchanges())
            if (e.valid && e.userData[5] == DataCollector::kFunctionReadArchive)
                starts.push_back(e.userData[7] | e.userData[8] << 8);
        return starts;
    }

    int RunArchivePass(std::initializer_list<TSilos*> silos)
    {
        TSendTHArc pass(runner, Settings);
        for (TSilos* s : silos)
            pass.AddSilos(s);
        Run(pass);
        return pass.AlarmLevel();
    }

    static TDateTime At(int second) { return EncodeDateTime(2024, 3, 5, 10, 0, second, 250); }
    static std::array<int8_t, 6> Temps(int base)
    {
        std::array<int8_t, 6> t{};
        for (int j = 0; j < 6; ++j)
            t[static_cast<size_t>(j)] = static_cast<int8_t>(base + j);
        return t;
    }

    std::shared_ptr<DataCollector> collector = std::make_shared<DataCollector>(kCollectorAddress);
};

TEST_F(ArchivePassTest, RecordsAreStoredUnderTheSuspensionOfTheirBlockAndNumber)
{
    // Thirteen records: block 1's suspensions first (their numbers are also block 0's), one for
    // a suspension not in the pass, and one for a block that does not exist.
    std::vector<ArchiveRecordOctets> archive;
    for (int i = 0; i < 13; ++i) {
        const uint32_t block = i < 6 ? 1 : (i == 12 ? 7 : 0);
        const uint32_t silos = static_cast<uint32_t>(i % 3);
        archive.push_back(EncodeArchiveRecord(Id(block, silos), Temps(i * 3 - 10), At(i)));
    }
    UseCollector(archive);
    RunArchivePass({Silos(0, 0), Silos(0, 1), Silos(1, 0), Silos(1, 1), Silos(1, 2)});

    EXPECT_EQ(Starts(), (std::vector<int>{0, 5, 10})) << "five records ask for more, three end the pass";
    // Later records of a suspension replace the pass's values and add their own points.
    const auto pointsOf = [](const TTIT& tit) {
        std::vector<std::pair<TDateTime, double>> points;
        for (const TTITPoint& p : tit.Points())
            points.emplace_back(p.Time, p.Value);
        return points;
    };
    for (int j = 0; j < 6; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(pointsOf(*Tit(1, 0, j)), (std::vector<std::pair<TDateTime, double>>{{At(0), -10 + j}, {At(3), -1 + j}}));
        EXPECT_EQ(pointsOf(*Tit(1, 2, j)), (std::vector<std::pair<TDateTime, double>>{{At(2), -4 + j}, {At(5), 5 + j}}));
        EXPECT_EQ(pointsOf(*Tit(0, 0, j)), (std::vector<std::pair<TDateTime, double>>{{At(6), 8 + j}, {At(9), 17 + j}}));
        EXPECT_EQ(pointsOf(*Tit(0, 1, j)), (std::vector<std::pair<TDateTime, double>>{{At(7), 11 + j}, {At(10), 20 + j}}));
        EXPECT_TRUE(Tit(0, 2, j)->Points().empty()) << "not in the pass";
        EXPECT_EQ(Tit(1, 0, j)->LastTime(), At(3));
    }
    EXPECT_TRUE(Logged("DT.No[0]=0x00000001 (1 0)", kLogPlain));
    EXPECT_TRUE(Logged("DT.No[1]=0x10000001 (1 1)", kLogPlain));
    EXPECT_TRUE(Logged("DT.No[2]=0x00000007 (7 0)", kLogPlain));
    EXPECT_TRUE(Logged("#5 = -005 05.03.24 10:00:00.250", kLogPlain));
    EXPECT_TRUE(owner.titles.contains(QStringLiteral("Выборка из КВЛ архивного блока №10")));
    EXPECT_EQ(owner.progress.back(), std::pair(3, 50));
    EXPECT_TRUE(sim.commutator().Switches().empty()) << "the archive pass never switches the relay";
    EXPECT_TRUE(LinesIn(kLogError).empty());
    EXPECT_NE(Log().back().text, "Опрос завершен");
    EXPECT_EQ(owner.doneCount, 1);
}

TEST_F(ArchivePassTest, AFullLastBlockAsksForOneMore)
{
    std::vector<ArchiveRecordOctets> archive;
    for (int i = 0; i < 10; ++i)
        archive.push_back(EncodeArchiveRecord(Id(0, 0), Temps(i), At(i)));
    UseCollector(archive);
    RunArchivePass({Silos(0, 0)});
    EXPECT_EQ(Starts(), (std::vector<int>{0, 5, 10}));
    EXPECT_EQ(Tit(0, 0, 0)->PointCount(), 10);
}

TEST_F(ArchivePassTest, AlarmsAreJudgedAfterEachBlockAndTheRecordsWithoutTimeAreSkipped)
{
    Settings.MaxT = 30;
    Settings.Alarms[OverMaxT] = {true, 1};
    Settings.Relays[OverMaxT] = true;
    std::vector<ArchiveRecordOctets> archive{EncodeArchiveRecord(Id(0, 1), Temps(33), At(1)),
                                             EncodeArchiveRecord(Id(0, 2), Temps(5), At(2))};
    archive[1][14] = 0x7F;   // an hour that does not exist
    UseCollector(archive);
    EXPECT_EQ(RunArchivePass({Silos(0, 1), Silos(0, 2)}), 1);
    QFile file(FolderPath(QStringLiteral("overlay.log")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral(": Превышение макс. Т - 1-2 ТИТ №0 val=33.000 > 30")));
    EXPECT_TRUE(Tit(0, 2, 0)->Points().empty());
    EXPECT_EQ(LinesIn(kLogError), std::vector<std::string>{"DT.No[1]: время записи не распознано, запись пропущена"});
    EXPECT_TRUE(sim.commutator().Switches().empty());
}

TEST_F(ArchivePassTest, AFailedReadEndsThePassInRed)
{
    UseCollector({EncodeArchiveRecord(Id(0, 0), Temps(1), At(1))});
    sim.AddFault({.address = kCollectorAddress, .faults = {.errorCode = 13}});
    RunArchivePass({Silos(0, 0)});
    EXPECT_EQ(Starts(), std::vector<int>{0});
    ASSERT_EQ(LinesIn(kLogError).size(), 1u);
    EXPECT_NE(LinesIn(kLogError)[0].find("Ошибка №13"), std::string::npos) << LinesIn(kLogError)[0];
    EXPECT_EQ(owner.progress.back(), std::pair(1, 50)) << "the failed read still counts a step";
    EXPECT_EQ(owner.doneCount, 1);
}

TEST_F(ArchivePassTest, WithoutAPortTheSamplesFillBlockZeroAndTwoOfBlockOne)
{
    Settings.NoCom = true;   // the port is never opened
    HardConfig = std::make_unique<THardConfig>(2, 12, 6);
    TSendTHArc pass(runner, Settings);
    for (int b = 0; b < 2; ++b)
        for (int s = 0; s < 12; ++s)
            pass.AddSilos(Silos(b, s));
    Run(pass);

    ASSERT_EQ(Tit(0, 0, 0)->PointCount(), 1);
    EXPECT_EQ(Tit(0, 0, 0)->GetPoint(0)->Value, 26);
    EXPECT_EQ(Tit(0, 0, 0)->GetPoint(0)->Time, EncodeDateTime(2006, 11, 23, 13, 15, 20, 0));
    for (int s = 0; s < 12; ++s)
        EXPECT_EQ(Tit(0, s, 5)->PointCount(), 1) << s;
    EXPECT_EQ(Tit(1, 1, 0)->PointCount(), 1);
    EXPECT_EQ(Tit(1, 2, 0)->PointCount(), 0);
    EXPECT_EQ(owner.doneCount, 1);
}

} // namespace
