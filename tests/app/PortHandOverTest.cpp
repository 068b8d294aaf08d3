// Two running instances with one serial port: opening it makes the other let it go.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"
#include "support/PtyLine.h"

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

#include <filesystem>

namespace {

class PortHandOverTest : public ::testing::Test {
protected:
    PortHandOverTest() { std::filesystem::create_symlink(line.SlavePath(), folders.HomeFile("COM1").toStdString()); }
    std::unique_ptr<TfmMain> Start()
    {
        auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"Tavik_zuzid"});
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

TEST_F(PortHandOverTest, ReleaseMessagesForAnotherPortOrFromItselfLeaveThePortOpen)
{
    auto window = Start();
    ASSERT_TRUE(window->Port->Enable());
    TInstanceChannel other(QString::fromStdString(RuntimeFolder()), QStringLiteral("Tavik_zuzid"));
    other.Broadcast(MakePortReleaseMessage(2));
    other.Broadcast("some other message\n1");
    EXPECT_TRUE(window->Port->Enable());
    other.Broadcast(MakePortReleaseMessage(1));
    EXPECT_FALSE(window->Port->Enable());

    // Opening again broadcasts to others only, never to itself.
    window->SetPortEnabled(true);
    EXPECT_TRUE(window->Port->Enable());
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
