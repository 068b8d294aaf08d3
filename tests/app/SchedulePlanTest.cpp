// The schedule plan: display texts, what falls due when, the next poll, the check's memory,
// and the plan in the settings file.
#include "AppTestEnvironment.h"

#include "app/schedule/ScheduleCheck.h"
#include "app/schedule/SchedulePlan.h"
#include "app/schedule/SchedulePlanFile.h"
#include "base/DateTime.h"
#include "base/FormatDateTime.h"
#include "platform/posix/IniFile.h"

#include <QFile>

#include <optional>
#include <sys/stat.h>

namespace {

int64_t At(int year, int month, int day, int hour, int minute, int second)
{
    return DateTimeToUnix(EncodeDateTime(year, month, day, hour, minute, second, 0));
}

// 9 December 2024, the day of the examples.
int64_t Dec9(int hour, int minute, int second)
{
    return At(2024, 12, 9, hour, minute, second);
}

TPlanItem EveryDay(int hour, int minute, int second)
{
    return {DateTimeToUnix(EncodeTime(hour, minute, second, 0)), pkEveryDay};
}

TPlanItem Period(int64_t seconds)
{
    return {seconds, pkPeriod};
}

TPlanItem Once(int64_t when)
{
    return {when, pkOnce};
}

TEST(SchedulePlanTest, DisplayTexts)
{
    const std::pair<TPlanItem, const char*> cases[] = {
        {EveryDay(8, 0, 0), "Каждый день в 08:00:00"},
        {EveryDay(23, 59, 59), "Каждый день в 23:59:59"},
        {EveryDay(0, 0, 0), "Каждый день в 00:00:00"},
        {Period(900), "С периодом в 15 мин."},
        {Period(3600), "С периодом в 60 мин."},
        {Period(90), "С периодом в 1 мин."},
        {Once(Dec9(8, 5, 7)), "Один раз 09.12.24 08:05:07"},
        {Once(At(1999, 1, 2, 3, 4, 5)), "Один раз 02.01.99 03:04:05"},
    };
    for (const auto& [item, text] : cases)
        EXPECT_EQ(PlanItemText(item), QString::fromUtf8(text)) << text;
    // An every-day value is stored on 1899-12-30: negative, and only its time of day counts.
    EXPECT_LT(EveryDay(8, 0, 0).Value, 0);
    EXPECT_EQ(PlanItemText({EveryDay(8, 0, 0).Value + 3 * 86400, pkEveryDay}), "Каждый день в 08:00:00");
}

struct WalkCase {
    const char* name;
    std::vector<TPlanItem> plan;
    int64_t from, now;
    const char* due;
    const char* next;
    size_t left;   // entries in the plan after the walk
};

TEST(SchedulePlanTest, WalkFindsWhatIsDueAndWhatComesNext)
{
    const int64_t t0800 = Dec9(8, 0, 0);
    const WalkCase cases[] = {
        {"every day, on the second", {EveryDay(8, 0, 0)}, t0800, t0800,
            "Каждый день в 08:00:00 - 09.12 08:00:00", "", 1},
        {"every day, a second early", {EveryDay(8, 0, 0)}, t0800 - 1, t0800 - 1, "", "Каждый день в 08:00:00", 1},
        {"every day, past: tomorrow", {EveryDay(8, 0, 0)}, t0800 + 1, t0800 + 1, "", "Каждый день в 08:00:00", 1},
        {"period of 15 minutes at 10:07", {Period(900)}, Dec9(10, 7, 0), Dec9(10, 7, 0), "",
            "Периодический 09.12 в 10:15:00", 1},
        {"period of 15 minutes at 10:15", {Period(900)}, Dec9(10, 15, 0), Dec9(10, 15, 0),
            "С периодом в 15 мин. - 09.12 10:15:00", "", 1},
        {"an hour's period falls on the full hour", {Period(3600)}, Dec9(23, 30, 0), Dec9(23, 30, 0), "",
            "Периодический 10.12 в 00:00:00", 1},
        {"once, ahead", {Once(Dec9(9, 0, 0))}, t0800, t0800, "", "Один раз 09.12.24 09:00:00", 1},
        {"once, on the second: fires and leaves", {Once(t0800)}, t0800, t0800, "Один раз 09.12.24 08:00:00", "", 0},
        {"once, in the past: leaves without a poll", {Once(t0800 - 60)}, t0800, t0800, "", "", 0},
        {"the walk ends at a removed once entry", {Once(t0800 - 60), EveryDay(9, 0, 0)}, t0800, t0800, "", "", 1},
        {"a period of zero or less is skipped", {Period(0), Period(-60), EveryDay(9, 0, 0)}, t0800, t0800, "",
            "Каждый день в 09:00:00", 3},
        {"the soonest entry is next, whatever the order", {EveryDay(23, 0, 0), Once(t0800 + 600)}, t0800, t0800, "",
            "Один раз 09.12.24 08:10:00", 2},
        {"the soonest entry is next, reversed", {Once(t0800 + 600), EveryDay(23, 0, 0)}, t0800, t0800, "",
            "Один раз 09.12.24 08:10:00", 2},
        {"a tie keeps the earlier entry", {EveryDay(9, 0, 0), Period(3600)}, t0800 + 1, t0800 + 1, "",
            "Каждый день в 09:00:00", 2},
        {"the first due entry ends the walk", {Period(60), EveryDay(8, 0, 0)}, t0800, t0800,
            "С периодом в 1 мин. - 09.12 08:00:00", "", 2},
        // A late check looks at the seconds it missed.
        {"late: every day", {EveryDay(8, 0, 0)}, t0800 - 2, t0800 + 3, "Каждый день в 08:00:00 - 09.12 08:00:00", "",
            1},
        {"late: period", {Period(900)}, Dec9(10, 14, 58), Dec9(10, 15, 4), "С периодом в 15 мин. - 09.12 10:15:00", "",
            1},
        {"late: once", {Once(t0800)}, t0800 - 1, t0800 + 5, "Один раз 09.12.24 08:00:00", "", 0},
        {"late across midnight", {EveryDay(23, 59, 59)}, Dec9(23, 59, 58), At(2024, 12, 10, 0, 0, 2),
            "Каждый день в 23:59:59 - 09.12 23:59:59", "", 1},
        {"late, but before the window", {EveryDay(8, 0, 0)}, t0800 + 1, t0800 + 5, "", "Каждый день в 08:00:00", 1},
        {"nothing planned", {}, t0800, t0800, "", "", 0},
    };
    for (const WalkCase& c : cases) {
        std::vector<TPlanItem> plan = c.plan;
        const TPlanWalk walk = WalkPlan(plan, c.from, c.now);
        EXPECT_EQ(walk.Due, QString::fromUtf8(c.due)) << c.name;
        EXPECT_EQ(walk.Next, QString::fromUtf8(c.next)) << c.name;
        EXPECT_EQ(plan.size(), c.left) << c.name;
    }
}

TEST(SchedulePlanTest, EachOccurrenceFiresOnce)
{
    TSchedulePlan plan;
    plan.Assign({EveryDay(8, 0, 0), Period(900)});
    TScheduleCheck check;
    const int64_t t0800 = Dec9(8, 0, 0);
    std::vector<QString> fired;
    const auto run = [&](int64_t now, int times = 1) {
        for (int i = 0; i < times; ++i)
            if (const TScheduleRound round = check.Round(plan, now); !round.Fired.isEmpty())
                fired.push_back(round.Fired);
    };
    run(t0800 - 1, 10);
    run(t0800, 10);        // ten checks in the due second
    run(t0800 + 1, 10);
    run(t0800 + 900, 10);  // the period at 08:15
    run(t0800 + 1800 + 5); // a stall of several seconds over 08:30
    run(t0800 + 1800 + 6);
    run(t0800 + 86400);    // the next morning, after a long stall
    ASSERT_EQ(fired.size(), 4u);
    EXPECT_EQ(fired[0], "Каждый день в 08:00:00 - 09.12 08:00:00");
    EXPECT_EQ(fired[1], "С периодом в 15 мин. - 09.12 08:15:00");
    EXPECT_EQ(fired[2], "С периодом в 15 мин. - 09.12 08:30:00");
    EXPECT_EQ(fired[3], "Каждый день в 08:00:00 - 10.12 08:00:00");
}

TEST(SchedulePlanTest, AFreshCheckSeesOnlyThePresentSecond)
{
    TSchedulePlan plan;
    const int64_t t0800 = Dec9(8, 0, 0);
    plan.Assign({Once(t0800 - 3), EveryDay(7, 59, 59)});
    TScheduleCheck check;
    // The once entry missed before the start leaves quietly; the every-day one is not fired.
    EXPECT_TRUE(check.Round(plan, t0800).Fired.isEmpty());
    EXPECT_EQ(plan.Count(), 1u);
    EXPECT_TRUE(check.Round(plan, t0800).Fired.isEmpty());
    // A clock set back does not look at the seconds in between.
    EXPECT_TRUE(check.Round(plan, t0800 - 10).Fired.isEmpty());
    EXPECT_EQ(check.Round(plan, t0800 - 10).Next, "Каждый день в 07:59:59");
}

// A check counts the second that has begun: half a second before 02:16:00 is still 02:15:59,
// so a per-minute entry due at 02:16:00 never starts a poll stamped 02:15:59.
TEST(SchedulePlanTest, AChecksSecondIsTheOneThatHasBegun)
{
    const struct {
        TDateTime now;
        int64_t second;
    } cases[] = {
        {EncodeDateTime(2024, 12, 9, 2, 15, 59, 600), Dec9(2, 15, 59)},
        {EncodeDateTime(2024, 12, 9, 2, 15, 59, 999), Dec9(2, 15, 59)},
        {EncodeDateTime(2024, 12, 9, 2, 16, 0, 0), Dec9(2, 16, 0)},
        {EncodeDateTime(2024, 12, 9, 2, 16, 0, 999), Dec9(2, 16, 0)},
        {EncodeDateTime(1969, 12, 31, 23, 59, 59, 500), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScheduleSecond(c.now), c.second) << FormatDateTime("dd.mm.yyyy hh:nn:ss.zzz", c.now);

    TSchedulePlan plan;
    plan.Assign({Period(60)});
    TScheduleCheck check;
    EXPECT_TRUE(check.Round(plan, ScheduleSecond(cases[0].now)).Fired.isEmpty());
    EXPECT_EQ(check.Round(plan, ScheduleSecond(cases[2].now)).Fired, "С периодом в 1 мин. - 09.12 02:16:00");
}

TEST(SchedulePlanTest, AddingKeepsOneOfEachAndDeletingShiftsTheRest)
{
    TSchedulePlan plan;
    EXPECT_TRUE(plan.Add(EveryDay(8, 0, 0)));
    EXPECT_FALSE(plan.Add(EveryDay(8, 0, 0)));
    EXPECT_TRUE(plan.Add(Period(900)));
    EXPECT_FALSE(plan.Add(Period(900)));
    // The same number as another kind is another entry.
    EXPECT_TRUE(plan.Add({900, pkOnce}));
    EXPECT_EQ(plan.Count(), 3u);
    EXPECT_TRUE(plan.Delete(1));
    EXPECT_FALSE(plan.Delete(2));
    EXPECT_EQ(plan.Items(), (std::vector<TPlanItem>{EveryDay(8, 0, 0), {900, pkOnce}}));
    EXPECT_FALSE(plan.At(2).has_value());
}

TEST(SchedulePlanTest, ThePlansOwnWalkTellsOfRemovals)
{
    TSchedulePlan plan;
    int removals = 0;
    plan.SetOnRemoved([&] { ++removals; });
    plan.Assign({Once(Dec9(8, 0, 0)), Once(Dec9(9, 0, 0))});
    plan.Walk(Dec9(7, 0, 0), Dec9(7, 0, 0));
    EXPECT_EQ(removals, 0);
    plan.Walk(Dec9(8, 30, 0), Dec9(8, 30, 0));
    EXPECT_EQ(removals, 1);
    EXPECT_EQ(plan.Count(), 1u);
}

class SchedulePlanFileTest : public ::testing::Test {
protected:
    std::string Path() const { return folders.SettingsFile().toStdString(); }
    void WriteFile(const char* text)
    {
        QFile file(folders.SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    TAppFolders folders;
};

TEST_F(SchedulePlanFileTest, EntriesAreReadInFileOrderAndBadValuesSkipped)
{
    WriteFile("[Общие]\nТмах=30\n"
              "[Расписание]\n"
              "5_once=1733731200\n"
              "0_everyday=-2209132800\n"
              "1_PERIOD=3600\n"
              "2_period=abc\n"
              "3_everyday=-1\n"
              "7_weekly=42\n"
              "nokind=43\n"
              "4_period= 900 \n"
              "6_once=99999999999999999999\n"
              "8_once=9223372036854775000\n"     // no date: nothing could show or count it
              "9_period=9000000000000000000\n"
              "[Tree]\nx=1\n");
    const IniFile ini(Path());
    const std::vector<TPlanItem> expected = {
        {1733731200, pkOnce}, {-2209132800, pkEveryDay}, {3600, pkPeriod}, {42, pkOnce}, {43, pkOnce}, {900, pkPeriod}};
    EXPECT_EQ(ReadPlanSection(ini), expected);
}

TEST_F(SchedulePlanFileTest, SavingRenumbersTheKeysInPlanOrderAndKeepsTheRest)
{
    WriteFile("[Общие]\nТмах=30\n[Расписание]\n0_period=60\n1_period=120\n2_period=180\n[Tree]\nx=1\n");
    IniFile ini(Path());
    std::vector<TPlanItem> plan = ReadPlanSection(ini);
    plan.erase(plan.begin() + 1);
    plan.push_back(EveryDay(8, 0, 0));
    plan.push_back(Once(Dec9(8, 0, 0)));
    WritePlanSection(ini, plan);

    const IniFile reread(Path());
    EXPECT_EQ(reread.ReadSection(kScheduleSection),
        (std::vector<std::string>{"0_period", "1_period", "2_everyday", "3_once"}));
    EXPECT_EQ(reread.ReadString(kScheduleSection, "1_period", ""), "180");
    EXPECT_EQ(reread.ReadString(kScheduleSection, "2_everyday", ""), std::to_string(EveryDay(8, 0, 0).Value));
    EXPECT_EQ(ReadPlanSection(reread), plan);
    EXPECT_EQ(reread.ReadInteger("Общие", "Тмах", 0), 30);
    EXPECT_EQ(reread.ReadInteger("Tree", "x", 0), 1);

    WritePlanSection(ini, {});
    EXPECT_FALSE(IniFile(Path()).SectionExists(kScheduleSection));
}

TEST_F(SchedulePlanFileTest, AnUnchangedPlanLeavesTheFileAlone)
{
    IniFile ini(Path());
    WritePlanSection(ini, {});
    EXPECT_FALSE(QFile::exists(folders.SettingsFile()));
    WritePlanSection(ini, {Period(60)});
    // The file is replaced as a whole on a write, so the same inode means it was not written.
    const auto inode = [this] {
        struct stat info{};
        return ::stat(folders.SettingsFile().toLocal8Bit().constData(), &info) == 0 ? info.st_ino : 0;
    };
    const auto before = inode();
    ASSERT_NE(before, 0u);
    WritePlanSection(ini, {Period(60)});
    EXPECT_EQ(inode(), before);
    WritePlanSection(ini, {Period(120)});
    EXPECT_NE(inode(), before);
}

} // namespace
