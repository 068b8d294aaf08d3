// The login and the user menu of the main window.
#include "app/main/FMain.h"

#include "app/users/FPasswordDlg.h"
#include "app/users/FUser.h"
#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"
#include "app/users/User.h"
#include "base/Exception.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>

void TfmMain::acSelUserExecute()
{
    if (Users.size() == 1 && Users.front()->Password.isEmpty()) {
        CurrentUser = Users.front().get();
        return;
    }
    TfmPasswordDlg dialog(FPasswordDlgMemory, this);
    dialog.SetUsers(Users);
    if (ExecModal(dialog) != QDialog::Accepted)
        throw Exception("Пароль отказались вводить");
    TUser* chosen = dialog.ChosenUser();
    if (!chosen || chosen->Password != dialog.edPassword->text())
        throw Exception("Пароль не верен");
    CurrentUser = chosen;
}

// "Изменить...": pick a user (the password typed there is not checked), then edit it.
void TfmMain::N55Click()
{
    TfmPasswordDlg picker(FPasswordDlgMemory, this);
    picker.SetUsers(Users);
    if (ExecModal(picker) != QDialog::Accepted)
        return;
    TUser* user = picker.ChosenUser();
    TfmUser editor(this);
    editor.edUser->setText(user->UserName);
    editor.chAdmin->setChecked(user->IsAdmin);
    if (ExecModal(editor) != QDialog::Accepted)
        return;
    user->UserName = editor.edUser->text();
    user->Password = editor.edPassword->text();
    user->IsAdmin = editor.chAdmin->isChecked();
}

// "Добавить...": a new user at the end of the list (names are not checked for repeats here).
void TfmMain::N56Click()
{
    TfmUser editor(this);
    if (ExecModal(editor) != QDialog::Accepted)
        return;
    const QString flag = editor.chAdmin->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    Users.push_back(std::make_unique<TUser>(editor.edUser->text(), flag + editor.edPassword->text()));
}

// "Удалить...": removing the logged-in user asks for a login at once.
void TfmMain::N57Click()
{
    TfmPasswordDlg picker(FPasswordDlgMemory, this);
    picker.SetUsers(Users);
    if (ExecModal(picker) != QDialog::Accepted)
        return;
    TUser* user = picker.ChosenUser();
    const bool wasCurrent = user == CurrentUser;
    std::erase_if(Users, [user](const std::unique_ptr<TUser>& item) { return item.get() == user; });
    if (wasCurrent) {
        CurrentUser = nullptr;
        LoginLoop();
    }
}

void TfmMain::InstallUserMenu()
{
    aList.SetWork(acSelUser, [this] { acSelUserExecute(); });
    connect(N55, &QAction::triggered, this, [this] { RunGuarded([this] { N55Click(); }); });
    connect(N56, &QAction::triggered, this, [this] { RunGuarded([this] { N56Click(); }); });
    connect(N57, &QAction::triggered, this, [this] { RunGuarded([this] { N57Click(); }); });
}
