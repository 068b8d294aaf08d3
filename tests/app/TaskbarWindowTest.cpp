// The main window's seam to the taskbar button: the overlay appears on the window's own icon.
#include "app/main/TaskbarWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <memory>

namespace {

QIcon BlueIcon()
{
    QIcon icon;
    for (int side : {16, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::blue);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QColor Pixel(const QWidget& window, int x, int y)
{
    return window.windowIcon().pixmap(32, 32).toImage().pixelColor(x, y);
}

class TaskbarWindowTest : public ::testing::Test {
protected:
    TaskbarWindowTest()
    {
        window = std::make_unique<QWidget>();
        window->setWindowIcon(BlueIcon());
        taskbar = MakeTaskbarList(*window);
    }

    std::unique_ptr<QWidget> window;
    std::unique_ptr<TTaskbarList> taskbar;
};

} // namespace

TEST_F(TaskbarWindowTest, OverlayIsPaintedOntoTheWindowIconAndRemovedAgain)
{
    taskbar->SetOverlayState(2);
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(220, 0, 0));
    EXPECT_EQ(Pixel(*window, 4, 4), QColor(Qt::blue));
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Error"));

    taskbar->SetOverlayState(0);
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(0, 170, 0));
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("OK"));

    taskbar->SetOverlayState(3);
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(Qt::blue));
    EXPECT_TRUE(window->accessibleDescription().isEmpty());
    for (int side : {16, 32, 48})
        EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(side, side))) << side;
}

// A window going away before its button: later calls touch no freed window.
TEST_F(TaskbarWindowTest, ADestroyedWindowIsLeftAlone)
{
    taskbar->SetOverlayState(2);
    window.reset();
    taskbar->SetOverlayState(1);
    taskbar->SetOverlayState(3);
    taskbar->TaskbarProgressValue(3, 10);
}
