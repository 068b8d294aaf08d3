#pragma once
// The login and the user menu of the main window ("Изменить...", "Добавить...", "Удалить..."):
// the users and the logged-in user stay the window's; the dialogs preselect the last choice
// kept where the window says. The menu is everyone's, but only an administrator edits other
// users, grants rights, adds or deletes users; anyone else may change only his own name and
// password, so that nobody makes himself an administrator.
#include "app/users/FPasswordDlg.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QWidget;
struct TUser;

// What the user control works on.
struct TUserWindow {
    QWidget* Window = nullptr;                           // the dialogs' parent
    std::vector<std::unique_ptr<TUser>>* Users = nullptr;
    TUser** CurrentUser = nullptr;
    TfmPasswordDlg::TMemory LastChoice;
    std::function<bool()> LoginLoop;                     // the login until a user is accepted
};

class TUserControl : public QObject {
public:
    // The menu items' work is connected here; owned by the window.
    TUserControl(const TUserWindow& window, QAction* change, QAction* add, QAction* remove);

    // The login: the only user without a password is taken at once; otherwise the chosen user
    // with the right password. Raises Exception when the login is refused or the password wrong.
    void acSelUserExecute();

    // The logged-in user is an administrator: the menu's adding and deleting are his alone.
    bool CurrentIsAdmin() const;

private:
    void N55Click();
    // rights: the administrator flag may be changed too.
    void EditUser(TUser& user, bool rights);
    void N56Click();
    void N57Click();

    const TUserWindow window_;
    std::vector<std::unique_ptr<TUser>>& Users;
    TUser*& CurrentUser;
};
