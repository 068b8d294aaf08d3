#pragma once
// The user-choice dialog: the login, and the picker of the user menu. OK is refused while no
// user is chosen; the last chosen user is preselected next time.
#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
struct TUser;

class TfmPasswordDlg : public QDialog {
public:
    // Where the index of the last chosen user is kept between showings (the dialog's placement
    // section of the settings file); without it nothing is preselected.
    struct TMemory {
        std::function<int()> Load;
        std::function<void(int)> Store;
    };

    explicit TfmPasswordDlg(TMemory memory = {}, QWidget* parent = nullptr);

    QComboBox* cbName = nullptr;
    QLineEdit* edPassword = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // Fills the list with the users in list order and preselects the one chosen last time.
    void SetUsers(const std::vector<std::unique_ptr<TUser>>& users);
    // The user chosen in the list, or nullptr.
    TUser* ChosenUser() const;

    void done(int result) override;

private:
    TMemory FMemory;

};
