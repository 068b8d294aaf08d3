// The end of every pass: the notification conditions judged over the pass's sensors, the lines
// of "overlay.log", the level for the taskbar overlay, and the alarm relay switched for its time.
#include "PassTestSupport.h"

#include "core/Exchange/OverlayLog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

using ft3sim::Commutator;

namespace {

// A pass that only ends: judges the alarms (and, when asked, the relay) over its suspensions.
class EndOfPass : public TBaseSendTH {
public:
    EndOfPass(TPassRunner& runner, const Parameters& settings, bool relay)
        : TBaseSendTH(runner, settings), relay_(relay)
    {
    }
    ~EndOfPass() override
    {
        Terminate();
        WaitFor();
    }

protected:
    void Execute() override
    {
        Prepare();
        CheckAlarms();
        if (relay_)
            CheckRelay();
        PostDone();
    }

private:
    bool relay_;
};

class PassAlarmTest : public PassTest {
protected:
    PassAlarmTest()
    {
        MakeTree(1, 2, 3);
        Silos(0, 0)->SetSilosName(QStringLiteral("С-7"));
        for (int s = 0; s < 2; ++s)
            for (int t = 0; t < 3; ++t)
                SetValue(*Tit(0, s, t), 15);
        Settings.MaxT = 30;
        Settings.CheckT1 = 20;
        Settings.CheckT2 = 22;
        Settings.CheckT3 = 24;
        // The overlay the taskbar would show for each level the pass reports.
        QObject::connect(&runner, &TPassRunner::AlarmLevel, &owner, [this](int level) {
            overlays << QStringList{QStringLiteral("OK"), QStringLiteral("Warning"), QStringLiteral("Error")}.value(level);
        }, Qt::QueuedConnection);
    }

    void SetValue(TTIT& tit, double value)
    {
        tit.ClearValues();
        tit.AddValue(true, Now(), value, Settings);
    }
    static void Clear(TTIT& tit) { tit.ClearValues(); }
    // Five days of a steady rise of 2 degrees a day: the rate-of-change alarm is set.
    void Speeding(TTIT& tit)
    {
        Settings.UseCheckSpeed = true;
        Settings.CheckSpeed = 0.5;
        for (int d = -4; d <= 0; ++d) {
            const TDateTime at = EncodeDate(2024, 5, 10) + d + 8 / 24.0;
            tit.ClearValues();
            tit.AddValue(true, at, 10 + 2 * (d + 4), Settings);
            tit.StorePoint(at, MakeReadingRules(Settings));
        }
    }

    int RunPass(bool relay = false)
    {
        EndOfPass pass(runner, Settings, relay);
        pass.SetClock(clock.Clock());
        for (int s = 0; s < 2; ++s)
            pass.AddSilos(Silos(0, s));
        Run(pass);
        return pass.AlarmLevel();
    }

    // The notification log's texts without their time stamps.
    QStringList OverlayLog() const
    {
        QStringList texts;
        QFile file(FolderPath(QStringLiteral("overlay.log")));
        if (file.open(QIODevice::ReadOnly))
            for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
                texts << line.section(QStringLiteral(": "), 1);
        return texts;
    }

    QStringList overlays;
};

TEST_F(PassAlarmTest, EachConditionRaisesItsLevelWithItsLine)
{
    struct Case {
        TAlarmCondition condition;
        std::function<void(TTIT&)> make;
        const char* line;
    };
    const Case cases[] = {
        {BlockNoReply, Clear, "Нет ответа от местного блока Р5-22К"},
        {OverMaxT, [this](TTIT& t) { SetValue(t, 35); }, "Превышение макс. Т - С-7 ТИТ №1 val=35.000 > 30"},
        {SpeedExceeded, [this](TTIT& t) { Speeding(t); }, "Скорость изменения - С-7 ТИТ №1 val=18.000 смотри speed.log"},
        {SetPoint1, [this](TTIT& t) { SetValue(t, 21); }, "Уставка 1 - С-7 ТИТ №1 val=21.000 > 20"},
        {SetPoint2, [this](TTIT& t) { SetValue(t, 23); }, "Уставка 2 - С-7 ТИТ №1 val=23.000 > 22"},
        {SetPoint3, [this](TTIT& t) { SetValue(t, 24.5); }, "Уставка 3 - С-7 ТИТ №1 val=24.500 > 24"},
        {LineBreak, [this](TTIT& t) { SetValue(t, 70.25); }, "Обрыв линии - С-7 ТИТ №1 val=70.250 > 70"},
        {ShortCircuit, [this](TTIT& t) { SetValue(t, -40); }, "КЗ. Т - С-7 ТИТ №1 val=-40.000 < -36"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        QFile::remove(FolderPath(QStringLiteral("overlay.log")));
        overlays.clear();
        TTIT& tit = *Tit(0, 0, 1);
        c.make(tit);
        Settings.Alarms = {};
        Settings.Alarms[c.condition] = {true, 1};
        EXPECT_EQ(RunPass(), 1);
        EXPECT_EQ(OverlayLog(), QStringList{QString::fromUtf8(c.line)});
        EXPECT_EQ(overlays.last(), QStringLiteral("Warning"));

        // The same sensor with its condition switched off: no line, the overlay says OK.
        QFile::remove(FolderPath(QStringLiteral("overlay.log")));
        Settings.Alarms[c.condition].Enabled = false;
        EXPECT_EQ(RunPass(), 0);
        EXPECT_TRUE(OverlayLog().isEmpty());
        EXPECT_EQ(overlays.last(), QStringLiteral("OK"));
        SetValue(tit, 15);
        Settings.UseCheckSpeed = false;
    }
}

TEST_F(PassAlarmTest, OnlyAHigherLevelWritesALineAndLevelTwoEndsTheWalk)
{
    for (size_t c = 2; c <= kAlarmConditionCount; ++c)
        Settings.Alarms[c] = {true, 1};
    Settings.Alarms[SetPoint1] = {true, 2};
    SetValue(*Tit(0, 0, 0), 35);   // over MaxT and set-points 1 to 3
    SetValue(*Tit(0, 0, 1), 36);
    SetValue(*Tit(0, 1, 2), 75);
    EXPECT_EQ(RunPass(), 2);
    EXPECT_EQ(OverlayLog(), (QStringList{QStringLiteral("Превышение макс. Т - С-7 ТИТ №0 val=35.000 > 30"),
                                         QStringLiteral("Уставка 1 - С-7 ТИТ №0 val=35.000 > 20")}));
    EXPECT_EQ(overlays.last(), QStringLiteral("Error"));

    // The open line comes first; at level 1 it hides the maximum, and set-point 1 still rises.
    QFile::remove(FolderPath(QStringLiteral("overlay.log")));
    SetValue(*Tit(0, 0, 0), 75);
    EXPECT_EQ(RunPass(), 2);
    EXPECT_EQ(OverlayLog(), (QStringList{QStringLiteral("Обрыв линии - С-7 ТИТ №0 val=75.000 > 70"),
                                         QStringLiteral("Уставка 1 - С-7 ТИТ №0 val=75.000 > 20")}));
}

TEST_F(PassAlarmTest, AMissingValueIsNoReplyNotAShortCircuit)
{
    Settings.Alarms[ShortCircuit] = {true, 1};
    Settings.Alarms[BlockNoReply] = {true, 1};
    Clear(*Tit(0, 1, 0));
    EXPECT_EQ(RunPass(), 1);
    EXPECT_EQ(OverlayLog(), QStringList{QStringLiteral("Нет ответа от местного блока Р5-22К")});
}

TEST_F(PassAlarmTest, AllConditionsOffLeaveNoLineAndTheOverlayOk)
{
    SetValue(*Tit(0, 0, 0), 75);
    Clear(*Tit(0, 0, 1));
    SetValue(*Tit(0, 1, 0), -50);
    EXPECT_EQ(RunPass(), 0);
    EXPECT_FALSE(QFile::exists(FolderPath(QStringLiteral("overlay.log"))));
    EXPECT_EQ(overlays, QStringList{QStringLiteral("OK")});
}

TEST(OverlayLogFile, PastAThousandLinesTheLogIsMovedAsideAndStartsAnew)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("overlay.log"));
    const auto writeLines = [&](int count) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < count; ++i)
            file.write(QStringLiteral("old %1\r\n").arg(i).toUtf8());
    };
    const auto lines = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)
                                           : QStringList();
    };

    writeLines(1000);
    ASSERT_TRUE(WriteOverlayLog(dir.path(), QStringLiteral("Уставка 1")));
    EXPECT_EQ(lines(path).size(), 1001) << "a thousand lines are still kept";
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("overlay.old.log"))));
    EXPECT_TRUE(lines(path).last().endsWith(QStringLiteral(": Уставка 1")));
    EXPECT_EQ(lines(path).first(), QStringLiteral("old 0"));

    ASSERT_TRUE(WriteOverlayLog(dir.path(), QStringLiteral("КЗ. Т")));
    const QStringList fresh = lines(path);
    ASSERT_EQ(fresh.size(), 1);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4}( \\d{1,2}:\\d\\d:\\d\\d)?: КЗ\\. Т$"))
                    .match(fresh[0])
                    .hasMatch())
        << fresh[0].toStdString();
    EXPECT_EQ(lines(dir.filePath(QStringLiteral("overlay.old.log"))).size(), 1001);

    // A folder that cannot be written is reported, not raised.
    EXPECT_FALSE(WriteOverlayLog(dir.filePath(QStringLiteral("missing/folder")), QStringLiteral("x")));
}

class RelayTest : public PassAlarmTest {
protected:
    void SetUp() override { OpenLine(); }

    std::vector<Commutator::Switch> RelaySwitches()
    {
        std::vector<Commutator::Switch> relay;
        for (const auto& s : sim.commutator().Switches())
            if (s.target == Commutator::kRelayModule)
                relay.push_back(s);
        return relay;
    }
};

TEST_F(RelayTest, TheRelayIsOnForTheConfiguredTime)
{
    Settings.RelayDuration = 3;
    Settings.Relays[SetPoint1] = true;   // the notification switch plays no part
    SetValue(*Tit(0, 1, 2), 25);
    RunPass(true);

    EXPECT_EQ(RelaySwitches(), (std::vector<Commutator::Switch>{{0xE0, true, 0}, {0xE0, false, 0}}));
    EXPECT_EQ(clock.sleeps, 30) << "100 ms steps";
    EXPECT_EQ(clock.now, 1000000 + 3000);
    ASSERT_GE(owner.progress.size(), 31u);
    EXPECT_EQ(owner.progress[owner.progress.size() - 31], std::pair(0, 30));
    EXPECT_EQ(owner.progress.back(), std::pair(30, 30));
    EXPECT_EQ(owner.titles.mid(owner.titles.size() - 2),
              (QStringList{QStringLiteral("Реле включено - Уставка 1 "), QStringLiteral("Реле отключено - Уставка 1 ")}));
    EXPECT_TRUE(Logged("Включаем реле - Уставка 1 - 1-2 ТИТ №2 val=25.000 > 20", kLogSent));
    EXPECT_TRUE(Logged("Отключаем реле - Уставка 1 - 1-2 ТИТ №2 val=25.000 > 20", kLogSent));
    EXPECT_TRUE(Logged("<-:  A0 26 09 DB 00 FA 00 00 50 E0 01 00 00 00 00 00 00 00 BA 52", kLogSent));
    EXPECT_TRUE(Logged("->:  80 FA 00 00 00 D0 E0 01 00 00", kLogReply));
}

TEST_F(RelayTest, AStopSwitchesTheRelayOffAtOnce)
{
    Settings.RelayDuration = 600;
    Settings.Relays[LineBreak] = true;
    SetValue(*Tit(0, 0, 0), 80);
    EndOfPass pass(runner, Settings, true);
    clock.onSleep = [&](uint32_t) { pass.Terminate(); };
    pass.SetClock(clock.Clock());
    pass.AddSilos(Silos(0, 0));
    Run(pass);
    EXPECT_EQ(clock.sleeps, 1);
    EXPECT_EQ(RelaySwitches(), (std::vector<Commutator::Switch>{{0xE0, true, 0}, {0xE0, false, 0}}));
}

TEST_F(RelayTest, TheFirstSensorAndTheFirstConditionInOrderGiveTheMessage)
{
    Settings.Relays[SetPoint1] = true;
    Settings.Relays[LineBreak] = true;
    Settings.Relays[BlockNoReply] = true;
    SetValue(*Tit(0, 0, 2), 75);     // open line and over set-point 1: the open line comes first
    Clear(*Tit(0, 1, 0));
    RunPass(true);
    EXPECT_TRUE(Logged("Включаем реле - Обрыв линии - С-7 ТИТ №2 val=75.000 > 70", kLogSent));

    sim.commutator().Reset();
    SetValue(*Tit(0, 0, 2), 15);
    RunPass(true);
    EXPECT_TRUE(Logged("Включаем реле - Нет ответа от местного блока Р5-22К - 1-2 ТИТ №0", kLogSent));
    EXPECT_EQ(owner.titles.last(), QStringLiteral("Реле отключено - Нет ответа от местного блока Р5-22К "));
}

TEST_F(RelayTest, NoConditionThatHoldsLeavesTheRelayAlone)
{
    Settings.CheckT1 = 0;                 // set-point 1 is off
    Settings.Relays[SetPoint1] = true;
    Settings.Relays[CommutatorNoReply] = true;
    SetValue(*Tit(0, 0, 0), 60);
    RunPass(true);
    EXPECT_TRUE(RelaySwitches().empty());
    EXPECT_EQ(clock.sleeps, 0);
}

TEST_F(RelayTest, ARelayThatNeverAnswersIsLoggedPerAttemptWithoutFailingThePass)
{
    Settings.TimeoutData = 20;
    Settings.Relays[ShortCircuit] = true;
    SetValue(*Tit(0, 0, 0), -45);
    sim.AddFault({.address = 0, .faults = {.silent = true}});
    RunPass(true);
    EXPECT_EQ(RelaySwitches().size(), 30u) << "15 attempts on, 15 off";
    const auto red = LinesIn(kLogError);
    ASSERT_EQ(red.size(), 30u);
    EXPECT_EQ(red[0].rfind("Error: Нет ответа", 0), 0u) << red[0];
    EXPECT_EQ(owner.doneCount, 1);
}

} // namespace
