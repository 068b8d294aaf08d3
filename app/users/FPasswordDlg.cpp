#include "app/users/FPasswordDlg.h"

#include "app/users/User.h"
#include "app/widgets/DialogButtons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

TfmPasswordDlg::TfmPasswordDlg(TMemory memory, QWidget* parent) : QDialog(parent), FMemory(std::move(memory))
{
    setObjectName(QStringLiteral("TfmPasswordDlg"));
    setWindowTitle(QStringLiteral("Пользователь"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    cbName = new QComboBox;
    cbName->setObjectName(QStringLiteral("cbName"));
    cbName->setEditable(false);
    edPassword = new QLineEdit;
    edPassword->setObjectName(QStringLiteral("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Пользователь"), cbName);
    form->addRow(QStringLiteral("Пароль:"), edPassword);

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("ОК"), "btnOK", QStringLiteral("Отмена"));
    btnOK = buttons.Accept;
    btnCancel = buttons.Cancel;
    btnOK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.Box);
    edPassword->setFocus();
}

void TfmPasswordDlg::SetUsers(const std::vector<std::unique_ptr<TUser>>& users)
{
    cbName->clear();
    for (const auto& user : users)
        cbName->addItem(user->UserName, QVariant::fromValue(static_cast<void*>(user.get())));
    const int remembered = FMemory.Load ? FMemory.Load() : -1;
    cbName->setCurrentIndex(remembered >= 0 && remembered < cbName->count() ? remembered : -1);
}

TUser* TfmPasswordDlg::ChosenUser() const
{
    return static_cast<TUser*>(cbName->currentData().value<void*>());
}

void TfmPasswordDlg::done(int result)
{
    if (result == QDialog::Accepted) {
        if (cbName->currentIndex() < 0)
            return;   // no user chosen: OK is refused
        if (FMemory.Store)
            FMemory.Store(cbName->currentIndex());
    }
    QDialog::done(result);
}
