#include "app/widgets/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

TDialogButtons MakeDialogButtons(QDialog& dialog, const QString& acceptCaption, const char* acceptName,
                                 const QString& cancelCaption)
{
    TDialogButtons buttons;
    buttons.Box = new QDialogButtonBox;
    buttons.Accept = buttons.Box->addButton(acceptCaption, QDialogButtonBox::AcceptRole);
    buttons.Accept->setObjectName(QString::fromLatin1(acceptName));
    buttons.Cancel = buttons.Box->addButton(cancelCaption, QDialogButtonBox::RejectRole);
    buttons.Cancel->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(buttons.Box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons.Box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}
