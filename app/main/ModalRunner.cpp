#include "app/main/ModalRunner.h"

#include "app/main/ProductInfo.h"

#include <QDialog>

namespace {

TModalRunner realRunner;
TModalRunner* current = &realRunner;

} // namespace

int TModalRunner::Exec(QDialog& dialog)
{
    return dialog.exec();
}

QMessageBox::StandardButton TModalRunner::Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
    QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, ProductName(), text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

TModalRunner& Modal()
{
    return *current;
}

void SetModalRunner(TModalRunner* runner)
{
    current = runner ? runner : &realRunner;
}

int ExecModal(QDialog& dialog)
{
    return Modal().Exec(dialog);
}

QMessageBox::StandardButton AskUser(QWidget* parent, QMessageBox::Icon icon, const QString& text,
    QMessageBox::StandardButtons buttons)
{
    return Modal().Ask(parent, icon, text, buttons);
}
