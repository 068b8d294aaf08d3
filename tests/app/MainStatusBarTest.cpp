// The main window's two status bars: their panels, hints across the bottom bar, and the
// panels the idle refresh keeps up to date (air temperature, set-point, next scheduled poll).
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/schedule/FTimerParam.h"
#include "app/widgets/VSBPro.h"

#include <QEventLoop>
#include <QFile>
#include <QStatusTipEvent>
#include <QTimer>

namespace {

class MainStatusBarTest : public ::testing::Test {
protected:
    std::unique_ptr<TfmMain> MakeWindow()
    {
        return std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid", "no_com"}, modal);
    }
    static void RunIdle()
    {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    struct PanelLook {
        int width;
        TAlignment alignment;
        int image;
        const char* text;
    };
    static void ExpectPanels(const TVStatusBarPro& bar, std::initializer_list<PanelLook> looks)
    {
        ASSERT_EQ(bar.Panels().Count(), static_cast<int>(looks.size()));
        int i = 0;
        for (const PanelLook& look : looks) {
            const TVStatusPanelPro* panel = bar.Panels()[i++];
            EXPECT_EQ(panel->Width(), look.width) << i;
            EXPECT_EQ(panel->Alignment(), look.alignment) << i;
            EXPECT_EQ(panel->ImageIndex(), look.image) << i;
            if (look.text) {
                EXPECT_EQ(panel->Text(), QString::fromUtf8(look.text)) << i;
            }
        }
    }

    TAppFolders folders;
    TScriptedModal modal;
};

TEST_F(MainStatusBarTest, ThePanelsOfBothBars)
{
    auto window = MakeWindow();
    EXPECT_EQ(window->statusBar(), window->sBar);
    ExpectPanels(*window->sBar, {{150, taLeftJustify, 5, "Port"}, {120, taLeftJustify, 6, "Speed"},
                                    {80, taCenter, -1, "Файл данных"}, {50, taLeftJustify, -1, nullptr}});
    EXPECT_FALSE(window->sbAirTemp->SizeGrip());
    ExpectPanels(*window->sbAirTemp,
        {{150, taRightJustify, -1, "Температура воздуха"}, {50, taLeftJustify, -1, ""},
            {180, taRightJustify, -1, "Максимальная температура"}, {50, taLeftJustify, -1, ""},
            {50, taLeftJustify, -1, ""}});
}

TEST_F(MainStatusBarTest, AHintShowsAcrossTheBottomBarUntilItIsGone)
{
    auto window = MakeWindow();
    QStatusTipEvent hint(QStringLiteral("Выполнить опрос всех ТД элеватора"));
    QApplication::sendEvent(window.get(), &hint);
    EXPECT_TRUE(window->sBar->SimplePanel());
    EXPECT_EQ(window->sBar->SimpleText(), "Выполнить опрос всех ТД элеватора");
    RunIdle();
    EXPECT_TRUE(window->sBar->SimplePanel());
    QStatusTipEvent gone{QString()};
    QApplication::sendEvent(window.get(), &gone);
    RunIdle();
    EXPECT_FALSE(window->sBar->SimplePanel());
}

TEST_F(MainStatusBarTest, IdleShowsTheNextScheduledPollAndWidensItsPanel)
{
    QFile file(folders.SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Общие]\nТмах=35\n[Расписание]\n0_period=3600\n");
    file.close();

    auto window = MakeWindow();
    RunIdle();
    TVStatusPanelPro& next = *window->sbAirTempPanels[4];
    EXPECT_EQ(next.Text(), "Автоматический опрос отключен");   // the plan is loaded at the first showing
    window->show();
    ASSERT_NE(window->ScheduleWindow()->TimerTh(), nullptr);
    for (int i = 0; i < 200 && !next.Text().startsWith("Очередной"); ++i)
        RunIdle();
    EXPECT_TRUE(next.Text().startsWith("Очередной автоматический опрос: Периодический ")) << next.Text().toStdString();
    EXPECT_EQ(window->sbAirTempPanels[3]->Text(), "35°C");
    // The panel grew to hold its text; panels never shrink.
    const int wide = window->sbAirTemp->ContentWidth(next);
    EXPECT_GT(wide, window->sbAirTemp->fontMetrics().horizontalAdvance(next.Text()));
    EXPECT_EQ(next.Width(), wide);
    window->ScheduleWindow()->StopTimer();
    RunIdle();
    EXPECT_EQ(next.Text(), "Автоматический опрос отключен");
    EXPECT_EQ(next.Width(), wide);
}

} // namespace
