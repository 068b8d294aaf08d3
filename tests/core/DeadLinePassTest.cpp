// Passes on a line that vanishes (an adaptor pulled out) and comes back: every
// failure shows in red naming the controller and the port, the sensors asked in vain are marked
// as not replied, the block that could not be switched on is named, the alarms fire, and the
// next pass after the line's return reads every sensor again.
#include "PassTestSupport.h"

#include "core/Exchange/SendTH.h"
#include "core/Exchange/SendTHArc.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class DeadLinePassTest : public PassTest {
protected:
    void SetUp() override
    {
        // The simulator keeps the port's link pointed at its line, and nowhere while it is away.
        sim.KeepLink(home.LinkPath(kPortNumber).string());
        sim.Start();
        OpenPort();

        // Two blocks of two suspensions of three sensors.
        MakeTree(2, 2, 3);
        Settings.TimeoutData = 100;
        sim.localBlock().SetDefaultReadings(ft3sim::WordsForTemperature(12));
    }

    int RunPass()
    {
        TSendTH pass(runner, Settings);
        for (int b = 0; b < 2; ++b)
            for (int s = 0; s < 2; ++s)
                pass.AddSilos(Silos(b, s));
        Run(pass);
        return pass.AlarmLevel();
    }

    QStringList OverlayLog() const
    {
        QStringList texts;
        for (const QString& line : LogFileLinesIn(QStringLiteral("overlay.log")))
            texts << line.section(QStringLiteral(": "), 1);
        return texts;
    }
    QStringList LogFileLinesIn(const QString& name) const
    {
        QFile file(FolderPath(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

TEST_F(DeadLinePassTest, ALineThatVanishesMidPassShowsWhatFailedWhereAndWhy)
{
    Settings.Alarms[CommutatorNoReply] = {true, 1};
    Settings.Alarms[BlockNoReply] = {true, 2};
    // Block 0 is switched on and its first suspension read; the line goes at the next request.
    sim.VanishAfter(4);
    EXPECT_EQ(RunPass(), 2);

    for (int t = 0; t < 3; ++t) {
        EXPECT_TRUE(Tit(0, 0, t)->IsValid());
        EXPECT_NEAR(Tit(0, 0, t)->GetValue(), TemperatureOf(ft3sim::WordsForTemperature(12)), 1e-9);
    }
    // Asked and never answered: a point without a value, and the sensor shows as not replied.
    for (int t = 0; t < 3; ++t) {
        const TTIT& asked = *Tit(0, 1, t);
        ASSERT_EQ(asked.PointCount(), 1);
        EXPECT_EQ(asked.GetPoint(0)->Value, kNoData);
        EXPECT_FALSE(asked.IsValid());
        EXPECT_EQ(asked.GetColor(Settings), clBlack);
    }
    // Block 1 could not be switched on: its sensors keep their (empty) history, not replied.
    for (int s = 0; s < 2; ++s)
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(Tit(1, s, t)->PointCount(), 0);
            EXPECT_EQ(Tit(1, s, t)->GetColor(Settings), clBlack);
        }

    EXPECT_EQ(LinesIn(kLogError), (std::vector<std::string>{
        // The request the line vanished under: the read failed.
        "Нет ответа от контроллера с адресом 1 - COM7: Ошибка ввода/вывода для контроллера с адресом 1\r",
        // The next two: the send failed.
        "Нет ответа от контроллера с адресом 1 - COM7: Ошибка ввода/вывода для контроллера с адресом 1\r",
        "Нет ответа от контроллера с адресом 1 - COM7: Ошибка ввода/вывода для контроллера с адресом 1\r",
        // Block 0 cannot be switched off, block 1 not on: the port was reopened meanwhile and
        // the device was gone.
        "Нет ответа от контроллера с адресом 0 - COM7: Нет такого файла или каталога для контроллера с адресом 0\r",
        "Нет ответа от контроллера с адресом 0 - COM7: Нет такого файла или каталога для контроллера с адресом 0\r",
        "Местный блок №2 не включен: его термоподвески не опрошены",
    }));
    EXPECT_EQ(port.Status(), "Нет такого файла или каталога");
    EXPECT_EQ(OverlayLog(), (QStringList{QStringLiteral("Нет ответа от коммутатора КС-4"),
                                         QStringLiteral("Нет ответа от местного блока Р5-22К")}));
}

// With every notification condition off, as the program starts, a failed line is still told
// and still no success: each of its red lines goes out as a failure of the line, and the taskbar
// shows an error, while the conditions' own level stays theirs. A silent commutator costs its
// fifteen attempts for each block.
TEST_F(DeadLinePassTest, AFailedLineIsToldAndShownAsAnErrorWhateverTheConditions)
{
    const struct {
        const char* name;
        std::function<void()> fault;
    } cases[] = {
        {"a sensor's block is silent", [this] {
             ft3sim::FaultRule silent;
             silent.address = 1;
             silent.channel = 7;   // suspension 1, sensor 1
             silent.faults.silent = true;
             sim.AddFault(silent);
         }},
        {"the commutator is silent", [this] {
             sim.ClearFaults();
             ft3sim::FaultRule silent;
             silent.address = 0;
             silent.faults.silent = true;
             sim.AddFault(silent);
             Settings.TimeoutData = 20;   // nothing answers: no need to wait long for it
         }},
        {"the line vanishes mid-pass", [this] {
             sim.ClearFaults();
             Settings.TimeoutData = 100;
             sim.VanishAfter(4);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.fault();
        const size_t before = Log().size();
        const size_t levels = owner.alarmLevels.size();
        EXPECT_EQ(RunPass(), 0);
        std::vector<std::string> red, failures;
        const std::vector<LogLine> log = Log();
        for (size_t i = before; i < log.size(); ++i) {
            if (log[i].colour == kLogError)
                red.push_back(log[i].text);
            if (log[i].lineFailed)
                failures.push_back(log[i].text);
        }
        EXPECT_FALSE(red.empty());
        EXPECT_EQ(failures, red);
        ASSERT_GT(owner.alarmLevels.size(), levels);
        EXPECT_EQ(owner.alarmLevels.back(), 2);
    }
    // A pass on a sound line is no error.
    sim.Return();
    const size_t before = LineFailures().size();
    RunPass();
    EXPECT_EQ(LineFailures().size(), before);
    EXPECT_EQ(owner.alarmLevels.back(), 0);
}

TEST_F(DeadLinePassTest, ThePassAfterTheLineCameBackReadsEverySensor)
{
    sim.VanishAfter(4);
    RunPass();
    // A pass on the dead line says so again, however quickly it ends: at once, that the port
    // does not open, why and what to check, instead of asking every block in vain.
    const size_t red = LinesIn(kLogError).size();
    EXPECT_EQ(RunPass(), 0);
    const std::vector<std::string> after = LinesIn(kLogError);
    EXPECT_EQ(std::vector<std::string>(after.begin() + std::ptrdiff_t(red), after.end()),
              std::vector<std::string>{"Порт COM7 не открывается (Нет такого файла или каталога): опрос не выполнен. "
                                       "Проверьте, что преобразователь интерфейса подключён к компьютеру и в меню "
                                       "«Порт обмена» выбран его порт"});
    EXPECT_EQ(owner.alarmLevels.back(), 2) << "the taskbar shows the failed pass as an error";
    for (int b = 0; b < 2; ++b)
        for (int s = 0; s < 2; ++s)
            EXPECT_EQ(Tit(b, s, 0)->GetColor(Settings), clBlack) << "not replied";

    sim.Return();
    const size_t before = LinesIn(kLogError).size();
    RunPass();
    EXPECT_EQ(LinesIn(kLogError).size(), before) << "the first failed attempt reopens the port quietly";
    EXPECT_EQ(port.Status(), "готов");
    for (int b = 0; b < 2; ++b)
        for (int s = 0; s < 2; ++s)
            for (int t = 0; t < 3; ++t) {
                const TTIT& tit = *Tit(b, s, t);
                EXPECT_TRUE(tit.IsValid());
                EXPECT_NEAR(tit.GetValue(), TemperatureOf(ft3sim::WordsForTemperature(12)), 1e-9);
            }
}

TEST_F(DeadLinePassTest, AnArchivePassOnAVanishedLineNamesTheCollectorAndThePort)
{
    Settings.ControllerKind = 1;
    Settings.ArchiveAddr = 3;
    sim.Vanish();
    TSendTHArc pass(runner, Settings);
    pass.AddSilos(Silos(0, 0));
    Run(pass);
    EXPECT_EQ(LinesIn(kLogError), std::vector<std::string>{
        "Нет ответа от контроллера с адресом 3 - COM7: Ошибка ввода/вывода для контроллера с адресом 3\r"});
    EXPECT_EQ(LineFailures(), LinesIn(kLogError));
    EXPECT_EQ(owner.alarmLevels.back(), 2);
}

} // namespace
