#pragma once
// The dialog that asks for a protected template's password. The caller runs it and, after OK,
// compares E1's text with the template's password.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TrpRunContext;

class TrpPasswForm : public QDialog {
public:
    // Its texts come from the context's locale.
    explicit TrpPasswForm(const TrpRunContext& context, QWidget* parent = nullptr);

    QLabel* L1;
    QLabel* L2;   // hidden: the line asking to type the password again
    QLineEdit* E1;
    QPushButton* OK;
    QPushButton* Cancel;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
};
