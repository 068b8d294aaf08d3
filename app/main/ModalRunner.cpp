#include "app/main/ModalRunner.h"

#include "app/main/Interaction.h"
#include "app/main/ProductInfo.h"
#include "app/widgets/WindowTitleFit.h"

#include <QDialog>

namespace {

TModalRunner& RunnerFor(const QObject* object, TModalRunner& real)
{
    const TInteraction* interaction = InteractionOf(object);
    return interaction ? interaction->Modal() : real;
}

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

int ExecModal(QDialog& dialog)
{
    FitWindowTitle(dialog);
    TModalRunner real;
    return RunnerFor(&dialog, real).Exec(dialog);
}

QMessageBox::StandardButton AskUser(QWidget* parent, QMessageBox::Icon icon, const QString& text,
    QMessageBox::StandardButtons buttons)
{
    TModalRunner real;
    return RunnerFor(parent, real).Ask(parent, icon, text, buttons);
}
