// A pass run from the exchange page: what it reports reaches the page and the taskbar button on
// the GUI thread, in the order the pass made it, and its end hands the readings over.
#include "AppTestEnvironment.h"

#include "app/exchange/ExchangeControl.h"
#include "core/Monitor.h"
#include "platform/qt/LauncherEntry.h"
#include "platform/qt/TaskbarList.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusMessage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>

#include <chrono>
#include <vector>

namespace {

TEST(ExchangeControlTest, AnArchivePassReportsToThePageAndTheTaskbarInOrder)
{
    TAppFolders folders;
    TMonitor monitor;
    monitor.Settings.ControllerKind = 1;   // the archive's built-in samples: no line needed
    monitor.Settings.NoCom = true;
    monitor.HardConfig = std::make_unique<THardConfig>(2, 12, 6);

    QTabWidget pages;
    auto* first = new QWidget;
    auto* exchange = new QWidget;
    pages.addTab(first, QString());
    pages.addTab(exchange, QString());
    QLabel title;
    QProgressBar progress;
    QPushButton stop;
    std::vector<QString> overlays;
    std::vector<LauncherEntryState> launcher;
    TTaskbarList taskbar(std::make_unique<TaskbarButton>(
        QIcon(), [&](const QIcon&, const QString& text) { overlays.push_back(text); },
        [&](const QDBusMessage& m) {
            const QVariantMap p = m.arguments().value(1).toMap();
            launcher.push_back(
                {p.value("progress-visible").toBool(), p.value("progress").toDouble(), p.value("urgent").toBool()});
        }));
    std::vector<bool> menu;
    TExchangeControl control(monitor, {&pages, first, exchange, &title, &progress, &stop}, taskbar,
                             [&](bool on) { menu.push_back(on); }, &pages);
    int finished = 0;
    control.ExchangeFinished = [&] { ++finished; };

    std::vector<TSilos*> silos;
    for (int s = 0; s < 12; ++s)
        silos.push_back(monitor.HardConfig->GetMB(0)->GetSilos(s));
    ASSERT_TRUE(control.StartPass(silos));
    EXPECT_FALSE(control.Ready());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (finished == 0 && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    ASSERT_EQ(finished, 1);
    EXPECT_EQ(monitor.Passes.SendTH(), nullptr);
    EXPECT_EQ(menu, std::vector<bool>{false}) << "the main menu is off while the exchange page shows";
    EXPECT_TRUE(control.Ready());

    // Busy, one measured step per archive block (three of them), then off; the overlay is
    // removed as the pass is made and set to the level when it ends.
    ASSERT_EQ(launcher.size(), 5u);
    EXPECT_TRUE(launcher[0].ProgressVisible);
    EXPECT_DOUBLE_EQ(launcher[1].Progress, 1.0 / 50);
    EXPECT_DOUBLE_EQ(launcher[3].Progress, 3.0 / 50);
    EXPECT_FALSE(launcher[4].ProgressVisible);
    ASSERT_FALSE(overlays.empty());
    EXPECT_EQ(overlays.back(), QStringLiteral("OK"));
    EXPECT_EQ(title.text(), QStringLiteral("Выборка из КВЛ архивного блока №10"));
    EXPECT_EQ(monitor.HardConfig->GetMB(0)->GetSilos(0)->GetTIT(0)->PointCount(), 1);
}

} // namespace
