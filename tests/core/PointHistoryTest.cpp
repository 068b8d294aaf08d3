#include "core/Device/PointHistory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr double kSecond = 1.0 / 86400.0;

TDateTime At(int hour, int minute, int second = 0)
{
    return EncodeDateTime(2024, 5, 10, hour, minute, second, 0);
}

std::vector<double> Times(const std::vector<TTITPoint>& points)
{
    std::vector<double> times;
    for (const TTITPoint& p : points)
        times.push_back(p.Time);
    return times;
}

// The averages a history would have if built from scratch now.
std::vector<TTITPoint> Rebuilt(const TPointHistory& history, int period)
{
    TPointHistory copy;
    copy.Assign(history.Points(), period);
    return copy.Averages();
}

void ExpectSameAverages(const std::vector<TTITPoint>& actual, const std::vector<TTITPoint>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].Time, expected[i].Time) << i;
        EXPECT_EQ(actual[i].UnixTime, expected[i].UnixTime) << i;
        EXPECT_EQ(actual[i].Value, expected[i].Value) << i;
    }
}

} // namespace

TEST(PointHistory, StoresWithinAMillionthOfADayReplace)
{
    TPointHistory h;
    const TDateTime t = At(12, 0);
    h.Store(t, 1.0, 0);
    h.Store(t + 0.05 * kSecond, 2.0, 0);   // 0.05 s later: the same poll
    ASSERT_EQ(h.PointCount(), 1u);
    EXPECT_EQ(h.Point(0).Value, 2.0);
    EXPECT_EQ(h.Point(0).Time, t + 0.05 * kSecond);

    h.Store(t + 0.15 * kSecond, 3.0, 0);   // 0.1 s after the last one: another poll
    ASSERT_EQ(h.PointCount(), 2u);
    EXPECT_EQ(h.Point(1).Value, 3.0);
}

TEST(PointHistory, KeepsPointsInTimeOrderWhateverTheOrderOfStores)
{
    TPointHistory h;
    const TDateTime times[] = {At(5, 0), At(1, 0), At(9, 0), At(3, 0), At(7, 0), At(1, 0)};
    for (TDateTime t : times)
        h.Store(t, t, 0);
    EXPECT_EQ(Times(h.Points()), (std::vector<double>{At(1, 0), At(3, 0), At(5, 0), At(7, 0), At(9, 0)}));
    EXPECT_EQ(h.Point(2).UnixTime, DateTimeToUnix(At(5, 0)));
}

TEST(PointHistory, AssignSortsAndKeepsEqualTimesApart)
{
    TPointHistory h;
    std::vector<TTITPoint> points(3);
    points[0].SetTime(At(2, 0));
    points[0].Value = 1;
    points[1].SetTime(At(1, 0));
    points[1].Value = 2;
    points[2].SetTime(At(2, 0));
    points[2].Value = 3;
    h.Assign(points, 0);
    ASSERT_EQ(h.PointCount(), 3u);
    EXPECT_EQ(h.Point(0).Value, 2);
    EXPECT_EQ(h.Point(1).Value, 1);   // equal times keep the order they came in
    EXPECT_EQ(h.Point(2).Value, 3);
}

TEST(PointHistory, PeriodZeroAveragesAreThePoints)
{
    TPointHistory h;
    h.Store(At(2, 0), 5, 0);
    h.Store(At(1, 0), 4, 0);
    ExpectSameAverages(h.Averages(), h.Points());
    EXPECT_EQ(h.AverageCount(), 2u);
    EXPECT_EQ(h.Average(1).Value, 5);
}

TEST(PointHistory, HourWindowsEndOnTheHourAndTakeTheirBoundary)
{
    TPointHistory h;
    h.Store(At(0, 30), 10, 60);
    h.Store(At(1, 0), 20, 60);   // on the boundary: the earlier window
    h.Store(At(1, 20), 40, 60);
    const auto averages = h.Averages();
    ASSERT_EQ(averages.size(), 2u);
    EXPECT_EQ(averages[0].Value, 15);
    EXPECT_EQ(averages[0].UnixTime, DateTimeToUnix(At(1, 0)));
    EXPECT_EQ(averages[1].Value, 40);
    EXPECT_EQ(averages[1].UnixTime, DateTimeToUnix(At(2, 0)));
}

TEST(PointHistory, WindowsRunOnFromTheFirstDaysMidnightWithoutGaps)
{
    TPointHistory h;
    // 50-minute windows do not divide a day: the next day's windows continue the count.
    h.Store(EncodeDateTime(2024, 5, 10, 0, 10, 0, 0), 1, 50);
    h.Store(EncodeDateTime(2024, 5, 11, 0, 10, 0, 0), 2, 50);   // 1450 min: window 28 ends at 1450
    const auto averages = h.Averages();
    ASSERT_EQ(averages.size(), 2u);
    EXPECT_EQ(averages[0].UnixTime, DateTimeToUnix(EncodeDateTime(2024, 5, 10, 0, 50, 0, 0)));
    EXPECT_EQ(averages[1].UnixTime, DateTimeToUnix(EncodeDateTime(2024, 5, 11, 0, 10, 0, 0)));
}

TEST(PointHistory, PeriodsOfADayAndMoreGiveValidWindows)
{
    TPointHistory h;
    h.Store(EncodeDateTime(2024, 5, 10, 6, 0, 0, 0), 1, 2 * 1440);
    h.Store(EncodeDateTime(2024, 5, 11, 6, 0, 0, 0), 3, 2 * 1440);
    h.Store(EncodeDateTime(2024, 5, 12, 6, 0, 0, 0), 7, 2 * 1440);
    const auto averages = h.Averages();
    ASSERT_EQ(averages.size(), 2u);
    EXPECT_EQ(averages[0].Value, 2);
    EXPECT_EQ(averages[0].Time, EncodeDate(2024, 5, 12));
    EXPECT_EQ(averages[1].Value, 7);
    EXPECT_EQ(averages[1].Time, EncodeDate(2024, 5, 14));
}

TEST(PointHistory, IncrementalAveragesEqualARebuildAfterEveryStore)
{
    // Stores in random order, replacements within the span, points before the first day (which
    // move the windows' origin) and a change of period on the way.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> minute(0, 6 * 1440);
    std::uniform_int_distribution<int> centi(-500, 3500);
    TPointHistory h;
    const TDateTime origin = EncodeDate(2024, 1, 10);
    for (int i = 0; i < 400; ++i) {
        const int period = i < 200 ? 45 : 90;
        TDateTime time = origin + minute(random) / 1440.0;
        if (i % 17 == 0 && h.PointCount() > 0)
            time = h.Point(static_cast<size_t>(i) % h.PointCount()).Time + 0.4e-6;   // a replacement
        if (i == 150)
            time = origin - 3.5;   // earlier than all: the origin moves
        h.Store(time, centi(random) / 100.0, period);
        ExpectSameAverages(h.Averages(), Rebuilt(h, period));
        ASSERT_TRUE(std::is_sorted(h.Points().begin(), h.Points().end(),
                                   [](const TTITPoint& a, const TTITPoint& b) { return a.Time < b.Time; }));
    }
}

TEST(PointHistory, DeleteAndClearAverages)
{
    TPointHistory h;
    h.Store(At(0, 30), 10, 60);
    h.Store(At(1, 30), 20, 60);
    h.Delete(0, 60);
    ASSERT_EQ(h.PointCount(), 1u);
    ASSERT_EQ(h.AverageCount(), 1u);
    EXPECT_EQ(h.Average(0).Value, 20);
    h.Delete(5, 60);   // out of range: nothing
    EXPECT_EQ(h.PointCount(), 1u);

    h.ClearAverages();
    EXPECT_EQ(h.AverageCount(), 0u);
    h.Store(At(3, 0), 30, 60);   // a store brings the averages back in full
    EXPECT_EQ(h.AverageCount(), 2u);

    h.Clear();
    EXPECT_EQ(h.PointCount(), 0u);
    EXPECT_EQ(h.AverageCount(), 0u);
}
