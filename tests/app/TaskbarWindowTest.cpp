// The main window's seam to the taskbar button: the overlay appears on the window's own icon.
#include "app/main/TaskbarWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <memory>
#include <thread>

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
        AttachTaskbarWindow(window.get());
    }
    ~TaskbarWindowTest() override { DetachTaskbarButton(); }

    std::unique_ptr<QWidget> window;
};

} // namespace

TEST_F(TaskbarWindowTest, OverlayIsPaintedOntoTheWindowIconAndRemovedAgain)
{
    SetOverlayState(2);
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(220, 0, 0));
    EXPECT_EQ(Pixel(*window, 4, 4), QColor(Qt::blue));
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Error"));

    SetOverlayState(0);
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(0, 170, 0));
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("OK"));

    SetOverlayState(3);
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(Qt::blue));
    EXPECT_TRUE(window->accessibleDescription().isEmpty());
    for (int side : {16, 32, 48})
        EXPECT_TRUE(window->windowIcon().availableSizes().contains(QSize(side, side))) << side;
}

// The poll thread's calls reach the window once the GUI thread runs its events.
TEST_F(TaskbarWindowTest, CallsFromAWorkerThreadReachTheWindow)
{
    std::thread worker([] {
        TaskbarProgressBusy();
        TaskbarProgressValue(3, 10);
        TaskbarProgressOff();
        SetOverlayState(1);
    });
    worker.join();
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(Qt::blue));
    QApplication::sendPostedEvents();
    EXPECT_EQ(Pixel(*window, 24, 24), QColor(240, 200, 0));
    EXPECT_EQ(window->accessibleDescription(), QStringLiteral("Warning"));
}

// A window going away lets the button go: later calls do nothing and touch no freed window.
TEST_F(TaskbarWindowTest, DestroyedWindowLetsTheButtonGo)
{
    SetOverlayState(2);
    window.reset();
    SetOverlayState(1);
    SetOverlayState(3);
    std::thread worker([] { SetOverlayState(0); });
    worker.join();
    QApplication::sendPostedEvents();

    // A newer window is not let go when an older one goes away.
    QWidget newer;
    newer.setWindowIcon(BlueIcon());
    {
        QWidget older;
        AttachTaskbarWindow(&older);
        AttachTaskbarWindow(&newer);
    }
    SetOverlayState(2);
    EXPECT_EQ(newer.windowIcon().pixmap(32, 32).toImage().pixelColor(24, 24), QColor(220, 0, 0));
}
