#include "core/Parameters.h"

#include <gtest/gtest.h>

#include <QStringList>

TEST(Parameters, DefaultsAreThoseOfAFirstStart)
{
    const Parameters p;
    EXPECT_TRUE(p.DataFile.isEmpty());
    EXPECT_FALSE(p.DBAutoExport);
    EXPECT_EQ(p.ControllerKind, 0);
    EXPECT_EQ(p.Ri, 51);
    EXPECT_EQ(p.U1k, 1.0);
    EXPECT_EQ(p.U2k, 1.0);
    EXPECT_EQ(p.PollRepeats, 1);
    EXPECT_EQ(p.PauseMBOn, 300);
    EXPECT_EQ(p.PauseMBOff, 300);
    EXPECT_EQ(p.PauseRequest, 300);
    EXPECT_EQ(p.TimeoutMBSelect, 300);
    EXPECT_EQ(p.TimeoutData, 300);
    EXPECT_EQ(p.TimeoutArchiveClear, 10);
    EXPECT_EQ(p.ArchiveBlockSize, 5);
    EXPECT_EQ(p.ArchiveAddr, 0);
    EXPECT_EQ(p.MaxT, 30);
    EXPECT_EQ(p.CheckT1 + p.CheckT2 + p.CheckT3, 0);
    EXPECT_FALSE(p.UseCheckSpeed);
    EXPECT_EQ(p.CheckSpeed, 0.5);
    EXPECT_EQ(p.ColorMaxT, 255u);
    EXPECT_EQ(p.ColorCheckT1 + p.ColorCheckT2 + p.ColorCheckT3, 0u);
    EXPECT_EQ(p.ColorX, 8421504u);
    EXPECT_EQ(p.ColorKz, 128u);
    EXPECT_EQ(p.ColorSpeed, 255u);
    EXPECT_EQ(p.Precision, 3);
    EXPECT_TRUE(p.Elevator.Region.isEmpty() && p.Elevator.District.isEmpty());
    EXPECT_EQ(p.ScaleMinT, 0.0);
    EXPECT_EQ(p.ScaleMaxT, 0.0);
    for (const TLineStyle& line : p.Lines) {
        EXPECT_EQ(line.Width, 1);
        EXPECT_EQ(line.Color, 65280u);
        EXPECT_FALSE(line.ShowPoints);
        EXPECT_EQ(line.PointStyle, 0);
    }
    EXPECT_EQ(p.CalcProc, BuiltInCalcProc());
    EXPECT_EQ(p.AveragePeriod, 0);
    EXPECT_EQ(p.SiloBinCount, 0);
    EXPECT_EQ(p.TextBreak, QStringLiteral("X"));
    EXPECT_EQ(p.TextShort, QStringLiteral("КЗ"));
    EXPECT_EQ(p.rtMarginLeft + p.rtMarginTop + p.rtMarginRight + p.rtMarginBottom, 0);
    EXPECT_EQ(p.PrinterOrientation + p.PrinterBin + p.PrinterPaperSize, 0);
    // The print colours follow the screen colours.
    EXPECT_EQ(p.PrintColorMaxT, p.ColorMaxT);
    EXPECT_EQ(p.PrintColorCheckT1, p.ColorCheckT1);
    EXPECT_EQ(p.PrintColorX, p.ColorX);
    EXPECT_EQ(p.PrintColorKz, p.ColorKz);
    EXPECT_EQ(p.PrintColorSpeed, p.ColorSpeed);
    EXPECT_FALSE(p.Print2Column);
    for (const TAlarmSetting& alarm : p.Alarms) {
        EXPECT_FALSE(alarm.Enabled);
        EXPECT_EQ(alarm.Level, 0);
    }
    for (bool relay : p.Relays)
        EXPECT_FALSE(relay);
    EXPECT_EQ(p.RelayDuration, 1);
}

TEST(Parameters, AlarmsAndRelaysAreNumberedFromOneInTheirOrder)
{
    Parameters p;
    EXPECT_EQ(p.Alarms.size(), 9u);
    p.Alarms[OverMaxT].Enabled = true;
    p.Alarms[ShortCircuit].Level = 2;
    p.Relays[CommutatorNoReply] = true;
    EXPECT_TRUE(p.Alarms.items[2].Enabled);
    EXPECT_EQ(p.Alarms.items[8].Level, 2);
    EXPECT_TRUE(p.Relays.items[0]);
    EXPECT_EQ(static_cast<size_t>(SetPoint1), 5u);
    EXPECT_EQ(static_cast<size_t>(LineBreak), 8u);
}

TEST(Parameters, NoComIsAFieldThatACopyCarries)
{
    // A pass works on a copy of the record: the copy must work with the line as the record says.
    Parameters settings;
    EXPECT_FALSE(settings.NoCom);
    settings.NoCom = true;
    const Parameters copy = settings;
    settings.NoCom = false;
    EXPECT_TRUE(copy.NoCom);
    EXPECT_FALSE(Parameters().NoCom);
}

TEST(Parameters, BuiltInProcedureHasItsSeventeenLinesWithoutATrailingBreak)
{
    const QStringList lines = BuiltInCalcProc().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines.first(), QStringLiteral("// входные переменные: Ri, U1, U2, U3, U4 типа integer"));
    EXPECT_TRUE(lines[7].isEmpty());
    EXPECT_EQ(lines[15], QStringLiteral(" if I<>0 then Result:=Ui/I else Result:=65535;"));
    EXPECT_EQ(lines.last(), QStringLiteral("end;"));
}
