// The live poll pass end to end: the pass's thread, the program's port on a pseudo-terminal and
// the simulated commutator and local block on the other side.
#include "PassTestSupport.h"

#include "core/Exchange/SendTH.h"
#include "core/Exchange/SendTHArc.h"

#include <gtest/gtest.h>

using ft3sim::Commutator;
using ft3sim::FaultRule;
using ft3sim::RawWords;
using ft3sim::WordsForTemperature;

namespace {

class LivePassTest : public PassTest {
protected:
    void SetUp() override { OpenLine(); }

    // What went over the line, in order: "on 2", "off 2", "relay on", "2:13" (a data request for
    // channel 13 while block 2 was on).
    std::vector<std::string> LineTrace()
    {
        std::vector<std::string> trace;
        int blockOn = -1;
        for (const ft3sim::Exchange& e : sim.Exchanges()) {
            if (!e.valid)
                continue;
            const ft3sim::Request request{e.userData};
            const auto data = request.Data();
            if (request.Destination() == Commutator::kAddress && data.size() >= 2) {
                const std::string what = data[1] ? "on" : "off";
                if (data[0] == Commutator::kRelayModule) {
                    trace.push_back("relay " + what);
                } else {
                    trace.push_back(what + " " + std::to_string(data[0]));
                    blockOn = data[1] ? data[0] : -1;
                }
            } else if (auto channel = request.Channel()) {
                trace.push_back(std::to_string(blockOn) + ":" + std::to_string(*channel));
            }
        }
        return trace;
    }

    void SetReading(int block, int silos, int tit, double celsius)
    {
        sim.localBlock().SetReadings(block, static_cast<uint16_t>(silos * 6 + tit), WordsForTemperature(celsius));
    }
    static double Expected(double celsius) { return TemperatureOf(WordsForTemperature(celsius)); }
};

TEST_F(LivePassTest, PollsEachBlockOnceInOrderAndStoresOnePointPerSensor)
{
    MakeTree(3, 3, 4);
    Settings.PollRepeats = 2;
    for (int b = 0; b < 3; ++b)
        for (int s = 0; s < 3; ++s)
            for (int t = 0; t < 4; ++t)
                SetReading(b, s, t, 5 + b * 10 + s + t * 0.25);
    Tit(0, 2, 3)->SetOff(0);                        // not installed
    Silos(1, 0)->SetSilosName(QStringLiteral("0")); // never polled, but its block is switched

    TSendTH pass(runner, Settings);
    // Blocks 2, 0, 2 and 1 in the list: block 0 comes first and block 2 is switched once.
    for (auto [b, s] : {std::pair{2, 1}, {0, 2}, {2, 0}, {1, 0}, {0, 0}, {2, 1}})
        pass.AddSilos(Silos(b, s));
    pass.AddSilos(nullptr);
    ASSERT_EQ(pass.Silos().size(), 5u);
    Run(pass);

    std::vector<std::string> expected{"on 0"};
    for (int channel : {0, 0, 1, 1, 2, 2, 3, 3, 12, 12, 13, 13, 14, 14})
        expected.push_back("0:" + std::to_string(channel));
    expected.insert(expected.end(), {"off 0", "on 1", "off 1", "on 2"});
    for (int channel : {0, 0, 1, 1, 2, 2, 3, 3, 6, 6, 7, 7, 8, 8, 9, 9})
        expected.push_back("2:" + std::to_string(channel));
    expected.push_back("off 2");
    EXPECT_EQ(LineTrace(), expected);

    for (auto [b, s] : {std::pair{0, 0}, {0, 2}, {2, 0}, {2, 1}}) {
        for (int t = 0; t < 4; ++t) {
            const TTIT& tit = *Tit(b, s, t);
            SCOPED_TRACE(testing::Message() << "sensor " << b << "." << s << "." << t);
            if (!tit.IsInstalled()) {
                EXPECT_EQ(tit.PointCount(), 0);
                continue;
            }
            ASSERT_EQ(tit.PointCount(), 1);
            EXPECT_EQ(tit.GetPoint(0)->Time, pass.PollStart());
            EXPECT_NEAR(tit.GetPoint(0)->Value, Expected(5 + b * 10 + s + t * 0.25), 1e-9);
            EXPECT_EQ(tit.Values().size(), 2u) << "two readings, one mean";
            EXPECT_TRUE(tit.IsValid());
        }
    }
    EXPECT_EQ(Tit(1, 0, 0)->PointCount(), 0);

    EXPECT_EQ(owner.doneCount, 1);
    EXPECT_EQ(pass.AlarmLevel(), 0);
    ASSERT_FALSE(owner.progress.empty());
    EXPECT_EQ(owner.progress.front(), std::pair(0, 0));
    EXPECT_EQ(owner.progress.back(), std::pair(30, 4 * 5 * 2)) << "a step per request, of sensors × suspensions × repeats";
    EXPECT_TRUE(owner.titles.contains(QStringLiteral("Опрос:")));
    EXPECT_TRUE(owner.titles.contains(QStringLiteral("Включение местного блока №1")));
    EXPECT_TRUE(owner.titles.contains(QStringLiteral("Опрос ТД №2 в термоподвеске 3-2 (3:2)")));
    EXPECT_TRUE(owner.titles.contains(QStringLiteral("Отключение местного блока №3")));

    EXPECT_TRUE(Logged(" A0 26 09 DB 00 FA 00 00 50 00 01 00 00 00 00 00 00 00 17 13", kLogSent));
    EXPECT_TRUE(Logged(" 80 FA 00 00 00 D0 00 01 00 00", kLogReply));
    EXPECT_TRUE(Logged("<-:  A0 26 0A DB 01 FA 00 00 14 10 00 00 02 00 00 00 00 00 44 80", kLogSent));
    EXPECT_TRUE(LinesIn(kLogError).empty());
    ASSERT_FALSE(Log().empty());
    EXPECT_EQ(Log().back().text, "Опрос завершен");
    EXPECT_EQ(Log().back().colour, kLogSent);
}

TEST_F(LivePassTest, FailuresAreLoggedInRedAndThePassGoesOn)
{
    MakeTree(2, 2, 2);
    Settings.PollRepeats = 2;
    Settings.TimeoutData = 30;
    Settings.Alarms[CommutatorNoReply] = {true, 1};
    sim.localBlock().SetDefaultReadings(WordsForTemperature(12));
    // Block 0 cannot be switched on: the commutator acts but never answers its 15 attempts.
    sim.AddFault({.address = 0, .times = 15, .faults = {.silent = true}});
    // In block 1: sensor 1.1 never answers, sensor 0.0 has one reply with a broken CRC and
    // sensor 0.1 reports an error code.
    sim.AddFault({.address = 1, .channel = 7, .faults = {.silent = true}});
    sim.AddFault({.address = 1, .channel = 0, .times = 1, .faults = {.brokenCrc = true}});
    sim.AddFault({.address = 1, .channel = 1, .faults = {.errorCode = 71}});

    TSendTH pass(runner, Settings);
    for (int b = 0; b < 2; ++b)
        for (int s = 0; s < 2; ++s)
            pass.AddSilos(Silos(b, s));
    Run(pass);

    std::vector<Commutator::Switch> switches;
    for (uint8_t attempt = 0; attempt < 15; ++attempt)
        switches.push_back({0, true, attempt});
    switches.push_back({1, true, 0});
    switches.push_back({1, false, 0});
    EXPECT_EQ(sim.commutator().Switches(), switches);

    for (int s = 0; s < 2; ++s)
        for (int t = 0; t < 2; ++t) {
            EXPECT_TRUE(Tit(0, s, t)->Flags() & kTITNoReply);
            EXPECT_EQ(Tit(0, s, t)->PointCount(), 0) << "a block not switched on keeps its history";
        }
    EXPECT_NEAR(Tit(1, 0, 0)->GetValue(), Expected(12), 1e-9);
    EXPECT_TRUE(Tit(1, 0, 0)->IsValid());
    EXPECT_EQ(Tit(1, 0, 0)->Values().size(), 1u);
    for (TTIT* failed : {Tit(1, 0, 1), Tit(1, 1, 1)}) {
        EXPECT_TRUE(failed->Flags() & kTITNoReply);
        ASSERT_EQ(failed->PointCount(), 1);
        EXPECT_EQ(failed->GetPoint(0)->Value, kNoData);
    }
    EXPECT_NEAR(Tit(1, 1, 0)->GetValue(), Expected(12), 1e-9);

    const auto red = LinesIn(kLogError);
    ASSERT_EQ(red.size(), 7u) << "one block switch and what it cost, one bad CRC, two error codes, two silences";
    EXPECT_NE(red[0].find("адресом 0"), std::string::npos) << red[0];
    EXPECT_EQ(red[1], "Местный блок №1 не включен: его термоподвески не опрошены");
    EXPECT_NE(red[3].find("отсутствует в конфигурации"), std::string::npos) << red[3];
    const QStringList errors = LogFileLines(QStringLiteral("Error.log"));
    ASSERT_EQ(errors.size(), 10);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("<-:  A0 26 0A DB 01 FA 00 00 14 10 00 00 02"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[1].startsWith(QStringLiteral("->: "))) << errors[1].toStdString();

    EXPECT_EQ(pass.AlarmLevel(), 1);
    EXPECT_EQ(owner.doneCount, 1);
}

TEST_F(LivePassTest, ACommutatorThatNeverAnswersCostsFifteenAttemptsPerBlock)
{
    MakeTree(2, 1, 2);
    Settings.TimeoutData = 20;
    Settings.Alarms[CommutatorNoReply] = {true, 2};
    sim.AddFault({.address = 0, .faults = {.silent = true}});

    TSendTH pass(runner, Settings);
    pass.AddSilos(Silos(1, 0));
    pass.AddSilos(Silos(0, 0));
    Run(pass);

    const auto switches = sim.commutator().Switches();
    ASSERT_EQ(switches.size(), 30u);
    for (size_t i = 0; i < switches.size(); ++i)
        EXPECT_EQ(switches[i], (Commutator::Switch{static_cast<uint8_t>(i / 15), true, static_cast<uint8_t>(i % 15)}));
    EXPECT_EQ(LinesIn(kLogError).size(), 4u) << "per block the commutator's silence and what it cost";
    for (int b = 0; b < 2; ++b)
        for (int t = 0; t < 2; ++t)
            EXPECT_TRUE(Tit(b, 0, t)->Flags() & kTITNoReply);
    EXPECT_EQ(owner.progress.back(), std::pair(4, 4)) << "skipped suspensions still advance the progress";
    EXPECT_EQ(pass.AlarmLevel(), 2);
    EXPECT_EQ(owner.doneCount, 1);
}

TEST_F(LivePassTest, AStopInTheMiddleSwitchesTheBlockOffAndEndsThePass)
{
    MakeTree(2, 2, 3);
    sim.localBlock().SetDefaultReadings(WordsForTemperature(7));
    TSendTH pass(runner, Settings);
    for (int b = 0; b < 2; ++b)
        for (int s = 0; s < 2; ++s)
            pass.AddSilos(Silos(b, s));
    // The pauses come after switching on and after each reply: stop after the third reply.
    clock.onSleep = [&](uint32_t) {
        if (clock.sleeps == 4)
            pass.Terminate();
    };
    pass.SetClock(clock.Clock());
    Run(pass);

    EXPECT_EQ(LineTrace(), (std::vector<std::string>{"on 0", "0:0", "0:1", "0:2", "off 0"}));
    for (int t = 0; t < 3; ++t)
        EXPECT_EQ(Tit(0, 0, t)->PointCount(), 1);
    EXPECT_EQ(Tit(0, 1, 0)->PointCount(), 0);
    EXPECT_EQ(owner.doneCount, 1);
    EXPECT_EQ(Log().back().text, "Опрос завершен");
}

TEST_F(LivePassTest, ALaterReplyClearsTheMarkOfAnEarlierFailedRepeat)
{
    MakeTree(1, 1, 2);
    Settings.PollRepeats = 3;
    sim.localBlock().SetDefaultReadings(WordsForTemperature(20));
    // Sensor 0 loses its first reply; sensor 1 its last (the pause after its second reply is
    // the fifth wait: one after switching on, two after sensor 0's replies, two after its own).
    sim.AddFault({.address = 1, .channel = 0, .times = 1, .faults = {.brokenCrc = true}});
    clock.onSleep = [&](uint32_t) {
        if (clock.sleeps == 5)
            sim.AddFault({.address = 1, .channel = 1, .times = 1, .faults = {.brokenCrc = true}});
    };
    TSendTH pass(runner, Settings);
    pass.SetClock(clock.Clock());
    pass.AddSilos(Silos(0, 0));
    Run(pass);

    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(Tit(0, 0, t)->Values().size(), 2u);
        EXPECT_NEAR(Tit(0, 0, t)->GetPoint(0)->Value, Expected(20), 1e-9);
    }
    EXPECT_TRUE(Tit(0, 0, 0)->IsValid());
    EXPECT_FALSE(Tit(0, 0, 1)->IsValid());
    EXPECT_EQ(LinesIn(kLogError).size(), 2u);
}

// A sensor asked three times and never answering stores no value and shows as not replied
// (black), not as a sensor without data.
TEST_F(LivePassTest, ASensorThatNeverAnsweredShowsAsNotReplied)
{
    MakeTree(1, 1, 2);
    Settings.PollRepeats = 3;
    sim.localBlock().SetDefaultReadings(WordsForTemperature(20));
    sim.AddFault({.address = 1, .channel = 1, .times = 3, .faults = {.brokenCrc = true}});
    TSendTH pass(runner, Settings);
    pass.SetClock(clock.Clock());
    pass.AddSilos(Silos(0, 0));
    Run(pass);

    EXPECT_TRUE(Tit(0, 0, 1)->Values().empty());
    EXPECT_EQ(Tit(0, 0, 1)->GetPoint(0)->Value, kNoData);
    EXPECT_FALSE(Tit(0, 0, 1)->IsValid());
    EXPECT_EQ(Tit(0, 0, 1)->GetColor(Settings), clBlack);
    EXPECT_EQ(Tit(0, 0, 0)->GetColor(Settings), clLime);
}

TEST_F(LivePassTest, TheBlockWhoseAddressIsTheRelaysIsNeverSwitched)
{
    MakeTree(226, 1, 1);
    Settings.Alarms[CommutatorNoReply] = {true, 1};
    sim.localBlock().SetDefaultReadings(WordsForTemperature(3));
    TSendTH pass(runner, Settings);
    pass.AddSilos(Silos(0xE0, 0));
    pass.AddSilos(Silos(0xE1, 0));
    Run(pass);

    EXPECT_EQ(LineTrace(), (std::vector<std::string>{"on 225", "225:0", "off 225"}));
    EXPECT_EQ(LinesIn(kLogError),
              std::vector<std::string>{"Местный блок №225 не может быть включен: его адрес занят модулем реле"});
    EXPECT_TRUE(Tit(0xE0, 0, 0)->Flags() & kTITNoReply);
    EXPECT_EQ(pass.AlarmLevel(), 1);
}

// A local block whose replies test the reading of the data: channel 0 answers with the channel
// count in its own octet (count code 15, so every later field moves one octet on), channel 1
// with a reply cut short of its data, channel 2 with another function's reply.
class OddLocalBlock : public ft3sim::Device {
public:
    explicit OddLocalBlock(RawWords words) : words_(words) {}
    bool Accepts(uint8_t address) const override { return address == 1; }
    std::optional<DynByteArray> Answer(const ft3sim::Request& request) override
    {
        DynByteArray reply = ft3sim::ReplyHeader(request, 1);
        const uint16_t channel = request.Channel().value_or(0xFFFF);
        if (channel == 0) {
            reply.insert(reply.end(), {0x1F, 0x01, 0x00, 0x00, 0x02});
            for (uint16_t word : words_)
                reply.insert(reply.end(), {static_cast<uint8_t>(word & 0xFF), static_cast<uint8_t>(word >> 8)});
        } else if (channel == 1) {
            reply.insert(reply.end(), {0x10, 0x01, 0x00, 0x02, 0xE8, 0x03, 0x00, 0x00});
        } else {
            reply[5] = 0x95;
            reply.insert(reply.end(), {0x10, 0x02, 0x00, 0x02, 0xE8, 0x03, 0, 0, 0, 0, 0x13, 0x04});
        }
        return reply;
    }

private:
    RawWords words_;
};

TEST_F(LivePassTest, DataIsReadWhereTheReplysCountCodePutsItAndOnlyFromAWholeDataReply)
{
    MakeTree(1, 1, 3);
    sim.AddDevice(std::make_shared<OddLocalBlock>(WordsForTemperature(-4)));
    TSendTH pass(runner, Settings);
    pass.AddSilos(Silos(0, 0));
    Run(pass);

    EXPECT_NEAR(Tit(0, 0, 0)->GetValue(), Expected(-4), 1e-9);
    EXPECT_TRUE(Tit(0, 0, 0)->IsValid());
    for (int t : {1, 2}) {
        EXPECT_TRUE(Tit(0, 0, t)->Values().empty()) << "sensor " << t;
        EXPECT_TRUE(Tit(0, 0, t)->Flags() & kTITNoReply) << "sensor " << t;
    }
    const auto red = LinesIn(kLogError);
    ASSERT_EQ(red.size(), 2u);
    EXPECT_EQ(red[0], "Не совпала длина при ответе от контроллера с адресом 1");
    EXPECT_EQ(red[1], "Ответ не на запрос данных (функция 149) от контроллера с адресом 1");
}

} // namespace

// The main window may edit its settings while a pass runs: the pass keeps those it was made with.
TEST_F(LivePassTest, ThePassWorksOnTheSettingsItWasMadeWith)
{
    MakeTree(1, 1, 2);
    Settings.PollRepeats = 2;
    SetReading(0, 0, 0, 12);
    SetReading(0, 0, 1, 13);
    TSendTH pass(runner, Settings);
    pass.AddSilos(Silos(0, 0));
    Settings.PollRepeats = 5;
    Settings.NoCom = true;
    Settings.CalcProc = QStringLiteral("U1 div 0");
    Run(pass);

    for (int t = 0; t < 2; ++t) {
        EXPECT_EQ(Tit(0, 0, t)->Values().size(), 2u) << t;
        EXPECT_NEAR(Tit(0, 0, t)->GetValue(), Expected(12 + t), 1e-9) << "read on the line, by the procedure of then";
    }
    EXPECT_EQ(owner.progress.back(), std::pair(4, 4));
}

// The runner makes the pass of the configured kind, one at a time, and reports its end.
TEST_F(LivePassTest, TheRunnerMakesOnePassOfTheConfiguredKindAtATime)
{
    MakeTree(1, 1, 1);
    Settings.ControllerKind = 2;
    EXPECT_EQ(runner.Create(Settings, {Silos(0, 0)}), nullptr) << "no such kind of controller";
    Settings.ControllerKind = 1;
    Settings.NoCom = true;
    TBaseSendTH* pass = runner.Create(Settings, {Silos(0, 0), Silos(0, 0)});
    ASSERT_NE(dynamic_cast<TSendTHArc*>(pass), nullptr);
    EXPECT_EQ(pass->Silos().size(), 1u);
    EXPECT_EQ(runner.SendTH(), pass);
    EXPECT_EQ(runner.Create(Settings, {}), nullptr) << "a pass exists already";
    pass->Start();
    ASSERT_TRUE(owner.WaitForDone());
    runner.Release();
    EXPECT_EQ(runner.SendTH(), nullptr);
    EXPECT_EQ(Tit(0, 0, 0)->PointCount(), 1) << "the archive's sample record for block 0, suspension 0";
}
