#include "app/users/FUser.h"

#include "app/widgets/DialogButtons.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* Edit(const char* name, bool password)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

} // namespace

TfmUser::TfmUser(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfmUser"));
    setWindowTitle(QStringLiteral("Пользователь"));

    edUser = Edit("edUser", false);
    edPassword = Edit("edPassword", true);
    edPassword1 = Edit("edPassword1", true);
    chAdmin = new QCheckBox(QStringLiteral("Является администратором"));
    chAdmin->setObjectName(QStringLiteral("chAdmin"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Пользователь"), edUser);
    form->addRow(QStringLiteral("Пароль:"), edPassword);
    form->addRow(QStringLiteral("Повтор пароля:"), edPassword1);
    form->addRow(chAdmin);

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Изменить"), "btnOK", QStringLiteral("Закрыть"));
    btnOK = buttons.Accept;
    btnCancel = buttons.Cancel;
    btnOK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.Box);
}

void TfmUser::done(int result)
{
    if (result == QDialog::Accepted && edPassword->text() != edPassword1->text())
        return;
    QDialog::done(result);
}
