#include "SensorTestSupport.h"

#include "base/Exception.h"
#include "core/Device/Device.h"

#include <gtest/gtest.h>

namespace {

class TITReading : public SensorTest {
protected:
    THardConfig tree{4, 12, 6};
    TTIT& tit = *tree.GetMB(2)->GetSilos(4)->GetTIT(1);
    const TDateTime passStart = EncodeDateTime(2024, 5, 10, 9, 0, 0, 0);
};

} // namespace

TEST_F(TITReading, RawWordsAreSignedLittleEndianAndCalibrated)
{
    TRawWords seen;
    TReadingRules rules = Rules();
    rules.Calc = [&](const TRawWords& w) {
        seen = w;
        return 56.1;
    };
    tit.SetOff(kR0Ohm50);
    tit.SetMult(kMultOhm50);
    tit.SetTk(0.5);
    const std::vector<uint8_t> raw{0xE8, 0x03, 0x00, 0x80, 0xFF, 0xFF, 0x14, 0x05, 0xAA};   // 9th octet ignored
    tit.AddRawReading(raw, passStart, rules);

    EXPECT_EQ(seen.U1, 1000);
    EXPECT_EQ(seen.U2, -32768);   // 0x8000 and above are negative
    EXPECT_EQ(seen.U3, -1);
    EXPECT_EQ(seen.U4, 1300);
    ASSERT_EQ(tit.Values().size(), 1u);
    EXPECT_DOUBLE_EQ(tit.GetValue(), (56.1 - 50.0) * 4.6729 + 0.5);
    EXPECT_EQ(tit.LastTime(), passStart);

    const auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, "3.5.2 : U1=1000 U2=-32768 U3=-1 U4=1300 T=56.100");
    EXPECT_EQ(log[0].second, kLogRawTrace);
}

TEST_F(TITReading, ShortReadingAndFailingCalculationRaiseAndAddNothing)
{
    EXPECT_THROW(
        {
            try {
                tit.AddRawReading(std::vector<uint8_t>(7, 0), passStart, Rules());
            } catch (const Exception& e) {
                EXPECT_STREQ(e.what(), "нет данных");
                throw;
            }
        },
        Exception);
    TReadingRules failing = Rules();
    failing.Calc = [](const TRawWords&) -> double { throw Exception("Скрипт не выполнен. (деление на ноль)"); };
    EXPECT_THROW(tit.AddRawReading(Raw(1), passStart, failing), Exception);
    EXPECT_TRUE(tit.Values().empty());
}

TEST_F(TITReading, AReplyClearsTheNoReplyMarkAndTimeZeroMeansNow)
{
    tit.SetValid(false);
    EXPECT_EQ(tit.Flags() & kTITNoReply, kTITNoReply);
    const TDateTime before = Now();
    tit.AddRawReading(Raw(250), 0, Rules());
    EXPECT_EQ(tit.Flags() & kTITNoReply, 0);
    EXPECT_GE(tit.LastTime(), before);
}

TEST_F(TITReading, APassStoresTheRobustMeanAndKeepsItsValuesUntilCleared)
{
    tit.SetOff(1.0);   // installed, with R - 1 as the temperature
    for (int16_t u1 : {210, 211, 260})
        tit.AddRawReading(Raw(u1), passStart, Rules());
    tit.StorePoint(passStart, Rules());
    ASSERT_EQ(tit.PointCount(), 1);
    EXPECT_NEAR(tit.GetPoint(0)->Value, 20.07037037037037, 1e-9);
    EXPECT_EQ(tit.GetPoint(0)->Time, passStart);
    EXPECT_EQ(tit.Values().size(), 3u);   // they keep deciding colour and text

    tit.ClearValues();
    tit.SetValid(false);
    tit.StorePoint(passStart + 1, Rules());   // a pass without any reply stores "no data"
    EXPECT_EQ(tit.GetPoint(1)->Value, kNoData);
}

TEST_F(TITReading, ArchiveValuesAreKeptAsTheyCome)
{
    tit.SetOff(kR0Ohm53);
    tit.SetMult(kMultOhm53);
    tit.AddValue(true, passStart, 12.25, Settings);
    tit.StorePoint(tit.LastTime(), Rules());
    EXPECT_EQ(tit.GetValue(), 12.25);
    EXPECT_EQ(tit.GetPoint(0)->Value, 12.25);
    EXPECT_TRUE(Log().empty());
    tit.AddValue(false, passStart, 13.25, Settings);
    EXPECT_EQ(tit.Flags() & kTITNoReply, kTITNoReply);
}

TEST_F(TITReading, PointAccessOutsideTheHistoryGivesNone)
{
    tit.AddValue(true, passStart, 1, Settings);
    tit.StorePoint(passStart, Rules());
    EXPECT_FALSE(tit.GetPoint(-1));
    EXPECT_FALSE(tit.GetPoint(1));
    EXPECT_FALSE(tit.GetAverage(-1));
    EXPECT_FALSE(tit.GetAverage(1));
    EXPECT_TRUE(tit.GetAverage(0));
    tit.DeletePoint(-1, Settings.AveragePeriod);
    tit.DeletePoint(3, Settings.AveragePeriod);
    EXPECT_EQ(tit.PointCount(), 1);
    tit.DeletePoint(0, Settings.AveragePeriod);
    EXPECT_EQ(tit.PointCount(), 0);
    EXPECT_EQ(tit.AverageCount(), 0);
}

TEST_F(TITReading, ClearPointsAlsoEmptiesThePassValues)
{
    tit.AddValue(true, passStart, 1, Settings);
    tit.StorePoint(passStart, Rules());
    tit.ClearPoints();
    EXPECT_EQ(tit.PointCount(), 0);
    EXPECT_EQ(tit.AverageCount(), 0);
    EXPECT_TRUE(tit.Values().empty());
}

TEST_F(TITReading, AveragesFollowTheConfiguredPeriod)
{
    Settings.AveragePeriod = 60;
    const TDateTime day = EncodeDate(2024, 5, 10);
    for (auto [minute, value] : {std::pair{30, 10.0}, {60, 20.0}, {80, 40.0}}) {
        tit.ClearValues();
        tit.AddValue(true, day + minute / 1440.0, value, Settings);
        tit.StorePoint(day + minute / 1440.0, Rules());
    }
    ASSERT_EQ(tit.AverageCount(), 2);
    EXPECT_EQ(tit.GetAverage(0)->Value, 15.0);
    EXPECT_EQ(tit.GetAverage(1)->Value, 40.0);

    Settings.AveragePeriod = 0;
    EXPECT_EQ(tit.AverageCount(), 2);   // the averages stay until rebuilt
    tit.RebuildAverages(Settings.AveragePeriod);
    EXPECT_EQ(tit.AverageCount(), 3);
    tit.ClearAverages();
    EXPECT_EQ(tit.AverageCount(), 0);
}

TEST_F(TITReading, AssignedPointsAreSortedAndAveraged)
{
    std::vector<TTITPoint> points(2);
    points[0].SetTime(passStart + 1);
    points[0].Value = 2;
    points[1].SetTime(passStart);
    points[1].Value = 1;
    tit.AddValue(true, passStart, 7, Settings);
    tit.AssignPoints(points);
    ASSERT_EQ(tit.PointCount(), 2);
    EXPECT_EQ(tit.GetPoint(0)->Value, 1);
    EXPECT_EQ(tit.AverageCount(), 2);
    EXPECT_EQ(tit.GetValue(), 7);
}

TEST_F(TITReading, TheSettingsProcedureTurnsTheWordsIntoTheResistance)
{
    TReadingRules own = Rules();
    own.Calc = {};   // the settings' own procedure
    Settings.CalcProc = BuiltInCalcProc();
    Settings.Ri = 51;
    tit.SetOff(kR0Ohm50);
    tit.SetMult(kMultOhm50);
    tit.AddRawReading(Raw(1000, 0, 100, 1300), passStart, own);
    EXPECT_NEAR(tit.GetValue(), (56.1 - 50.0) * 4.6729, 1e-9);
    EXPECT_EQ(Log().back().first, "3.5.2 : U1=1000 U2=0 U3=100 U4=1300 T=56.100");

    // A procedure edited in the settings counts from the next reading on.
    Settings.CalcProc = QStringLiteral("U1 + U4");
    tit.ClearValues();
    tit.AddRawReading(Raw(-2, 0, 0, 60), passStart, own);
    EXPECT_NEAR(tit.GetValue(), (58 - 50.0) * 4.6729, 1e-9);

    // A failing procedure passes its error on and adds no value.
    Settings.CalcProc = QStringLiteral("U1 div U2");
    EXPECT_THROW(tit.AddRawReading(Raw(5, 0), passStart, own), Exception);
    Settings.CalcProc = QStringLiteral("U1 +");
    EXPECT_THROW(tit.AddRawReading(Raw(5, 0), passStart, own), Exception);
    EXPECT_EQ(tit.Values().size(), 1u);
}
