// The main window's make-up: actions, menus, pages, enabling rules, closing.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/widgets/VSBPro.h"
#include "app/board/BinPanel.h"
#include "app/users/User.h"
#include "comm/ExchangeLog.h"
#include "core/WindowMessages.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QWheelEvent>

#include <set>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<TfmMain> MakeWindow(QStringList words = {})
    {
        words.prepend("/opt/Tavik_zuzid/Tavik_zuzid");
        return std::make_unique<TMainWindowUnderTest>(words, modal);
    }
    static QAction* Find(TfmMain& window, const char* name)
    {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    }
    // The names of a menu's items in order; "-" for a separator, a submenu's title as it reads.
    static QStringList Items(QMenu* menu)
    {
        QStringList names;
        for (QAction* item : menu->actions())
            names << (item->isSeparator() ? QStringLiteral("-")
                      : item->menu()        ? Shown(item->menu()->title())
                                            : item->objectName());
        return names;
    }
    // A title as it reads, without the mark of its underlined letter.
    static QString Shown(QString title) { return title.remove(QLatin1Char('&')); }
    static void RunIdle()
    {
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }

    TAppFolders folders;
    TScriptedModal modal;
};

TEST_F(MainWindowTest, ActionsCarryTheirNamesCaptionsAndShortcuts)
{
    auto window = MakeWindow();
    const QList<QAction*> all = window->AllActions();
    EXPECT_EQ(all.size(), 51);
    std::set<QString> names;
    for (QAction* action : all)
        names.insert(action->objectName());
    EXPECT_EQ(names.size(), 51u);

    // Captions the operators know, typos and double blanks included.
    const std::pair<const char*, const char*> captions[] = {
        {"acParamCom", "Парaметры порта..."},
        {"acSaveAsDAT", "Сохранить  данные как..."},
        {"acSortBySilos", "Сортировать по по силосу"},
        {"acTimerParam", "Расписание автоматичекого полного опроса..."},
        {"acOverlay", "Настройка уведоилений"},
        {"acPevewErr", "Протокол состояния (Ошибки)"},
        {"asPrecision", "Отображение температур..."},
        {"acSelExportDB", "Параметры экспорта/импорта ..."},
        {"acFullExchg", "Полный обмен"},
        {"acClose", "Выход"},
    };
    for (const auto& [name, caption] : captions) {
        QAction* action = Find(*window, name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), QString::fromUtf8(caption)) << name;
    }
    EXPECT_EQ(window->acSelectExchg->shortcut(), QKeySequence(Qt::Key_F5));
    for (QAction* action : all)
        EXPECT_EQ(action->shortcut().isEmpty(), action != window->acSelectExchg) << action->objectName().toStdString();
    EXPECT_EQ(window->acFullExchg->statusTip(), QStringLiteral("Выполнить опрос всех ТД элеватора"));
}

TEST_F(MainWindowTest, PagesAndControlsAreNamedAndNoTabShows)
{
    auto window = MakeWindow();
    EXPECT_EQ(window->objectName(), "fmMain");
    EXPECT_EQ(window->windowTitle(), "Tavik_zuzid");
    for (const char* name : {"pcMain", "tsMain", "tsGraph", "tsPreView", "tsDebug", "tsExchg", "paMain", "spGrid",
             "sbAirTemp", "gbDetal", "vtDetal", "vtHistory", "Chart", "CursorLabel", "rpPreview1", "lbMsg",
             "lblTitle", "pbExchg", "btn1", "lbErr", "sBar", "BinPanel"})
        EXPECT_NE(window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_FALSE(window->pcMain->tabBar()->isVisibleTo(window.get()));
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsMain);
    EXPECT_EQ(window->btn1->text(), "Прекратить опрос датчиков");
    EXPECT_EQ(window->gbDetal->title(), "Детализация");
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrder)
{
    auto window = MakeWindow();
    QStringList titles;
    for (QAction* menu : window->MainMenu1->actions())
        titles << Shown(menu->text());
    EXPECT_EQ(titles, QStringList({"Файл", "Обмен", "Настройки", "Экран", "Справка"}));
    EXPECT_EQ(Items(window->mnFile), QStringList({"acOpenCnf", "acSaveCnf", "-", "acOpenDAT", "acSaveDAT",
                                         "acSaveAsDAT", "-", "acExport", "acImport", "-", "acPrint",
                                         "acPrintGraph", "-", "acSelUser", "-", "acClose"}));
    EXPECT_EQ(Items(window->mnExchange), QStringList({"acFullExchg", "Обмен для одного СК", "acSelectExchg", "-",
                                             "acMB", "-", "acClearRetro"}));
    EXPECT_EQ(Items(window->mnSettings),
        QStringList({"Управление пользователем", "acSetProp", "-", "acHardCnfg", "acControllers", "acTimePeriod",
            "acTimerParam", "acEdit", "acOverlay", "-", "acGraphParam", "asPrecision", "acMaxT", "acSelExportDB",
            "Отчет", "-", "Порт обмена", "acParamCom", "acShowErr", "-", "acAutoRun"}));
    EXPECT_EQ(Items(window->mnReport),
        QStringList({"acSortBySilos", "acSortByBin", "miReportTimeManual", "-", "acColorPrint"}));
    EXPECT_EQ(Items(window->mnUsers), QStringList({"N55", "N56", "N57"}));
    EXPECT_EQ(window->N55->text(), "Изменить...");
    EXPECT_EQ(window->miReportTimeManual->text(), "Вводить время отчета вручную ");
    EXPECT_EQ(Items(window->mnView), QStringList({"acMainView", "-", "acGraphView", "-", "acPreviwSilBin", "-",
                                         "acPreview", "acPevewErr", "acPrevewSelTemp", "-", "acDebug"}));
    EXPECT_EQ(Items(window->mnHelp), QStringList({"acAbout"}));
    EXPECT_EQ(Items(window->pmArcTM), QStringList({"acDelTM", "-", "acCheckSpeed"}));
    EXPECT_FALSE(window->pmArcTM->actions()[1]->isVisible());
    EXPECT_EQ(Items(window->pmDetalTIT), QStringList({"acTITParam", "-", "acMaxT", "asPrecision"}));
}

// Every menu is reached from the keyboard: the titles of the menu bar and of the submenus carry
// underlined letters, different within one menu, and F10 opens the first menu of the bar.
TEST_F(MainWindowTest, MenusAreReachedFromTheKeyboard)
{
    auto window = MakeWindow();
    const auto mnemonics = [](const QList<QAction*>& items) {
        QStringList letters;
        for (QAction* item : items)
            if (item->menu())
                letters << QKeySequence::mnemonic(item->text()).toString();
        return letters;
    };
    EXPECT_EQ(mnemonics(window->MainMenu1->actions()), QStringList({"Alt+Ф", "Alt+О", "Alt+Н", "Alt+Э", "Alt+С"}));
    EXPECT_EQ(mnemonics(window->mnExchange->actions()), QStringList({"Alt+С"}));
    EXPECT_EQ(mnemonics(window->mnSettings->actions()), QStringList({"Alt+У", "Alt+О", "Alt+П"}));

    window->show();
    QCoreApplication::processEvents();
    const auto* f10 = window->findChild<QShortcut*>(QStringLiteral("scMenuBar"));
    ASSERT_NE(f10, nullptr);
    EXPECT_EQ(f10->key(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(f10->context(), Qt::WindowShortcut);
    emit const_cast<QShortcut*>(f10)->activated();
    EXPECT_EQ(window->MainMenu1->activeAction(), window->mnFile->menuAction());
    EXPECT_TRUE(window->mnFile->isVisible());
    window->mnFile->hide();

    // While a pass has the menu switched off, F10 opens nothing.
    window->EnableMainMenu(false);
    window->MainMenu1->setActiveAction(nullptr);
    emit const_cast<QShortcut*>(f10)->activated();
    EXPECT_EQ(window->MainMenu1->activeAction(), nullptr);
    window->EnableMainMenu(true);
}

TEST_F(MainWindowTest, AdministratorRulesDecideTheConfigurationActions)
{
    auto window = MakeWindow();
    TUser admin("Admin", "1"), operatorUser("Оператор", "0");
    const std::vector<QAction*> adminOnly = {window->acParamCom, window->ac485, window->acEcho, window->acMaxT,
        window->acSetProp, window->acHardCnfg, window->acControllers, window->acExecProc, window->acSelExportDB,
        window->acEdit};

    for (TUser* user : {&admin, &operatorUser, static_cast<TUser*>(nullptr)}) {
        window->CurrentUser = user;
        const bool isAdmin = user && user->IsAdmin;
        RunIdle();
        for (QAction* action : adminOnly)
            EXPECT_EQ(action->isEnabled(), isAdmin) << action->objectName().toStdString();
        EXPECT_EQ(window->miReportTimeManual->isVisible(), isAdmin);
        EXPECT_FALSE(window->acTimePeriod->isVisible());
        // The user menu and the login have no rule.
        EXPECT_TRUE(window->acSelUser->isEnabled());
        EXPECT_TRUE(window->N55->isEnabled());
    }
    window->CurrentUser = nullptr;
}

TEST_F(MainWindowTest, RulesWithoutAPortOrData)
{
    auto window = MakeWindow();
    RunIdle();
    // No port, no "no_com": no pass can start; no data file: nothing to save or clear.
    EXPECT_FALSE(window->acFullExchg->isEnabled());
    EXPECT_FALSE(window->acSelectExchg->isEnabled());
    EXPECT_FALSE(window->acMB->isEnabled());
    EXPECT_FALSE(window->acSaveDAT->isEnabled());
    EXPECT_FALSE(window->acClearRetro->isEnabled());
    EXPECT_FALSE(window->acPreview->isEnabled());
    EXPECT_FALSE(window->acDelTM->isEnabled());
    EXPECT_FALSE(window->acTITParam->isEnabled());
    EXPECT_FALSE(window->acPrintGraph->isEnabled());
    EXPECT_TRUE(window->acOpenDAT->isEnabled());
    EXPECT_FALSE(window->acDebug->isVisible());

    window->Execute(window->acGraphView);
    RunIdle();
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsGraph);
    EXPECT_TRUE(window->acPrintGraph->isEnabled());
}

TEST_F(MainWindowTest, WithoutAPortAPassCanStartInTheNoPortMode)
{
    auto window = MakeWindow({"NO_COM", "debug"});
    RunIdle();
    EXPECT_TRUE(window->acFullExchg->isEnabled());
    EXPECT_TRUE(window->acSelectExchg->isEnabled());
    EXPECT_TRUE(window->acMB->isEnabled());
    EXPECT_TRUE(window->acDebug->isVisible());
}

TEST_F(MainWindowTest, PageActionsAreOneRadioGroupAndDebugHasNoCheck)
{
    auto window = MakeWindow({"debug"});
    EXPECT_TRUE(window->acMainView->isChecked());
    window->Execute(window->acGraphView);
    EXPECT_TRUE(window->acGraphView->isChecked());
    EXPECT_FALSE(window->acMainView->isChecked());
    window->Execute(window->acDebug);
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsDebug);
    EXPECT_FALSE(window->acDebug->isChecked());
    window->Execute(window->acMainView);
    EXPECT_EQ(window->pcMain->currentWidget(), window->tsMain);
    EXPECT_TRUE(window->acMainView->isChecked());
    EXPECT_FALSE(window->acGraphView->isChecked());

    // The report menu is disabled while the preview page shows.
    window->pcMain->setCurrentWidget(window->tsPreView);
    RunIdle();
    EXPECT_FALSE(window->mnReport->menuAction()->isEnabled());
    window->pcMain->setCurrentWidget(window->tsMain);
    RunIdle();
    EXPECT_TRUE(window->mnReport->menuAction()->isEnabled());
}

TEST_F(MainWindowTest, EnableMainMenuSwitchesEveryTopLevelItem)
{
    auto window = MakeWindow();
    window->EnableMainMenu(false);
    for (QAction* menu : window->MainMenu1->actions())
        EXPECT_FALSE(menu->isEnabled());
    window->EnableMainMenu(true);
    for (QAction* menu : window->MainMenu1->actions())
        EXPECT_TRUE(menu->isEnabled());
}

TEST_F(MainWindowTest, IdleShowsTheErrorListOnlyWhileItHoldsLinesAndFillsTheStatusPanels)
{
    auto window = MakeWindow();
    RunIdle();
    EXPECT_FALSE(window->lbErr->isVisibleTo(window.get()));
    window->lbErr->addItem("Тайм-аут при приёме");
    RunIdle();
    EXPECT_TRUE(window->lbErr->isVisibleTo(window.get()));
    window->lbErr->clear();
    RunIdle();
    EXPECT_FALSE(window->lbErr->isVisibleTo(window.get()));

    EXPECT_EQ(window->sbAirTempPanels[1]->Text(), "не контроллируется");
    EXPECT_EQ(window->sbAirTempPanels[3]->Text(), "30°C");
}

TEST_F(MainWindowTest, TheWheelScrollsTheBoard)
{
    auto window = MakeWindow();
    window->BinPanel->setMinimumHeight(5000);
    window->resize(800, 600);
    window->spGrid->resize(400, 300);
    QScrollBar* bar = window->spGrid->verticalScrollBar();
    bar->setRange(0, 4000);
    bar->setValue(1000);
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->spGrid->viewport(), &wheel);
    EXPECT_EQ(bar->value(), 880);
}

TEST_F(MainWindowTest, ClosingIsRefusedWhileAPassRuns)
{
    auto window = MakeWindow();
    ASSERT_TRUE(window->Monitor.Passes.Create(window->Settings, {}));   // a pass made, not yet ended
    modal.ThenAnswer(QMessageBox::Ok);
    window->show();
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_EQ(modal.questions[0], "Сначала нужно остановить опрос");
    window->Monitor.Passes.Release();
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, UnsavedReadingsWithoutADataFileAreOfferedAFile)
{
    struct Case {
        QStringList words;
        bool askExpected;
        QMessageBox::StandardButton answer;
        bool saveAsExpected;
    };
    const Case cases[] = {
        {{}, true, QMessageBox::Yes, true},
        {{}, true, QMessageBox::No, false},
        {{"autosave"}, false, QMessageBox::NoButton, true},
    };
    for (const Case& c : cases) {
        auto window = MakeWindow(c.words);
        window->show();
        int saveAs = 0, save = 0;
        window->aList.SetWork(window->acSaveAsDAT, [&] { ++saveAs; });
        window->aList.SetWork(window->acSaveDAT, [&] { ++save; });
        window->Modified = true;
        modal.questions.clear();
        if (c.askExpected)
            modal.ThenAnswer(c.answer);
        window->close();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(modal.questions.size(), c.askExpected ? 1u : 0u);
        if (c.askExpected) {
            EXPECT_EQ(modal.questions[0], "Результаты измерений не сохранены в архивном файле!\r\n\r\nСохранить?");
        }
        EXPECT_EQ(saveAs, c.saveAsExpected ? 1 : 0);
        EXPECT_EQ(save, 0);
    }
}

// Asked to close from outside (the session ends), the window asks nothing; readings without a
// data file to go to are named as lost.
TEST_F(MainWindowTest, AClosingFromOutsideAsksNothing)
{
    auto window = MakeWindow();
    window->show();
    std::vector<std::pair<QString, TColor>> log;
    QObject::connect(&window->Monitor.Log, &TExchangeLog::Line,
                     [&](const QString& text, TColor colour) { log.emplace_back(text, colour); });
    int saves = 0;
    window->aList.SetWork(window->acSaveAsDAT, [&] { ++saves; });
    window->aList.SetWork(window->acSaveDAT, [&] { ++saves; });
    window->Modified = true;
    ASSERT_TRUE(window->Settings.DataFile.isEmpty());

    EXPECT_TRUE(window->CloseFromOutside());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(modal.questions.empty());
    EXPECT_EQ(saves, 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, QStringLiteral("Результаты измерений не сохранены: файл данных не задан"));
    EXPECT_EQ(log[0].second, kLogError);
    EXPECT_FALSE(window->CloseFromOutside()) << "a second request while closing changes nothing";
}

TEST_F(MainWindowTest, LogLinesShowOnTheDebugPageAndRedOnesInTheErrorList)
{
    auto quiet = MakeWindow();
    quiet->Monitor.Log.Post(QStringLiteral("Тайм-аут при приёме"), kLogError);
    QCoreApplication::processEvents();
    EXPECT_EQ(quiet->lbMsg->count(), 0);   // no debug page without "debug"
    EXPECT_EQ(quiet->lbErr->count(), 0);   // the error list is switched off

    auto debug = MakeWindow({"debug"});
    debug->acShowErr->setChecked(true);
    debug->Monitor.Log.Post(QStringLiteral("Опрос завершен"), kLogSent);
    debug->Monitor.Log.Post(QStringLiteral("Тайм-аут при приёме"), kLogError);
    QCoreApplication::processEvents();
    ASSERT_EQ(debug->lbMsg->count(), 2);
    EXPECT_TRUE(debug->lbMsg->item(0)->text().endsWith(" : Тайм-аут при приёме"));   // the newest on top
    EXPECT_EQ(debug->lbMsg->item(0)->foreground().color(), QColor(Qt::red));
    EXPECT_EQ(debug->lbMsg->item(1)->foreground().color(), QColor(Qt::blue));
    ASSERT_EQ(debug->lbErr->count(), 1);
    EXPECT_TRUE(debug->lbErr->item(0)->text().endsWith("Тайм-аут при приёме"));
}

} // namespace
