#include "platform/qt/TaskbarList.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>

#include <memory>
#include <vector>

namespace {

// What reached the window icon and the launcher, in order.
struct Recorded {
    struct Icon {
        QIcon icon;
        QString description;
    };
    std::vector<Icon> icons;
    std::vector<LauncherEntryState> launcher;
};

LauncherEntryState StateOf(const QDBusMessage& message)
{
    const QVariantMap p = message.arguments().value(1).toMap();
    return {p.value("progress-visible").toBool(), p.value("progress").toDouble(), p.value("urgent").toBool()};
}

// The colour in the overlay's corner of a 32-pixel window icon.
QColor CornerColour(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage().pixelColor(24, 24);
}

class TaskbarListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QPixmap blue(32, 32);
        blue.fill(Qt::blue);
        taskbar = std::make_unique<TTaskbarList>(std::make_unique<TaskbarButton>(
            QIcon(blue),
            [this](const QIcon& icon, const QString& text) { got.icons.push_back({icon, text}); },
            [this](const QDBusMessage& m) { got.launcher.push_back(StateOf(m)); },
            QStringLiteral("Tavik_zuzid")));
    }

    Recorded got;
    std::unique_ptr<TTaskbarList> taskbar;
};

} // namespace

TEST_F(TaskbarListTest, EachLevelShowsItsMarkAndDescription)
{
    const struct {
        uint8_t level;
        QColor colour;
        const char* text;
        bool urgent;
    } cases[] = {
        {0, QColor(0, 170, 0), "OK", false},
        {1, QColor(240, 200, 0), "Warning", false},
        {2, QColor(220, 0, 0), "Error", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        got = {};
        taskbar->SetOverlayState(c.level);
        ASSERT_EQ(got.icons.size(), 1u);
        EXPECT_EQ(CornerColour(got.icons[0].icon), c.colour);
        EXPECT_EQ(got.icons[0].icon.pixmap(32, 32).toImage().pixelColor(2, 2), QColor(Qt::blue));
        EXPECT_EQ(got.icons[0].description, QString::fromLatin1(c.text));
        EXPECT_EQ(OverlayStateText(c.level), QString::fromLatin1(c.text));
        const bool urgent = got.launcher.empty() ? false : got.launcher.back().Urgent;
        EXPECT_EQ(urgent, c.urgent);
    }
}

// Two passes ending at the same level set the overlay both times.
TEST_F(TaskbarListTest, SameLevelTwiceSetsTheOverlayTwice)
{
    taskbar->SetOverlayState(1);
    taskbar->SetOverlayState(1);
    EXPECT_EQ(got.icons.size(), 2u);
}

// A new pass removes the previous pass's red mark once; removing again does nothing at all.
TEST_F(TaskbarListTest, RemovalHappensOnceAndClearsUrgency)
{
    taskbar->SetOverlayState(2);
    ASSERT_TRUE(got.launcher.back().Urgent);
    const size_t sent = got.launcher.size();
    taskbar->SetOverlayState(3);
    ASSERT_EQ(got.icons.size(), 2u);
    EXPECT_EQ(CornerColour(got.icons[1].icon), QColor(Qt::blue));
    EXPECT_TRUE(got.icons[1].description.isEmpty());
    ASSERT_EQ(got.launcher.size(), sent + 1);
    EXPECT_FALSE(got.launcher.back().Urgent);

    taskbar->SetOverlayState(3);
    taskbar->SetOverlayState(255);
    EXPECT_EQ(got.icons.size(), 2u);
    EXPECT_EQ(got.launcher.size(), sent + 1);
}

TEST_F(TaskbarListTest, NoOverlayAtStartSoTheFirstRemovalDoesNothing)
{
    taskbar->SetOverlayState(3);
    EXPECT_TRUE(got.icons.empty());
    EXPECT_TRUE(got.launcher.empty());
}

// A pass as the poll thread drives it: busy, measured steps, off, then the level.
TEST_F(TaskbarListTest, PassGoesFromBusyThroughStepsToOff)
{
    taskbar->TaskbarProgressBusy();
    taskbar->TaskbarProgressValue(1, 4);
    taskbar->TaskbarProgressValue(4, 4);
    taskbar->TaskbarProgressOff();
    ASSERT_EQ(got.launcher.size(), 4u);
    EXPECT_TRUE(got.launcher[0].ProgressVisible);
    EXPECT_DOUBLE_EQ(got.launcher[0].Progress, 0.0);
    EXPECT_TRUE(got.launcher[1].ProgressVisible);
    EXPECT_DOUBLE_EQ(got.launcher[1].Progress, 0.25);
    EXPECT_DOUBLE_EQ(got.launcher[2].Progress, 1.0);
    EXPECT_FALSE(got.launcher[3].ProgressVisible);
}

// Odd counts never divide by zero nor leave 0..1.
TEST_F(TaskbarListTest, ProgressValueWithOddCounts)
{
    const struct {
        int32_t done, total;
        double progress;
    } cases[] = {{0, 0, 0.0}, {5, 0, 0.0}, {3, -1, 0.0}, {-2, 10, 0.0}, {12, 10, 1.0},
        {INT32_MAX - 1, INT32_MAX, double(INT32_MAX - 1) / INT32_MAX}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.done << " of " << c.total);
        got = {};
        taskbar->TaskbarProgressValue(c.done, c.total);
        ASSERT_EQ(got.launcher.size(), 1u);
        EXPECT_TRUE(got.launcher[0].ProgressVisible);
        EXPECT_DOUBLE_EQ(got.launcher[0].Progress, c.progress);
    }
}

TEST(TaskbarListWithoutWindow, CallsDoNothingWithoutAButton)
{
    TTaskbarList none;
    none.TaskbarProgressBusy();
    none.TaskbarProgressValue(1, 2);
    none.TaskbarProgressOff();
    none.SetOverlayState(2);
    none.SetOverlayState(3);
}
