// Two running instances with one serial port: opening it makes the other let it go.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"
#include "support/PtyLine.h"
#include "support/ScopedEnv.h"

#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/widgets/VSBPro.h"
#include "app/main/PortRelease.h"
#include "comm/ExchangeLog.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/qt/InstanceChannel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>

#include <QDir>
#include <QFile>

#include <filesystem>

namespace {

class PortHandOverTest : public ::testing::Test {
protected:
    PortHandOverTest() { std::filesystem::create_symlink(line.SlavePath(), folders.HomeFile("COM1").toStdString()); }
    std::unique_ptr<TfmMain> Start()
    {
        auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"Tavik_zuzid"}, modal);
        window->show();
        return window;
    }

    TAppFolders folders;
    TScriptedModal modal;
    PtyLine line;
};

TEST_F(PortHandOverTest, TheSecondInstanceOpeningThePortMakesTheFirstCloseIt)
{
    auto first = Start();
    ASSERT_TRUE(first->Port->Enable()) << first->Port->Status();
    EXPECT_EQ(first->sBarPanels[0]->Text(), "COM1 - готов");
    EXPECT_EQ(first->sBarPanels[1]->Text(), "Скорость - 19200");

    auto second = Start();
    EXPECT_FALSE(first->Port->Enable());
    EXPECT_EQ(first->sBarPanels[0]->Text(), "COM1 - неактивен");
    EXPECT_TRUE(second->Port->Enable()) << second->Port->Status();

    // Coming back to the foreground, the first takes it back.
    first->SetPortEnabled(true);
    EXPECT_TRUE(first->Port->Enable());
    EXPECT_FALSE(second->Port->Enable());
}

TEST_F(PortHandOverTest, ActivatingTheProgramReopensAClosedPort)
{
    auto window = Start();
    window->SetPortEnabled(false);
    ASSERT_FALSE(window->Port->Enable());
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(window->Port->Enable());
}

TEST_F(PortHandOverTest, ReleaseMessagesForAnotherDeviceOrFromItselfLeaveThePortOpen)
{
    auto window = Start();
    ASSERT_TRUE(window->Port->Enable());
    const QString device = QString::fromStdString(window->Port->Device());
    ASSERT_EQ(device.toStdString(), std::filesystem::canonical(line.SlavePath()).string());
    TInstanceChannel other(QString::fromStdString(RuntimeFolder()), QStringLiteral("Tavik_zuzid"));
    const struct {
        QByteArray message;
        bool released;
    } cases[] = {
        {MakePortReleaseMessage(1, QStringLiteral("/dev/ttyUSB9")), false},   // its COM1 is another device
        {MakePortReleaseMessage(2, QStringLiteral("/dev/ttyS1")), false},
        {"some other message\n1", false},
        {MakePortReleaseMessage(4, device), true},                            // ours under another number
        // An instance that names the number alone is heard by the number.
        {PortReleaseMsg + "\n2", false},
        {PortReleaseMsg + "\n1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        window->SetPortEnabled(true);
        ASSERT_TRUE(window->Port->Enable());
        other.Broadcast(c.message);
        EXPECT_EQ(window->Port->Enable(), !c.released);
    }
    // Opening again broadcasts to others only, never to itself.
    window->SetPortEnabled(true);
    EXPECT_TRUE(window->Port->Enable());
}

// Two instances started from different program folders, each with its own link COM<N>.
TEST_F(PortHandOverTest, InstancesHandOverTheDeviceNotTheNumber)
{
    PtyLine otherLine;
    const struct {
        const char* name;
        int number;              // the second instance's port
        std::string device;      // and what it links it to
        bool firstKeepsItsLine;
    } cases[] = {
        {"COM1 linked to another device", 1, otherLine.SlavePath(), true},
        {"the same device as COM5", 5, line.SlavePath(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto first = Start();
        ASSERT_TRUE(first->Port->Enable()) << first->Port->Status();

        const QString secondHome = QDir(folders.Home()).filePath(QStringLiteral("second"));
        QDir().mkpath(secondHome);
        QFile::remove(QDir(secondHome).filePath(QStringLiteral("COM%1").arg(c.number)));
        std::filesystem::create_symlink(c.device, QDir(secondHome).filePath(QStringLiteral("COM%1").arg(c.number)).toStdString());
        QFile settings(QDir(secondHome).filePath(QStringLiteral("Tavik_zuzid.INI")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[TfmMain]\nPort.Number=" + QByteArray::number(c.number) + "\n");
        settings.close();
        std::unique_ptr<TfmMain> second;
        {
            const ScopedEnv home("TAVIK_ZUZID_HOME", secondHome.toStdString());
            second = Start();
        }
        EXPECT_TRUE(second->Port->Enable()) << second->Port->Status();
        EXPECT_EQ(second->Port->Number(), c.number);
        EXPECT_EQ(first->Port->Enable(), c.firstKeepsItsLine);
        EXPECT_EQ(first->sBarPanels[0]->Text(), c.firstKeepsItsLine ? "COM1 - готов" : "COM1 - неактивен");
    }
}

TEST_F(PortHandOverTest, AnExceptionFromAMenuCommandBecomesARedLogLine)
{
    std::vector<std::pair<std::string, TColor>> log;
    auto window = Start();
    QObject::connect(&window->Monitor.Log, &TExchangeLog::Line,
                     [&](const QString& text, TColor colour) { log.emplace_back(text.toStdString(), colour); });
    window->aList.SetWork(window->acAbout, [] { throw Exception("Тайм-аут при приёме"); });
    window->acAbout->trigger();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, "Тайм-аут при приёме");
    EXPECT_EQ(log[0].second, kLogError);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
