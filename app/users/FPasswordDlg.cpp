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

namespace {

int lastChosenInMemory = -1;

TfmPasswordDlg::TMemory& Memory()
{
    static TfmPasswordDlg::TMemory memory{
        [] { return lastChosenInMemory; },
        [](int index) { lastChosenInMemory = index; },
    };
    return memory;
}

} // namespace

void TfmPasswordDlg::SetMemory(TMemory memory)
{
    if (!memory.Load || !memory.Store)
        memory = {[] { return lastChosenInMemory; }, [](int index) { lastChosenInMemory = index; }};
    Memory() = std::move(memory);
}

TfmPasswordDlg::TfmPasswordDlg(QWidget* parent) : QDialog(parent)
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

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("OK"), "btnOK", QStringLiteral("Cancel"));
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
    const int remembered = Memory().Load ? Memory().Load() : -1;
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
        if (Memory().Store)
            Memory().Store(cbName->currentIndex());
    }
    QDialog::done(result);
}
