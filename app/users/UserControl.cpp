#include "app/users/UserControl.h"

#include "app/main/ModalRunner.h"
#include "app/main/UnhandledException.h"
#include "app/users/FUser.h"
#include "app/users/User.h"
#include "base/Exception.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>

#include <algorithm>

TUserControl::TUserControl(const TUserWindow& window, QAction* change, QAction* add, QAction* remove)
    : QObject(window.Window), window_(window), Users(*window.Users), CurrentUser(*window.CurrentUser)
{
    connect(change, &QAction::triggered, this, [this] { RunGuarded(this, [this] { N55Click(); }); });
    connect(add, &QAction::triggered, this, [this] { RunGuarded(this, [this] { N56Click(); }); });
    connect(remove, &QAction::triggered, this, [this] { RunGuarded(this, [this] { N57Click(); }); });
}

void TUserControl::acSelUserExecute()
{
    if (Users.size() == 1 && Users.front()->Password.isEmpty()) {
        CurrentUser = Users.front().get();
        return;
    }
    TfmPasswordDlg dialog(window_.LastChoice, window_.Window);
    dialog.SetUsers(Users);
    if (ExecModal(dialog) != QDialog::Accepted)
        throw Exception("Пароль отказались вводить");
    TUser* chosen = dialog.ChosenUser();
    if (!chosen || chosen->Password != dialog.edPassword->text())
        throw Exception("Пароль не верен");
    CurrentUser = chosen;
}

bool TUserControl::CurrentIsAdmin() const
{
    return CurrentUser && CurrentUser->IsAdmin;
}

// "Изменить...": an administrator picks a user (the password typed there is not checked) and
// edits it; anyone else edits only his own name and password, never the rights.
void TUserControl::N55Click()
{
    if (!CurrentIsAdmin()) {
        if (CurrentUser)
            EditUser(*CurrentUser, false);
        return;
    }
    TfmPasswordDlg picker(window_.LastChoice, window_.Window);
    picker.SetUsers(Users);
    if (ExecModal(picker) != QDialog::Accepted)
        return;
    if (TUser* user = picker.ChosenUser())
        EditUser(*user, true);
}

// Without rights, a name another user has is refused: of two users of one name only the first
// is read back, so taking an administrator's name would drop him and let the fallback "Admin"
// in at the next start.
void TUserControl::EditUser(TUser& user, bool rights)
{
    TfmUser editor(window_.Window);
    editor.edUser->setText(user.UserName);
    editor.chAdmin->setChecked(user.IsAdmin);
    editor.chAdmin->setEnabled(rights);
    if (ExecModal(editor) != QDialog::Accepted)
        return;
    const QString name = editor.edUser->text();
    const bool taken = std::any_of(Users.begin(), Users.end(),
        [&](const std::unique_ptr<TUser>& other) { return other.get() != &user && other->UserName == name; });
    if (!rights && taken) {
        AskUser(window_.Window, QMessageBox::Warning,
            QStringLiteral("Пользователь с именем \"%1\" уже есть; изменения не сохранены.").arg(name));
        return;
    }
    user.UserName = name;
    user.Password = editor.edPassword->text();
    if (rights)
        user.IsAdmin = editor.chAdmin->isChecked();
}

// "Добавить..." (administrators only): a new user at the end of the list (names are not checked for repeats here).
void TUserControl::N56Click()
{
    if (!CurrentIsAdmin())
        return;
    TfmUser editor(window_.Window);
    if (ExecModal(editor) != QDialog::Accepted)
        return;
    const QString flag = editor.chAdmin->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    Users.push_back(std::make_unique<TUser>(editor.edUser->text(), flag + editor.edPassword->text()));
}

// "Удалить..." (administrators only): removing the logged-in user asks for a login at once.
void TUserControl::N57Click()
{
    if (!CurrentIsAdmin())
        return;
    TfmPasswordDlg picker(window_.LastChoice, window_.Window);
    picker.SetUsers(Users);
    if (ExecModal(picker) != QDialog::Accepted)
        return;
    TUser* user = picker.ChosenUser();
    const bool wasCurrent = user == CurrentUser;
    std::erase_if(Users, [user](const std::unique_ptr<TUser>& item) { return item.get() == user; });
    if (wasCurrent) {
        CurrentUser = nullptr;
        window_.LoginLoop();
    }
}
