#include "SensorTestSupport.h"

#include "core/Device/Device.h"

#include <gtest/gtest.h>

namespace {

class TITRate : public SensorTest {
protected:
    TITRate()
    {
        Settings.UseCheckSpeed = true;
        Settings.CheckSpeed = 0.5;
        Settings.ColorSpeed = 0x000707;
        tit.SetOff(1.0);   // installed; with the tests' formula the temperature is U1 / 10 - 1
    }

    // A stored point on day d (0 = today) at the hour.
    void Point(int d, int hour, double value)
    {
        tit.ClearValues();
        tit.AddValue(true, Day(d) + hour / 24.0, value, Settings);
        tit.StorePoint(Day(d) + hour / 24.0, Rules());
    }

    // A live pass with one reading giving the temperature.
    void LivePass(TDateTime time, double temperature)
    {
        tit.ClearValues();
        tit.AddRawReading(Raw(static_cast<int16_t>((temperature + 1) * 10)), time, Rules());
        tit.StorePoint(time, Rules());
    }

    static TDateTime Day(int d) { return EncodeDate(2024, 5, 10) + d; }

    THardConfig tree{3, 12, 6};
    TTIT& tit = *tree.GetMB(1)->GetSilos(2)->GetTIT(3);
};

} // namespace

TEST_F(TITRate, MeanDailyChangeOverFiveDaysFromTheFirstValidPointOfEachDay)
{
    Settings.UseCheckSpeed = false;
    Point(-4, 8, 10.0);
    Point(-4, 20, 30.0);   // not the first of its day
    Point(-3, 7, -37.0);   // out of range: the day's later point counts
    Point(-3, 9, 11.0);
    Point(-2, 8, 12.0);
    Point(-1, 8, 14.0);
    Point(0, 8, 12.0);
    EXPECT_DOUBLE_EQ(tit.CalcSpeed(Day(0) + 0.9), 0.5);
    const QStringList log = SpeedLog();
    ASSERT_EQ(log.size(), 7);
    EXPECT_EQ(log[0], QStringLiteral("Термоподвеска 2:3 датчик 4 за период времени с 06.05.2024 по 10.05.2024"));
    EXPECT_EQ(log[1], QStringLiteral("06.05.24 08:00:00.000 0 - 10.000"));
    EXPECT_EQ(log[2], QStringLiteral("07.05.24 09:00:00.000 1 - 11.000 dlt = 1.000"));
    EXPECT_EQ(log[5], QStringLiteral("10.05.24 08:00:00.000 4 - 12.000 dlt = -2.000"));
    EXPECT_EQ(log[6], QStringLiteral("Полученная дельта = 0.500"));
}

TEST_F(TITRate, AMissingDayGivesZeroAndNoTrace)
{
    Settings.UseCheckSpeed = false;
    for (int d : {-4, -3, -2, 0})
        Point(d, 8, 10.0 + d);
    Point(0, 9, 40.0);
    EXPECT_EQ(tit.CalcSpeed(Day(0)), 0.0);
    EXPECT_EQ(TTIT(nullptr, 0).CalcSpeed(Day(0)), 0.0);   // no points at all
    EXPECT_TRUE(SpeedLog().isEmpty());
}

TEST_F(TITRate, TheFirstLivePassOfADayRaisesTheAlarmOnceItsPointIsStored)
{
    // 6, 7, 8, 9 on days -4 to -1: no series of five days yet, so no alarm.
    for (int d = -4; d <= -1; ++d)
        LivePass(Day(d) + 0.25, 10.0 + d);
    EXPECT_FALSE(tit.SpeedAlarm());
    Settings.CheckSpeed = 2.0;
    LivePass(Day(0) + 0.25, 20.0);
    EXPECT_TRUE(tit.SpeedAlarm());   // (20 - 6) / 4 = 3.5 degrees a day
    EXPECT_EQ(tit.GetColor(Settings), Settings.ColorSpeed);

    const auto log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().first,
              "Термоподвеска 2:3 датчик 4 за период времени с 06.05.2024 по 10.05.2024 температура изменилась на 3.500");
    EXPECT_EQ(log.back().second, kLogSpeedNote);

    // A later pass of the same day is not judged again.
    LivePass(Day(0) + 0.5, 20.0);
    EXPECT_FALSE(tit.SpeedAlarm());
}

TEST_F(TITRate, ASlowChangeRaisesNothing)
{
    for (int d = -4; d <= 0; ++d)
        LivePass(Day(d) + 0.25, 10.0 + 0.25 * d);
    EXPECT_FALSE(tit.SpeedAlarm());
    EXPECT_EQ(SpeedLog().size(), 7);   // the check ran and traced its series
}

TEST_F(TITRate, ArchiveValuesAreJudgedOnceTheirPointIsStored)
{
    for (int d = -4; d <= -1; ++d)
        Point(d, 6, 10.0);
    EXPECT_FALSE(tit.SpeedAlarm());
    Point(0, 6, 14.0);   // (14 - 10) / 4 = 1 degree a day
    EXPECT_TRUE(tit.SpeedAlarm());
    // Showing a stored poll again judges it at once: its point is already there.
    tit.ClearValues();
    tit.AddValue(true, Day(0) + 0.25, 14.0, Settings);
    EXPECT_TRUE(tit.SpeedAlarm());
}

TEST_F(TITRate, SwitchedOffCheckNeverAlarms)
{
    Settings.UseCheckSpeed = false;
    for (int d = -4; d <= 0; ++d)
        LivePass(Day(d) + 0.25, 10.0 + 5 * d);
    EXPECT_FALSE(tit.SpeedAlarm());
    EXPECT_TRUE(SpeedLog().isEmpty());
}
