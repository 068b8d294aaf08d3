#include "report/ui/PasswordForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "report/runtime/ModalResult.h"
#include "report/runtime/TextRoutines.h"

TrpPasswForm::TrpPasswForm(const TrpRunContext& context, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("rpPasswForm"));
    setWindowTitle(LoadFrResString(context, 55653));   // "Password"
    L1 = new QLabel(LoadFrResString(context, 55654), this);
    L1->setObjectName(QStringLiteral("L1"));
    L2 = new QLabel(LoadFrResString(context, 55655), this);
    L2->setObjectName(QStringLiteral("L2"));
    L2->hide();
    E1 = new QLineEdit(this);
    E1->setObjectName(QStringLiteral("E1"));
    E1->setEchoMode(QLineEdit::Password);
    L1->setBuddy(E1);
    OK = new QPushButton(LoadFrResString(context, 55000), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Cancel = new QPushButton(LoadFrResString(context, 55001), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));

    auto* column = new QVBoxLayout(this);
    column->addWidget(L1);
    column->addWidget(L2);
    column->addWidget(E1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    column->addLayout(buttons);

    connect(OK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(Cancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

void TrpPasswForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    E1->setFocus();
}

void TrpPasswForm::reject()
{
    done(mrCancel);
}
