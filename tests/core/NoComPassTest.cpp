// The live pass without a port: block switches get a fixed reply and sensor replies come from
// the log lines of an earlier run kept in "nocom.log".
#include "PassTestSupport.h"

#include "base/HexText.h"
#include "core/Exchange/NoComReply.h"
#include "core/Exchange/SendTH.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using ft3sim::RawWords;
using ft3sim::WordsForTemperature;

namespace {

// A local block's data reply for the channel, as the log shows it: "->: " and the user data.
std::string ReplyLine(uint16_t channel, const RawWords& words)
{
    DynByteArray reply{0x88, 0xFA, 0x01, 0x00, 0x00, 0x94, 0x10, static_cast<uint8_t>(channel & 0xFF),
                       static_cast<uint8_t>(channel >> 8), 0x02};
    for (uint16_t word : words)
        reply.insert(reply.end(), {static_cast<uint8_t>(word & 0xFF), static_cast<uint8_t>(word >> 8)});
    return "10.05.2024 08:00:00.125 : ->: " + BytesToHex(reply);
}

void WriteLines(const QString& path, const std::vector<std::string>& lines)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const std::string& line : lines)
        file.write((line + "\r\n").c_str());
}

class NoComPassTest : public PassTest {
protected:
    NoComPassTest() { Settings.NoCom = true; }

    void WriteNoComLog(const std::vector<std::string>& lines) { WriteLines(FolderPath(QStringLiteral("nocom.log")), lines); }

    int RunLivePass(std::initializer_list<TSilos*> silos)
    {
        TSendTH pass(runner, Settings);
        for (TSilos* s : silos)
            pass.AddSilos(s);
        Run(pass);
        return pass.AlarmLevel();
    }

    static double Expected(double celsius) { return TemperatureOf(WordsForTemperature(celsius)); }
};

TEST_F(NoComPassTest, RepliesComeFromTheLogAndAMissingChannelFails)
{
    MakeTree(1, 1, 3);
    WriteNoComLog({"10.05.2024 08:00:00.100 : <-:  A0 26 0A DB 01 FA 00 00 14 10 00 00 02 00 00 00 00 00 44 80",
                   ReplyLine(0, WordsForTemperature(10)), ReplyLine(2, WordsForTemperature(12))});
    // The port is never opened: nothing may touch it.
    RunLivePass({Silos(0, 0)});

    EXPECT_NEAR(Tit(0, 0, 0)->GetPoint(0)->Value, Expected(10), 1e-9);
    EXPECT_NEAR(Tit(0, 0, 2)->GetPoint(0)->Value, Expected(12), 1e-9);
    EXPECT_TRUE(Tit(0, 0, 1)->Flags() & kTITNoReply);
    EXPECT_EQ(LinesIn(kLogError), std::vector<std::string>{"Нет ответа от контроллера с адресом 1"});
    EXPECT_EQ(LogFileLines(QStringLiteral("Error.log")).value(1), QStringLiteral("->: "));
    EXPECT_TRUE(Logged(" 80 FA 00 00 00 D0 00 01 00 00", kLogReply)) << "the fixed reply of the switches";
    EXPECT_EQ(line.NoComReplies.Cursor(), 2) << "left on the line last found";
    EXPECT_EQ(owner.doneCount, 1);
}

TEST_F(NoComPassTest, TheCursorStaysFromPassToPass)
{
    MakeTree(1, 1, 2);
    Settings.PollRepeats = 2;
    WriteNoComLog({ReplyLine(0, WordsForTemperature(10)), ReplyLine(1, WordsForTemperature(11)),
                   ReplyLine(0, WordsForTemperature(20))});
    RunLivePass({Silos(0, 0)});
    EXPECT_NEAR(Tit(0, 0, 0)->GetValue(), Expected(10), 1e-9) << "the line found is found again first";
    EXPECT_EQ(Tit(0, 0, 0)->Values().size(), 2u);
    EXPECT_NEAR(Tit(0, 0, 1)->GetValue(), Expected(11), 1e-9);
    EXPECT_EQ(line.NoComReplies.Cursor(), 1);

    // The next pass searches on from there: channel 0 finds its later line, channel 1 none.
    Settings.PollRepeats = 1;
    RunLivePass({Silos(0, 0)});
    EXPECT_NEAR(Tit(0, 0, 0)->GetValue(), Expected(20), 1e-9);
    EXPECT_TRUE(Tit(0, 0, 1)->Values().empty());
    EXPECT_EQ(line.NoComReplies.Cursor(), 0) << "a channel not found sends the search back to the first line";
}

TEST_F(NoComPassTest, SensorsThePassDoesNotPollRaiseNoAlarm)
{
    MakeTree(1, 2, 2);
    Settings.Alarms[BlockNoReply] = {true, 2};
    Tit(0, 0, 1)->SetOff(0);
    Silos(0, 1)->SetSilosName(QStringLiteral("0"));
    WriteNoComLog({ReplyLine(0, WordsForTemperature(10))});
    EXPECT_EQ(RunLivePass({Silos(0, 0), Silos(0, 1)}), 0);
    EXPECT_FALSE(QFile::exists(FolderPath(QStringLiteral("overlay.log"))));

    // A polled sensor without a reply does.
    WriteNoComLog({});
    EXPECT_EQ(RunLivePass({Silos(0, 0), Silos(0, 1)}), 2);
}

TEST(NoComReply, TheLineGivesEighteenOctetsFromTheFirst)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nocom.log"));
    const std::string full = "x : ->:  88 FA 01 00 00 94 10 07 00 02 E8 03 00 00 00 00 13 04 55 66";
    WriteLines(path, {"no reply here", full, "y : ->:  88 FA 01 00 00 94 10 08 00", "z : <-:  94 10 09 00",
                      "w : ->:  88 FA 01 00 00 94 10 0A 00 02 E8 0G"});

    TNoComReplies replies;
    EXPECT_EQ(replies.ReadNoComReply(path, 7), (DynByteArray{0x88, 0xFA, 0x01, 0x00, 0x00, 0x94, 0x10, 0x07, 0x00, 0x02, 0xE8,
                                                     0x03, 0x00, 0x00, 0x00, 0x00, 0x13, 0x04}))
        << "octets past the 18th are dropped";
    EXPECT_EQ(replies.Cursor(), 1);
    EXPECT_EQ(replies.ReadNoComReply(path, 8), (DynByteArray{0x88, 0xFA, 0x01, 0x00, 0x00, 0x94, 0x10, 0x08, 0x00, 0, 0, 0, 0,
                                                     0, 0, 0, 0, 0}))
        << "a short line is filled with zeros";
    EXPECT_TRUE(replies.ReadNoComReply(path, 9).empty()) << "the line found holds no reply";
    EXPECT_EQ(replies.Cursor(), 3);
    try {
        replies.ReadNoComReply(path, 10);
        ADD_FAILURE() << "a broken octet must not read as data";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Неверный ответ в строке 5 файла nocom.log");
    }
    EXPECT_TRUE(replies.ReadNoComReply(path, 7).empty()) << "the search starts at the cursor, past channel 7";
    EXPECT_EQ(replies.Cursor(), 0);
    EXPECT_TRUE(replies.ReadNoComReply(dir.filePath(QStringLiteral("missing.log")), 7).empty());
}

} // namespace
