// The poll history's grouping by date, its order in both directions, and the windows of Unix
// seconds that deleting a poll removes from the sensors.
#include "app/detail/HistoryActions.h"
#include "app/detail/HistoryModel.h"
#include "base/DateTime.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <gtest/gtest.h>

#include <QPersistentModelIndex>

#include <string>
#include <vector>

namespace {

TTITPoint At(int day, int hour, int minute, int second = 0, double value = 10)
{
    TTITPoint point;
    point.Value = value;
    point.SetTime(EncodeDateTime(2024, 3, day, hour, minute, second, 0));
    return point;
}

// The tree as the operator reads it: dates, and their poll times indented.
std::vector<std::string> Rows(const THistoryModel& model)
{
    std::vector<std::string> rows;
    for (int d = 0; d < model.rowCount(); ++d) {
        const QModelIndex date = model.index(d, 0);
        rows.push_back(model.data(date, Qt::DisplayRole).toString().toStdString());
        for (int p = 0; p < model.rowCount(date); ++p)
            rows.push_back("  " + model.data(model.index(p, 0, date), Qt::DisplayRole).toString().toStdString());
    }
    return rows;
}

// Every row's parent leads back to it, as views rely on.
void ExpectConsistent(const THistoryModel& model)
{
    for (int d = 0; d < model.rowCount(); ++d) {
        const QModelIndex date = model.index(d, 0);
        EXPECT_FALSE(model.parent(date).isValid());
        for (int p = 0; p < model.rowCount(date); ++p)
            EXPECT_EQ(model.parent(model.index(p, 0, date)), date);
    }
}

struct GroupingCase {
    const char* name;
    std::vector<std::vector<TTITPoint>> sensors;   // each sensor's points in time order
    int direction;
    std::vector<std::string> rows;
    std::string newest;
};

TEST(HistoryModel, GroupsPollTimesByDateInEitherDirection)
{
    const std::vector<GroupingCase> cases = {
        {"around midnight", {{At(1, 23, 59), At(2, 0, 1)}}, THistoryModel::kNewestFirst,
         {"02.03.2024", "  00.01.00", "01.03.2024", "  23.59.00"}, "00.01.00"},
        {"one day", {{At(1, 11, 0), At(1, 13, 0)}}, THistoryModel::kNewestFirst,
         {"01.03.2024", "  13.00.00", "  11.00.00"}, "13.00.00"},
        {"two suspensions in one pass", {{At(1, 11, 0)}, {At(1, 11, 0)}}, THistoryModel::kNewestFirst,
         {"01.03.2024", "  11.00.00"}, "11.00.00"},
        {"sensors with different polls",
         {{At(1, 11, 0), At(3, 9, 30, 15)}, {At(1, 12, 0), At(3, 9, 30, 15)}, {}},
         THistoryModel::kOldestFirst,
         {"01.03.2024", "  11.00.00", "  12.00.00", "03.03.2024", "  09.30.15"}, "09.30.15"},
        {"oldest first", {{At(1, 23, 59), At(2, 0, 1), At(2, 6, 0)}}, THistoryModel::kOldestFirst,
         {"01.03.2024", "  23.59.00", "02.03.2024", "  00.01.00", "  06.00.00"}, "06.00.00"},
        {"one sensor's repeated second", {{At(1, 8, 0, 0, 1), At(1, 8, 0, 0, 2)}}, THistoryModel::kNewestFirst,
         {"01.03.2024", "  08.00.00"}, "08.00.00"},
        {"nothing", {{}, {}}, THistoryModel::kNewestFirst, {}, ""},
    };
    for (const GroupingCase& c : cases) {
        SCOPED_TRACE(c.name);
        THistoryModel model;
        model.SetDirection(c.direction);
        model.BeginBuild();
        for (const auto& points : c.sensors)
            model.AddPoints(points);
        model.EndBuild();
        EXPECT_EQ(Rows(model), c.rows);
        ExpectConsistent(model);
        EXPECT_EQ(model.data(model.NewestPoll(), Qt::DisplayRole).toString().toStdString(), c.newest);
    }
}

TEST(HistoryModel, RowsKeepTheFirstPointSeen)
{
    // The second sensor has an earlier poll that day, but the date was made by the first
    // sensor's point; a poll seen twice keeps the first sensor's value.
    THistoryModel model;
    model.AddPoints(std::vector{At(1, 13, 0, 0, 21.5)});
    model.AddPoints(std::vector{At(1, 11, 0, 0, 7), At(1, 13, 0, 0, 99)});
    const QModelIndex date = model.index(0, 0);
    ASSERT_TRUE(model.IsDate(date));
    EXPECT_EQ(model.PointAt(date)->UnixTime, At(1, 13, 0).UnixTime);
    EXPECT_EQ(model.PointAt(model.index(0, 0, date))->Value, 21.5);   // 13:00, newest first
    EXPECT_EQ(model.PointAt(model.index(1, 0, date))->Value, 7);
    EXPECT_FALSE(model.IsDate(model.index(1, 0, date)));
}

TEST(HistoryModel, FlippingTheDirectionKeepsRowsPointingAtTheirPolls)
{
    THistoryModel model;
    model.AddPoints(std::vector{At(1, 10, 0), At(1, 11, 0), At(2, 10, 0)});
    const QPersistentModelIndex day1 = model.index(1, 0);
    const QPersistentModelIndex ten = model.index(1, 0, day1);   // 01.03 10:00 (newest first)
    ASSERT_EQ(model.PointAt(ten)->UnixTime, At(1, 10, 0).UnixTime);
    model.SetDirection(THistoryModel::kOldestFirst);
    EXPECT_EQ(day1.row(), 0);
    EXPECT_EQ(ten.row(), 0);
    EXPECT_EQ(model.PointAt(ten)->UnixTime, At(1, 10, 0).UnixTime);
    EXPECT_EQ(Rows(model), (std::vector<std::string>{"01.03.2024", "  10.00.00", "  11.00.00", "02.03.2024",
                                                     "  10.00.00"}));
    model.SetDirection(7);   // anything else is newest first
    EXPECT_EQ(model.Direction(), THistoryModel::kNewestFirst);
    EXPECT_EQ(ten.row(), 1);
}

class DeletionTest : public ::testing::Test {
protected:

    // Unix seconds of a sensor's points, relative to the poll being deleted.
    static std::vector<int64_t> Offsets(const TTIT& sensor, int64_t poll)
    {
        std::vector<int64_t> offsets;
        for (const TTITPoint& point : sensor.Points())
            offsets.push_back(point.UnixTime - poll);
        return offsets;
    }
    static void Fill(TTIT& sensor, TDateTime poll, const std::vector<int64_t>& offsets)
    {
        std::vector<TTITPoint> points;
        for (int64_t offset : offsets) {
            TTITPoint point;
            point.SetTime(poll + static_cast<double>(offset) / kSecsPerDay);
            points.push_back(point);
        }
        sensor.AssignPoints(points);
    }
};

TEST_F(DeletionTest, RemovesThePointsOfTheWindowFromEverySensor)
{
    struct Case {
        int period;
        std::vector<int64_t> first;    // points of sensor 0, seconds from the deleted poll
        std::vector<int64_t> second;   // points of sensor 1
        std::vector<int64_t> firstLeft;
        std::vector<int64_t> secondLeft;
        int removed;
    };
    const std::vector<Case> cases = {
        {0, {-1, 0, 1}, {0, 3600}, {-1, 1}, {3600}, 2},
        {-5, {-1, 0, 1}, {}, {-1, 1}, {}, 1},
        {0, {-3600, 3600}, {5}, {-3600, 3600}, {5}, 0},
        {60, {-3600, -3599, -60, 0, 1}, {-1800}, {-3600, 1}, {}, 4},
        {1, {-60, -59, 0, 1}, {-59, 60}, {-60, 1}, {60}, 3},
    };
    const TDateTime poll = EncodeDateTime(2024, 3, 5, 12, 0, 0, 0);
    const int64_t pollUnix = DateTimeToUnix(poll);
    for (const Case& c : cases) {
        SCOPED_TRACE("period " + std::to_string(c.period));
        THardConfig config(1, 2, 1);
        TTIT& first = *config.GetMB(0)->GetSilos(0)->GetTIT(0);
        TTIT& second = *config.GetMB(0)->GetSilos(1)->GetTIT(0);
        Fill(first, poll, c.first);
        Fill(second, poll, c.second);
        EXPECT_EQ(DeletePolls(config, DeletionWindow(pollUnix, c.period), c.period), c.removed);
        EXPECT_EQ(Offsets(first, pollUnix), c.firstLeft);
        EXPECT_EQ(Offsets(second, pollUnix), c.secondLeft);
        // The averaged points follow the points that are left.
        EXPECT_EQ(first.AverageCount() > 0, !c.firstLeft.empty());
    }
}

TEST(DeletionWindow, IsTheSecondOrThePeriodEndingWithIt)
{
    EXPECT_EQ(DeletionWindow(1000, 0).First, 1000);
    EXPECT_EQ(DeletionWindow(1000, 0).Last, 1001);
    EXPECT_EQ(DeletionWindow(1000, -1).First, 1000);
    EXPECT_EQ(DeletionWindow(10000, 60).First, 10000 + 1 - 3600);
    EXPECT_EQ(DeletionWindow(10000, 60).Last, 10001);
    // The longest period the dialog allows stays in 64 bits.
    EXPECT_EQ(DeletionWindow(0, 65535).First, 1 - 65535LL * 60);
}

} // namespace
