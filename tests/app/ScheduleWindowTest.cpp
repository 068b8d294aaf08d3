// The schedule thread and window: polls posted on time with a clock the test turns, the plan
// edited in the window, saved or given up, and the main window running a full exchange.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "MainWindowUnderTest.h"
#include "core/Monitor.h"
#include "app/main/FMain.h"
#include "app/schedule/FTimerParam.h"
#include "app/schedule/TimerTh.h"
#include "comm/ExchangeLog.h"
#include "core/WindowMessages.h"
#include "platform/posix/IniFile.h"
#include "support/WaitFor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QPointer>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QTimeEdit>

#include <atomic>
#include <chrono>
#include <mutex>

namespace {

using namespace std::chrono_literals;

int64_t Dec9(int hour, int minute, int second)
{
    return DateTimeToUnix(EncodeDateTime(2024, 12, 9, hour, minute, second, 0));
}

// Stands for the main window: counts the scheduled exchanges posted to it.
class TExchangeCounter : public QObject {
public:
    std::atomic<int> Count{0};

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != WM_SCHEDULED_EXCHANGE)
            return QObject::event(event);
        ++Count;
        return true;
    }
};

// A clock the test sets; read by the schedule thread.
class TTestClock {
public:
    explicit TTestClock(int64_t seconds) { Set(seconds); }
    void Set(int64_t seconds) { FNow = UnixToDateTime(seconds); }
    void SetTime(TDateTime now) { FNow = now; }
    TTimerTh::TClock Clock() { return [this] { return FNow.load(); }; }

private:
    std::atomic<TDateTime> FNow;
};

// Catches the log lines posted to its sink, or to a program's log stream.
class TLogLines {
public:
    TLogLines() = default;
    explicit TLogLines(TExchangeLog& log)
    {
        QObject::connect(&log, &TExchangeLog::Line, &log, [this](const QString& text, TColor colour) {
            Sink()(text.toStdString(), colour);
        }, Qt::DirectConnection);
    }
    ExchangeLogSink Sink()
    {
        return [this](const std::string& text, TColor colour) {
            std::lock_guard guard(FLock);
            FLines.emplace_back(text, colour);
        };
    }
    std::vector<std::pair<std::string, TColor>> Lines() const
    {
        std::lock_guard guard(FLock);
        return FLines;
    }

private:
    mutable std::mutex FLock;
    std::vector<std::pair<std::string, TColor>> FLines;
};

TEST(TimerThTest, PostsTheExchangeAndLogsItWhenAnEntryFallsDue)
{
    TLogLines log;
    TExchangeCounter mainWindow;
    TTestClock clock(Dec9(7, 59, 58));
    TSchedulePlan plan;
    plan.Assign({{Dec9(8, 0, 0), pkOnce}, {900, pkPeriod}});
    TTimerTh thread(plan, &mainWindow, clock.Clock(), 1ms, log.Sink());

    ASSERT_TRUE(WaitFor([&] { return thread.NextPollText() == "Один раз 09.12.24 08:00:00"; }));
    EXPECT_EQ(mainWindow.Count, 0);
    // The thread is held up for three seconds over the due second: the poll still starts.
    clock.Set(Dec9(8, 0, 1));
    ASSERT_TRUE(WaitFor([&] { return mainWindow.Count == 1; }));
    EXPECT_TRUE(WaitFor([&] { return thread.NextPollText() == "Периодический 09.12 в 08:15:00"; }));
    EXPECT_EQ(plan.Count(), 1u);
    const auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].first, "Полный опрос по расписанию: Один раз 09.12.24 08:00:00");
    EXPECT_EQ(lines[0].second, kLogSent);

    clock.Set(Dec9(8, 15, 0));
    ASSERT_TRUE(WaitFor([&] { return mainWindow.Count == 2; }));
    QThread::msleep(20);   // many more checks within the same second
    QCoreApplication::processEvents();
    EXPECT_EQ(mainWindow.Count, 2);
    EXPECT_EQ(log.Lines().back().first, "Полный опрос по расписанию: С периодом в 15 мин. - 09.12 08:15:00");
}

// A poll starts once its second has begun, never in the half second before: the pass it starts
// is then stamped at or after the entry's time.
TEST(TimerThTest, APollStartsOnlyOnceItsSecondHasBegun)
{
    TExchangeCounter mainWindow;
    TTestClock clock(0);
    clock.SetTime(EncodeDateTime(2024, 12, 9, 2, 15, 59, 600));
    TSchedulePlan plan;
    plan.Assign({{60, pkPeriod}});
    TTimerTh thread(plan, &mainWindow, clock.Clock(), 1ms);

    ASSERT_TRUE(WaitFor([&] { return thread.NextPollText() == "Периодический 09.12 в 02:16:00"; }));
    QThread::msleep(20);   // many more checks at 02:15:59.600
    QCoreApplication::processEvents();
    EXPECT_EQ(mainWindow.Count, 0);
    clock.Set(Dec9(2, 16, 0));
    EXPECT_TRUE(WaitFor([&] { return mainWindow.Count == 1; }));
}

TEST(TimerThTest, StopsAtOnce)
{
    TSchedulePlan plan;
    TExchangeCounter mainWindow;
    const auto started = std::chrono::steady_clock::now();
    {
        TTimerTh thread(plan, &mainWindow, Now, 10s);
        QThread::msleep(5);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

class ScheduleWindowTest : public ::testing::Test {
protected:
    ScheduleWindowTest() { modal.Serve(mainWindow); }
    std::string Path() const { return folders.SettingsFile().toStdString(); }
    void WriteFile(const QByteArray& text)
    {
        QFile file(folders.SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    std::vector<std::string> StoredKeys() const { return IniFile(Path()).ReadSection("Расписание"); }
    static void Release(QWidget* widget, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QCoreApplication::sendEvent(widget, &release);
    }
    static QStringList Rows(TfmTimerParam& window)
    {
        QStringList rows;
        QAbstractItemModel* model = window.vtPlan->model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString();
        return rows;
    }

    TAppFolders folders;
    TScriptedModal modal;
    TExchangeCounter mainWindow;
    TTestClock clock{Dec9(7, 30, 0)};
};

// The window opens wide enough for the tabs of all three kinds of entry.
TEST_F(ScheduleWindowTest, EveryKindOfEntryHasItsTabInView)
{
    TfmTimerParam window(Path(), &mainWindow, clock.Clock());
    window.show();
    const QTabBar* tabs = window.pcTime->tabBar();
    ASSERT_EQ(tabs->count(), 3);
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(i))) << tabs->tabText(i).toStdString() << " " << window.width();
}

TEST_F(ScheduleWindowTest, TheLoadedPlanRunsAndNamesTheNextPoll)
{
    WriteFile("[Расписание]\n0_everyday=" + QByteArray::number(DateTimeToUnix(EncodeTime(8, 0, 0, 0))) +
              "\n1_period=0\n");
    TfmTimerParam window(Path(), &mainWindow, clock.Clock());
    EXPECT_EQ(window.windowTitle(), "Установка расписания");
    EXPECT_EQ(window.GetNextPollText(), "Автоматический опрос отключен");
    EXPECT_EQ(window.TimerTh(), nullptr);
    window.LoadPlan();
    ASSERT_NE(window.TimerTh(), nullptr);
    EXPECT_EQ(Rows(window), QStringList({"Каждый день в 08:00:00", "С периодом в 0 мин."}));
    EXPECT_TRUE(WaitFor(
        [&] { return window.GetNextPollText() == "Очередной автоматический опрос: Каждый день в 08:00:00"; }));
    window.StopTimer();
    EXPECT_EQ(window.TimerTh(), nullptr);
    EXPECT_EQ(window.GetNextPollText(), "Автоматический опрос отключен");
}

TEST_F(ScheduleWindowTest, EditingAndSavingThePlan)
{
    WriteFile("[Расписание]\n0_period=3600\n");
    TfmTimerParam window(Path(), &mainWindow, clock.Clock());
    window.LoadPlan();
    modal.ThenDialog([&](QDialog&) {
        // No poll starts while the operator edits the plan.
        EXPECT_EQ(window.TimerTh(), nullptr);
        EXPECT_EQ(window.edEveryDay->time(), QTime(7, 30, 0));
        EXPECT_EQ(window.edDay->date(), QDate(2024, 12, 9));
        window.pcTime->setCurrentWidget(window.tsDateTime);
        window.edEveryDay->setTime(QTime(8, 0, 0));
        window.btAdd->click();
        window.btAdd->click();
        window.pcTime->setCurrentWidget(window.tsPeriod);
        window.edPeriod->setValue(60);
        window.btAdd->click();   // the same period as the stored one
        window.edPeriod->setValue(15);
        window.btAdd->click();
        window.pcTime->setCurrentWidget(window.TabSheet1);
        window.edDay->setDate(QDate(2024, 12, 10));
        window.edTime->setTime(QTime(6, 0, 0));
        window.btAdd->click();
        EXPECT_EQ(Rows(window), QStringList({"С периодом в 60 мин.", "Каждый день в 08:00:00",
                                    "С периодом в 15 мин.", "Один раз 10.12.24 06:00:00"}));
        // Delete removes the focused entry; the focus goes on to the next, or back from the last.
        window.vtPlan->setCurrentIndex(window.vtPlan->model()->index(1, 0));
        Release(window.vtPlan, Qt::Key_Delete);
        EXPECT_EQ(window.vtPlan->currentIndex().row(), 1);
        window.vtPlan->setCurrentIndex(window.vtPlan->model()->index(2, 0));
        Release(window.vtPlan, Qt::Key_Delete);
        EXPECT_EQ(window.vtPlan->currentIndex().row(), 1);
        EXPECT_TRUE(window.vtPlan->selectionModel()->isSelected(window.vtPlan->currentIndex()));
        Release(window.vtPlan, Qt::Key_A);
        EXPECT_EQ(Rows(window), QStringList({"С периодом в 60 мин.", "С периодом в 15 мин."}));
        return TScriptedModal::Press(window, window.btSave);
    });
    EXPECT_EQ(window.ShowModal(), QDialog::Accepted);
    EXPECT_EQ(StoredKeys(), (std::vector<std::string>{"0_period", "1_period"}));
    EXPECT_EQ(IniFile(Path()).ReadString("Расписание", "1_period", ""), "900");
    EXPECT_NE(window.TimerTh(), nullptr);

    // The page last chosen comes back at the next showing.
    EXPECT_EQ(IniFile(Path()).ReadString("TfmTimerParam", "pcTime.ActivePage", ""), "TabSheet1");
    window.pcTime->setCurrentWidget(window.tsPeriod);
    modal.ThenDialog([&](QDialog&) {
        EXPECT_EQ(window.pcTime->currentWidget(), window.TabSheet1);
        return int(QDialog::Rejected);
    });
    window.ShowModal();
}

TEST_F(ScheduleWindowTest, AnyOtherWayOutBringsBackTheSavedPlan)
{
    WriteFile("[Расписание]\n0_period=3600\n");
    TfmTimerParam window(Path(), &mainWindow, clock.Clock());
    window.LoadPlan();
    for (bool pressCancel : {true, false}) {
        modal.ThenDialog([&](QDialog& shown) {
            window.pcTime->setCurrentWidget(window.tsPeriod);
            window.edPeriod->setValue(5);
            window.btAdd->click();
            EXPECT_EQ(window.Plan().Count(), 2u);
            // The close box rejects the dialog as the cancel button does.
            return pressCancel ? TScriptedModal::Press(shown, window.btCancel) : int(QDialog::Rejected);
        });
        EXPECT_EQ(window.ShowModal(), QDialog::Rejected);
        EXPECT_EQ(Rows(window), QStringList({"С периодом в 60 мин."}));
        EXPECT_NE(window.TimerTh(), nullptr);
        EXPECT_EQ(StoredKeys(), (std::vector<std::string>{"0_period"}));
    }
}

TEST_F(ScheduleWindowTest, APlanThatCannotBeWrittenStaysInTheWindow)
{
    // The settings "file" lies under a regular file, so it can never be written.
    WriteFile("");
    const std::string unwritable = Path() + "/Tavik_zuzid.INI";
    TfmTimerParam window(unwritable, &mainWindow, clock.Clock());
    window.LoadPlan();
    modal.ThenDialog([&](QDialog& shown) {
        window.pcTime->setCurrentWidget(window.tsPeriod);
        window.btAdd->click();
        modal.ThenAnswer(QMessageBox::Ok);
        EXPECT_EQ(TScriptedModal::Press(shown, window.btSave), QDialog::Rejected);
        EXPECT_EQ(modal.icons.back(), QMessageBox::Critical);
        EXPECT_TRUE(modal.questions.back().contains("Файл настроек")) << modal.questions.back().toStdString();
        EXPECT_EQ(Rows(window), QStringList({"С периодом в 1 мин."}));
        return int(QDialog::Rejected);
    });
    window.ShowModal();
    EXPECT_NE(window.TimerTh(), nullptr);
}

TEST_F(ScheduleWindowTest, ClosingSavesThePlanUnlessItWasNeverLoaded)
{
    const QByteArray stored = "[Расписание]\n0_period=3600\n1_once=" + QByteArray::number(Dec9(7, 0, 0)) + "\n";
    WriteFile(stored);
    {
        TfmTimerParam window(Path(), &mainWindow, clock.Clock());
    }
    EXPECT_EQ(StoredKeys(), (std::vector<std::string>{"0_period", "1_once"}));
    {
        TfmTimerParam window(Path(), &mainWindow, clock.Clock());
        window.LoadPlan();
        // The past once entry leaves the plan in the thread's first round, and the list too.
        ASSERT_TRUE(WaitFor([&] { return window.vtPlan->model()->rowCount() == 1; }));
        EXPECT_EQ(mainWindow.Count, 0);
    }
    EXPECT_EQ(StoredKeys(), (std::vector<std::string>{"0_period"}));
}

class ScheduledExchangeTest : public ::testing::Test {
protected:
    std::unique_ptr<TfmMain> MakeWindow(QStringList words = {})
    {
        words.prepend("/opt/Tavik_zuzid/Tavik_zuzid");
        auto window = std::make_unique<TMainWindowUnderTest>(words, modal);
        QObject::connect(window->acFullExchg, &QAction::triggered, [this] { ++fullExchanges; });
        return window;
    }

    TAppFolders folders;
    TScriptedModal modal;
    int fullExchanges = 0;
};

TEST_F(ScheduledExchangeTest, RunsTheFullExchangeOnlyWhenOneCanStart)
{
    // Port 1 names an adaptor that is not plugged in: the poll tries it in vain.
    QFile::link(folders.HomeFile("COM1.away"), folders.HomeFile("COM1"));
    auto closedPort = MakeWindow();
    QCoreApplication::postEvent(closedPort.get(), new QEvent(WM_SCHEDULED_EXCHANGE));
    QCoreApplication::processEvents();
    EXPECT_EQ(fullExchanges, 0);

    auto noPort = MakeWindow({"no_com"});
    QCoreApplication::postEvent(noPort.get(), new QEvent(WM_SCHEDULED_EXCHANGE));
    QCoreApplication::processEvents();
    EXPECT_EQ(fullExchanges, 1);
    // That pass (over an empty board) ends on its own first.
    EXPECT_TRUE(WaitFor([&] { return noPort->SendTH() == nullptr; }, 5s));

    ASSERT_TRUE(noPort->Monitor.Passes.Create(noPort->Settings, {}));   // a pass made, not yet ended
    QCoreApplication::postEvent(noPort.get(), new QEvent(WM_SCHEDULED_EXCHANGE));
    QCoreApplication::processEvents();
    EXPECT_EQ(fullExchanges, 1);
    noPort->Monitor.Passes.Release();
}

TEST_F(ScheduledExchangeTest, TheMenuShowsTheScheduleWindow)
{
    auto window = MakeWindow();
    ASSERT_NE(window->ScheduleWindow(), nullptr);
    EXPECT_EQ(window->ScheduleWindow()->parent(), nullptr);   // it has no owner
    modal.ThenDialog([](QDialog&) { return int(QDialog::Rejected); });
    window->aList.UpdateAll();
    EXPECT_TRUE(window->Execute(window->acTimerParam));
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"TfmTimerParam"});
    EXPECT_NE(window->ScheduleWindow()->TimerTh(), nullptr);   // running again on the saved plan
}

TEST_F(ScheduledExchangeTest, AOnceEntryStartsAPassInTheRunningProgram)
{
    // Far enough ahead to be still to come when the program has started on a busy machine.
    const int64_t soon = DateTimeToUnix(Now()) + 2;
    QFile file(folders.SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Расписание]\n0_once=" + QByteArray::number(soon) + "\n");
    file.close();

    auto window = MakeWindow({"no_com"});
    TLogLines log(window->Monitor.Log);
    window->show();
    ASSERT_NE(window->ScheduleWindow(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return fullExchanges == 1; }, 5s));
    const auto lines = log.Lines();
    const std::string expected = "Полный опрос по расписанию: " + PlanItemText({soon, pkOnce}).toStdString();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const auto& line) { return line.first == expected; }));
    // The pass ends on its own; its readings are not kept (no data file is set).
    EXPECT_TRUE(WaitFor([&] { return window->SendTH() == nullptr; }, 5s));
    modal.ThenAnswer(QMessageBox::No);
    const QPointer<TfmTimerParam> schedule = window->ScheduleWindow();
    window->close();
    window.reset();
    EXPECT_EQ(schedule, nullptr);
    // The once entry is gone from the settings file too.
    EXPECT_TRUE(IniFile(folders.SettingsFile().toStdString()).ReadSection("Расписание").empty());
}

} // namespace
