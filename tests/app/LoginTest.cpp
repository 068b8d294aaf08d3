// The login, its retry loop and the user menu.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/users/FPasswordDlg.h"
#include "app/users/FUser.h"
#include "app/users/User.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Chooses a user in the login dialog, types a password and presses OK.
TScriptedModal::TDialogScript Login(int userIndex, const QString& password)
{
    return [=](QDialog& dialog) {
        auto& login = dynamic_cast<TfmPasswordDlg&>(dialog);
        login.cbName->setCurrentIndex(userIndex);
        login.edPassword->setText(password);
        return TScriptedModal::Press(login, login.btnOK);
    };
}

int Cancel(QDialog& dialog)
{
    dialog.reject();
    return dialog.result();
}

class LoginTest : public ::testing::Test {
protected:
    LoginTest() : window(QStringList{"Tavik_zuzid"}, modal) {}
    void SetUsers(std::initializer_list<std::pair<const char*, const char*>> users)
    {
        window.Users.clear();
        for (const auto& [name, flagged] : users)
            window.Users.push_back(std::make_unique<TUser>(QString::fromUtf8(name), QString::fromUtf8(flagged)));
        window.CurrentUser = nullptr;
    }

    TAppFolders folders;
    TScriptedModal modal;
    TMainWindowUnderTest window;
};

TEST_F(LoginTest, UserFlagsAndPasswords)
{
    const TUser admin("Admin", "1secret"), plain("Оператор", "0"), odd("x", "");
    EXPECT_TRUE(admin.IsAdmin);
    EXPECT_EQ(admin.Password, "secret");
    EXPECT_FALSE(plain.IsAdmin);
    EXPECT_EQ(plain.Password, "");
    EXPECT_FALSE(odd.IsAdmin);
    EXPECT_EQ(admin.FlaggedPassword(), "1secret");
    EXPECT_EQ(plain.FlaggedPassword(), "0");
}

TEST_F(LoginTest, ASoleUserWithoutPasswordIsAcceptedWithoutADialog)
{
    SetUsers({{"Admin", "1"}});
    EXPECT_TRUE(window.LoginLoop());
    EXPECT_EQ(window.CurrentUser, window.Users[0].get());
    EXPECT_TRUE(modal.shownDialogs.empty());
    EXPECT_TRUE(window.IsAdmin());
}

TEST_F(LoginTest, ASoleUserWithAPasswordGetsTheDialog)
{
    SetUsers({{"Admin", "1пароль"}});
    modal.ThenDialog(Login(0, "пароль"));
    EXPECT_TRUE(window.LoginLoop());
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"TfmPasswordDlg"});
    EXPECT_EQ(window.CurrentUser, window.Users[0].get());
}

TEST_F(LoginTest, AWrongPasswordAsksToTryAgainAndThePasswordIsCaseSensitive)
{
    SetUsers({{"Admin", "1Secret"}, {"Оператор", "0"}});
    modal.ThenDialog(Login(0, "secret"));
    modal.ThenAnswer(QMessageBox::Yes);
    modal.ThenDialog(Login(1, ""));
    EXPECT_TRUE(window.LoginLoop());
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_EQ(modal.questions[0], "Пароль не верен\r\nПопробовать ещё раз?");
    EXPECT_EQ(modal.icons[0], QMessageBox::Critical);
    EXPECT_EQ(window.CurrentUser, window.Users[1].get());
    EXPECT_FALSE(window.IsAdmin());
}

TEST_F(LoginTest, RefusingAndAnsweringNoClosesTheProgram)
{
    SetUsers({{"Admin", "1a"}, {"Оператор", "0b"}});
    modal.ThenDialog(Cancel);
    modal.ThenAnswer(QMessageBox::No);
    EXPECT_FALSE(window.LoginLoop());
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_EQ(modal.questions[0], "Пароль отказались вводить\r\nПопробовать ещё раз?");
    EXPECT_EQ(window.CurrentUser, nullptr);
    EXPECT_TRUE(window.IsClosing());
}

TEST_F(LoginTest, ThePickerRefusesOkWithoutAUserAndRemembersTheLastChoice)
{
    SetUsers({{"Admin", "1"}, {"Оператор", "0"}});
    int remembered = -1;
    const TfmPasswordDlg::TMemory memory{[&] { return remembered; }, [&](int index) { remembered = index; }};
    {
        TfmPasswordDlg dialog(memory);
        dialog.SetUsers(window.Users);
        dialog.cbName->setCurrentIndex(-1);
        EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btnOK), QDialog::Rejected);
        dialog.cbName->setCurrentIndex(1);
        EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btnOK), QDialog::Accepted);
    }
    TfmPasswordDlg again(memory);
    again.SetUsers(window.Users);
    EXPECT_EQ(again.cbName->currentIndex(), 1);
    EXPECT_EQ(again.windowTitle(), "Пользователь");
    EXPECT_EQ(again.edPassword->echoMode(), QLineEdit::Password);
}

TEST_F(LoginTest, TheUserDialogRefusesDifferentPasswords)
{
    TfmUser dialog;
    EXPECT_EQ(dialog.btnOK->text(), "Изменить");
    EXPECT_EQ(dialog.btnCancel->text(), "Закрыть");
    EXPECT_EQ(dialog.chAdmin->text(), "Является администратором");
    dialog.edPassword->setText("a");
    dialog.edPassword1->setText("A");
    EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btnOK), QDialog::Rejected);
    dialog.edPassword1->setText("a");
    EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btnOK), QDialog::Accepted);
}

TEST_F(LoginTest, AddingEditingAndDeletingUsers)
{
    SetUsers({{"Admin", "1"}});
    window.CurrentUser = window.Users[0].get();

    // Add an operator with a password.
    modal.ThenDialog([](QDialog& d) {
        auto& user = dynamic_cast<TfmUser&>(d);
        user.edUser->setText("Оператор");
        user.edPassword->setText("п1");
        user.edPassword1->setText("п1");
        return TScriptedModal::Press(user, user.btnOK);
    });
    window.N56->trigger();
    ASSERT_EQ(window.Users.size(), 2u);
    EXPECT_EQ(window.Users[1]->UserName, "Оператор");
    EXPECT_EQ(window.Users[1]->Password, "п1");
    EXPECT_FALSE(window.Users[1]->IsAdmin);

    // Edit it: both password fields left empty remove its password; it becomes an administrator.
    modal.ThenDialog(Login(1, "anything"));
    modal.ThenDialog([](QDialog& d) {
        auto& user = dynamic_cast<TfmUser&>(d);
        EXPECT_EQ(user.edUser->text(), "Оператор");
        EXPECT_FALSE(user.chAdmin->isChecked());
        EXPECT_TRUE(user.edPassword->text().isEmpty());
        user.chAdmin->setChecked(true);
        return TScriptedModal::Press(user, user.btnOK);
    });
    window.N55->trigger();
    EXPECT_EQ(window.Users[1]->Password, "");
    EXPECT_TRUE(window.Users[1]->IsAdmin);

    // Delete the logged-in user: the login follows at once; the sole remaining user has no
    // password, so no dialog.
    modal.ThenDialog(Login(0, ""));
    window.N57->trigger();
    ASSERT_EQ(window.Users.size(), 1u);
    EXPECT_EQ(window.Users[0]->UserName, "Оператор");
    EXPECT_EQ(window.CurrentUser, window.Users[0].get());
    EXPECT_TRUE(modal.dialogs.empty());
}

// The menu is everyone's, but rights are not: a user who is not an administrator edits only
// himself, keeps his rights whatever the box says, and can neither add nor delete users.
TEST_F(LoginTest, ANonAdministratorChangesOnlyHisOwnNameAndPassword)
{
    SetUsers({{"Admin", "1a"}, {"Оператор", "0b"}, {"Другой", "0c"}});
    window.CurrentUser = window.Users[1].get();
    modal.ThenDialog([](QDialog& d) {
        auto& user = dynamic_cast<TfmUser&>(d);
        EXPECT_EQ(user.edUser->text(), "Оператор");
        EXPECT_FALSE(user.chAdmin->isChecked());
        EXPECT_FALSE(user.chAdmin->isEnabled());
        user.chAdmin->setChecked(true);   // even a box ticked behind the dialog's back grants nothing
        user.edUser->setText("Оператор смены");
        user.edPassword->setText("новый");
        user.edPassword1->setText("новый");
        return TScriptedModal::Press(user, user.btnOK);
    });
    window.N55->trigger();
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"TfmUser"});   // no choice of another user
    EXPECT_EQ(window.Users[1]->UserName, "Оператор смены");
    EXPECT_EQ(window.Users[1]->Password, "новый");
    EXPECT_FALSE(window.Users[1]->IsAdmin);
    EXPECT_FALSE(window.IsAdmin());
    EXPECT_EQ(window.Users[0]->FlaggedPassword(), "1a");
    EXPECT_EQ(window.Users[2]->FlaggedPassword(), "0c");

    window.aList.UpdateAll();
    EXPECT_TRUE(window.N55->isEnabled());
    EXPECT_FALSE(window.N56->isEnabled());
    EXPECT_FALSE(window.N57->isEnabled());
    // Reached anyway, adding and deleting do nothing.
    for (QAction* item : {window.N56, window.N57}) {
        item->setEnabled(true);
        item->trigger();
    }
    EXPECT_EQ(window.Users.size(), 3u);
    EXPECT_EQ(modal.shownDialogs.size(), 1u);
    modal.shownDialogs.clear();

    // Nor does he take another user's name: only the first of two users of one name is read
    // back, so an administrator listed after him would be gone at the next start.
    modal.ThenDialog([](QDialog& d) {
        auto& user = dynamic_cast<TfmUser&>(d);
        user.edUser->setText("Admin");
        return TScriptedModal::Press(user, user.btnOK);
    });
    modal.ThenAnswer(QMessageBox::Ok);
    window.N55->trigger();
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_EQ(modal.questions[0], "Пользователь с именем \"Admin\" уже есть; изменения не сохранены.");
    EXPECT_EQ(window.Users[1]->UserName, "Оператор смены");

    window.CurrentUser = window.Users[0].get();
    window.aList.UpdateAll();
    EXPECT_TRUE(window.N56->isEnabled());
    EXPECT_TRUE(window.N57->isEnabled());
}

} // namespace
