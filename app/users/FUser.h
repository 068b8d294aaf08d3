#pragma once
// The dialog that edits or adds a user. "Изменить" is refused (without a word) while the two
// password fields differ.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

class TfmUser : public QDialog {
public:
    explicit TfmUser(QWidget* parent = nullptr);

    QLineEdit* edUser = nullptr;
    QLineEdit* edPassword = nullptr;
    QLineEdit* edPassword1 = nullptr;
    QCheckBox* chAdmin = nullptr;
    QPushButton* btnOK = nullptr;       // "Изменить"
    QPushButton* btnCancel = nullptr;   // "Закрыть"

    void done(int result) override;
};
