// The program coming up and going down with its settings file: first start, users and login at
// start-up, a load that fails part-way, the demonstration configuration, the procedure editor.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/dialogs/FExecProc.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/widgets/VSBPro.h"
#include "app/users/FPasswordDlg.h"
#include "app/dialogs/PascalHighlighter.h"
#include "app/users/UserStorage.h"
#include "app/users/User.h"
#include "comm/ExchangeLog.h"
#include "core/Device/HardConfig.h"
#include "core/Monitor.h"
#include "report/runtime/RunContext.h"
#include "core/Device/TIT.h"
#include "core/Parameters.h"
#include "platform/posix/IniFile.h"

#include <QComboBox>
#include <QLabel>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>

#include <fstream>

namespace {

class StartupTest : public ::testing::Test {
protected:
    std::unique_ptr<TfmMain> Start(QStringList words = {})
    {
        words.prepend("Tavik_zuzid");
        auto window = std::make_unique<TMainWindowUnderTest>(words, modal);
        window->show();
        return window;
    }
    void WriteSettings(const std::string& text) const
    {
        std::ofstream(folders.SettingsFile().toStdString(), std::ios::binary) << text;
    }
    std::string Stored(const char* section, const char* key) const
    {
        return IniFile(folders.SettingsFile().toStdString()).ReadString(section, key, "<missing>");
    }
    static std::string User(const char* name, const char* flagged, int index)
    {
        const std::string i = std::to_string(index);
        return "Name" + i + "=" + EncipherForSettings(QString::fromUtf8(name)) + "\nPsw" + i + "=" +
               EncipherForSettings(QString::fromUtf8(flagged)) + "\n";
    }

    TAppFolders folders;
    TScriptedModal modal;
};

TEST_F(StartupTest, AFirstStartLogsAdminInWithoutADialogAndWritesTheDefaultsOnClosing)
{
    auto window = Start();
    ASSERT_NE(window->CurrentUser, nullptr);
    EXPECT_EQ(window->CurrentUser->UserName, "Admin");
    EXPECT_TRUE(window->IsAdmin());
    EXPECT_TRUE(modal.shownDialogs.empty());
    EXPECT_EQ(window->Settings.CalcProc, BuiltInCalcProc());
    EXPECT_EQ(window->Settings.SiloBinsFile, folders.HomeFile("SiloBins.xml"));
    EXPECT_EQ(window->Settings.SiloBinCount, 0);
    ASSERT_NE(window->HardConfig, nullptr);
    EXPECT_EQ(window->HardConfig->MBCount(), 12);
    EXPECT_EQ(window->HardConfig->SilosPerMB(), 12);
    EXPECT_EQ(window->HardConfig->TITPerSilos(), 6);
    window->AppEvents1Idle();
    EXPECT_EQ(window->sbAirTempPanels[1]->Text(), "не контроллируется");

    window->close();
    EXPECT_FALSE(window->isVisible());
    const struct {
        const char* section;
        const char* key;
        std::string value;
    } keys[] = {
        {"Общие", "Тмах", "30"},
        {"Общие", "ColorX", "8421504"},
        {"Общие", "КЗ", "КЗ"},
        {"Общие", "Обрыв", "X"},
        {"Общие", "Данные", ""},
        {"Общие", "Последний бэкап", "1899-12-30 00:00:00"},
        {"Конфигурация", "Силкорпусов", "0"},
        {"Конфигурация", "Блоков", "12"},
        {"Конфигурация", "ТУРов", "12"},
        {"Конфигурация", "ТД в ТУР", "6"},
        {"Конфигурация", "Cтрок в процедуре", "17"},
        {"Конфигурация", "Резистор", "51"},
        {"Конфигурация", "файл конфигурации силкорпусов", folders.HomeFile("SiloBins.xml").toStdString()},
        {"Конфигурация", "SortReport", "1"},
        {"Пользователи", "Count", "1"},
        {"Контроль уставок", "Реле длительность", "1"},
        {"TfmMain", "Port.Number", "1"},
        {"TfmMain", "Port.Param.BaudRate", "19200"},
        {"TfmMain", "Port.Param.Flags", "16"},
        {"TfmMain", "acShowErr.Checked", "0"},
    };
    for (const auto& k : keys)
        EXPECT_EQ(Stored(k.section, k.key), k.value) << k.section << " / " << k.key;
    EXPECT_EQ(DecipherFromSettings(Stored("Пользователи", "Name0")), "Admin");
    EXPECT_EQ(DecipherFromSettings(Stored("Пользователи", "Psw0")), "1");
}

TEST_F(StartupTest, UsersWithPasswordsMeetTheLoginDialogAndTheRightsFollowTheUser)
{
    WriteSettings("[Пользователи]\nCount=2\n" + User("Главный", "1секрет", 0) + User("Оператор", "0", 1));
    modal.ThenDialog([](QDialog& d) {
        auto& login = dynamic_cast<TfmPasswordDlg&>(d);
        EXPECT_EQ(login.cbName->count(), 2);
        EXPECT_EQ(login.cbName->itemText(0), "Главный");
        login.cbName->setCurrentIndex(1);
        return TScriptedModal::Press(login, login.btnOK);
    });
    auto window = Start();
    ASSERT_NE(window->CurrentUser, nullptr);
    EXPECT_EQ(window->CurrentUser->UserName, "Оператор");
    EXPECT_EQ(window->Users.size(), 2u);   // an administrator exists: no "Admin"
    window->aList.UpdateAll();
    EXPECT_FALSE(window->acHardCnfg->isEnabled());
    EXPECT_FALSE(window->acExecProc->isEnabled());
    bool editorOpened = false;
    window->aList.SetWork(window->acHardCnfg, [&] { editorOpened = true; });
    EXPECT_FALSE(window->Execute(window->acHardCnfg));
    EXPECT_FALSE(editorOpened);

    // The choice is remembered in the dialog's section.
    window->close();
    EXPECT_EQ(Stored("TfmPasswordDlg", "ItemIndex"), "1");
}

TEST_F(StartupTest, UsersWithoutAnAdministratorGetAdminBesideThem)
{
    WriteSettings("[Пользователи]\nCount=1\n" + User("Оператор", "0пароль", 0));
    modal.ThenDialog([](QDialog& d) {
        auto& login = dynamic_cast<TfmPasswordDlg&>(d);
        EXPECT_EQ(login.cbName->itemText(1), "Admin");
        login.cbName->setCurrentIndex(1);
        login.edPassword->clear();
        return TScriptedModal::Press(login, login.btnOK);
    });
    auto window = Start();
    ASSERT_NE(window->CurrentUser, nullptr);
    EXPECT_EQ(window->CurrentUser->UserName, "Admin");
    EXPECT_TRUE(window->IsAdmin());
}

TEST_F(StartupTest, RefusingTheLoginClosesTheProgramAndStillSavesTheSettings)
{
    WriteSettings("[Пользователи]\nCount=2\n" + User("Главный", "1a", 0) + User("Оператор", "0b", 1));
    modal.ThenDialog([](QDialog& d) {
        d.reject();
        return d.result();
    });
    modal.ThenAnswer(QMessageBox::No);
    auto window = Start();
    EXPECT_EQ(window->CurrentUser, nullptr);
    EXPECT_EQ(modal.questions, std::vector<QString>{"Пароль отказались вводить\r\nПопробовать ещё раз?"});
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Stored("Пользователи", "Count"), "2");
    EXPECT_EQ(Stored("Общие", "Тмах"), "30");
}

// A hardware tree that cannot be made: the load stops there.
class TBrokenTreeWindow : public TfmMain {
public:
    using TfmMain::TfmMain;

protected:
    void RebuildHardConfig(const THardwareCounts&) override { throw Exception("Нет памяти для конфигурации"); }
};

TEST_F(StartupTest, ALoadThatFailsPartWayOverwritesNothingItDidNotRead)
{
    WriteSettings("[Общие]\nТмах=41\n[Конфигурация]\nБлоков=5\nОпросов в измерении=3\n"
                  "[Пользователи]\nCount=2\n" + User("Главный", "1a", 0) + User("Оператор", "0b", 1) +
                  "[Контроль уставок]\nУставка 3=1\n");
    std::vector<std::pair<std::string, TColor>> log;
    TMonitor monitor;
    TrpRunContext reportContext;
    QObject::connect(&monitor.Log, &TExchangeLog::Line,
                     [&](const QString& text, TColor colour) { log.emplace_back(text.toStdString(), colour); });

    TBrokenTreeWindow window(monitor, reportContext, modal.Interaction, QStringList{"Tavik_zuzid"});
    window.show();
    // The failure is a red log line, no box; the login did not run; the window is shown.
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].first, "Нет памяти для конфигурации");
    EXPECT_EQ(log[0].second, kLogError);
    EXPECT_TRUE(modal.shownDialogs.empty());
    EXPECT_EQ(window.CurrentUser, nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.Settings.MaxT, 41);

    window.close();
    EXPECT_EQ(Stored("Общие", "Тмах"), "41");
    EXPECT_NE(Stored("Общие", "ColorX"), "<missing>");   // read whole, so written
    EXPECT_EQ(Stored("Конфигурация", "Блоков"), "5");
    EXPECT_EQ(Stored("Конфигурация", "Опросов в измерении"), "3");
    EXPECT_EQ(Stored("Конфигурация", "ТУРов"), "<missing>");
    EXPECT_EQ(Stored("Пользователи", "Count"), "2");
    EXPECT_EQ(Stored("Контроль уставок", "Уставка 3"), "1");
    EXPECT_EQ(Stored("Контроль уставок", "Уставка 1"), "<missing>");
}

TEST_F(StartupTest, WithoutAPortAndWithoutSettingsADemonstrationConfigurationIsMade)
{
    auto window = Start({"no_com"});
    EXPECT_EQ(window->Settings.SiloBinCount, 2);
    EXPECT_EQ(window->Settings.DataFile, folders.HomeFile("demo.dxml"));
    EXPECT_FALSE(window->Settings.Elevator.Elevator.isEmpty());
    EXPECT_EQ(window->CurrentUser->UserName, "Admin");
    window->close();
    EXPECT_EQ(Stored("Конфигурация", "Блоков"), "2");
    EXPECT_EQ(Stored("Конфигурация", "ТУРов"), "6");

    // An existing settings file is never replaced by it.
    WriteSettings("[Конфигурация]\nСилкорпусов=5\n");
    auto again = Start({"NO_COM"});
    EXPECT_EQ(again->Settings.SiloBinCount, 5);
    EXPECT_EQ(Stored("Конфигурация", "Блоков"), "<missing>");
}

TEST_F(StartupTest, TheHardwareTreeIsMadeFromTheStoredCountsAndWrittenBackFromTheTree)
{
    WriteSettings("[Конфигурация]\nБлоков=3\nТУРов=4\nТД в ТУР=5\nПериод=100\n"
                  "Местный блок датчика температуры воздуха=2\nПодвеска датчика температуры воздуха=3\n"
                  "Датчик температуры воздуха=4\n");
    auto window = Start();
    ASSERT_NE(window->HardConfig, nullptr);
    EXPECT_EQ(window->HardConfig->MBCount(), 3);
    EXPECT_EQ(window->HardConfig->SilosPerMB(), 4);
    EXPECT_EQ(window->HardConfig->TITPerSilos(), 5);
    EXPECT_EQ(window->HardConfig->Period, 100);
    ASSERT_NE(window->HardConfig->GetAirTIT(), nullptr);
    window->AppEvents1Idle();
    EXPECT_EQ(window->sbAirTempPanels[1]->Text(), QString::asprintf("%.2f°C", window->HardConfig->GetAirTIT()->GetValue()));

    window->HardConfig = std::make_unique<THardConfig>(7, 2, 1);   // as a configuration dialog would
    window->close();
    EXPECT_EQ(Stored("Конфигурация", "Блоков"), "7");
    EXPECT_EQ(Stored("Конфигурация", "ТУРов"), "2");
    EXPECT_EQ(Stored("Конфигурация", "ТД в ТУР"), "1");
    EXPECT_EQ(Stored("Конфигурация", "Датчик температуры воздуха"), "-1");
}

TEST_F(StartupTest, TheProcedureEditorChangesTheProcedureOnlyOnOk)
{
    auto window = Start();
    ASSERT_TRUE(window->IsAdmin());
    modal.ThenDialog([](QDialog& d) {
        auto& editor = dynamic_cast<TfmExecProc&>(d);
        EXPECT_EQ(editor.windowTitle(), "Процедура расчета температуры");
        EXPECT_EQ(editor.Memo->toPlainText(), BuiltInCalcProc().replace("\r\n", "\n"));
        // Key words are coloured, comments too.
        const QTextBlock begin = editor.Memo->document()->findBlockByNumber(2);
        const auto formats = begin.layout()->formats();
        EXPECT_TRUE(std::any_of(formats.begin(), formats.end(),
            [&](const QTextLayout::FormatRange& r) { return r.start == 0 && r.length == 5 && r.format.fontWeight() == QFont::Bold; }));
        const auto comment = editor.Memo->document()->findBlockByNumber(0).layout()->formats();
        EXPECT_FALSE(comment.isEmpty());
        editor.Memo->setPlainText("begin\n  Result:=1;\nend;");
        d.reject();
        return d.result();
    });
    window->Execute(window->acExecProc);
    EXPECT_EQ(window->Settings.CalcProc, BuiltInCalcProc());

    modal.ThenDialog([](QDialog& d) {
        auto& editor = dynamic_cast<TfmExecProc&>(d);
        editor.Memo->setPlainText("begin\n  Result:=1;\nend;");
        return TScriptedModal::Press(editor, editor.btnOK);
    });
    window->Execute(window->acExecProc);
    EXPECT_EQ(window->Settings.CalcProc, "begin\r\n  Result:=1;\r\nend;");
    window->close();
    EXPECT_EQ(Stored("Конфигурация", "Cтрок в процедуре"), "3");
    EXPECT_EQ(Stored("Конфигурация", "Процедура1"), ".  Result:=1;");
    EXPECT_NE(Stored("TfmExecProc", "Width"), "<missing>");
}

} // namespace
