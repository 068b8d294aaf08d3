// The main window opens the controllers dialog on its own port and the local-block dialog that
// the main block created for the whole run.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/dialogs/FControllers.h"
#include "app/dialogs/FMBDrive.h"
#include "app/dialogs/FSelectTable.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/main/LongLivedWindows.h"
#include "app/users/User.h"
#include "core/Parameters.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>

namespace {

class ServiceDialogsOpeningTest : public ::testing::Test {
protected:
    ServiceDialogsOpeningTest()
    {
        window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid"}, modal);
    }
    ~ServiceDialogsOpeningTest() override
    {
        if (window)
            window->CurrentUser = nullptr;
        window.reset();
    }

    TAppFolders folders;
    TScriptedModal modal;
    std::unique_ptr<TfmMain> window;
    TUser admin{"Admin", "1"};
};

} // namespace

TEST_F(ServiceDialogsOpeningTest, ControllersDialogUsesTheMainWindowsPort)
{
    window->CurrentUser = &admin;
    window->Settings.PollRepeats = 3;
    modal.ThenDialog([this](QDialog& shown) {
        auto& dialog = static_cast<TfmControllers&>(shown);
        EXPECT_EQ(dialog.Port, window->Port);
        EXPECT_EQ(dialog.edCount->value(), 3);
        dialog.edCount->setValue(8);
        return TScriptedModal::Press(dialog, dialog.btSave);
    });
    EXPECT_TRUE(window->Execute(window->acControllers));
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"TfmControllers"});
    EXPECT_EQ(window->Settings.PollRepeats, 8);
}

TEST_F(ServiceDialogsOpeningTest, LocalBlockDialogLivesAsLongAsTheMainWindow)
{
    EXPECT_EQ(window->MBDrive, nullptr);
    CreateLongLivedWindows(*window);
    const QPointer<TfmMBDrive> drive = window->MBDrive;
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(drive->parent(), window.get());

    window->Settings.NoCom = true;   // the action needs an open port or none at all
    drive->lbResult->setText(QStringLiteral("МБ включить - успешно"));
    modal.ThenDialog([&](QDialog& shown) {
        EXPECT_EQ(&shown, drive.data());
        EXPECT_TRUE(drive->lbResult->text().isEmpty());
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(window->Execute(window->acMB));
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"TfmMBDrive"});

    window.reset();
    EXPECT_EQ(drive, nullptr);
}

// The table dialog is for administrators; it opens telling, in itself, that it cannot connect.
TEST_F(ServiceDialogsOpeningTest, DatabaseTableDialogIsForAdministrators)
{
    window->Settings.DBConnection = "Provider=SQLite;Data Source=" + folders.HomeFile("missing/readings.db");
    EXPECT_FALSE(window->Execute(window->acSelExportDB));
    window->CurrentUser = &admin;
    modal.ThenDialog([](QDialog& shown) {
        EXPECT_EQ(shown.windowTitle(), QStringLiteral("Выбор таблицы"));
        const auto& dialog = static_cast<TfmSelectTable&>(shown);
        EXPECT_FALSE(dialog.lbConnection->isHidden());
        EXPECT_TRUE(dialog.lbConnection->text().startsWith(QStringLiteral("Не установлена связь с БД: ")));
        return int(QDialog::Rejected);
    });
    EXPECT_TRUE(window->Execute(window->acSelExportDB));
    EXPECT_TRUE(modal.questions.empty());
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"TfmSelectTable"});
}
