#pragma once
// Every modal dialog and message box of the program is run through the modal runner of the
// interaction serving it (Interaction.h), so that tests can answer them without a person (and
// without blocking) by putting their own runner in place.
#include <QMessageBox>

class QDialog;
class QWidget;

class TModalRunner {
public:
    virtual ~TModalRunner() = default;
    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog& dialog);
    // A message box with the given icon, text and buttons; returns the button pressed.
    virtual QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& text,
        QMessageBox::StandardButtons buttons);
};

// Shows the dialog through the runner serving it (real windows when no interaction serves it),
// wide enough for its whole title.
int ExecModal(QDialog& dialog);
// Asks through the runner serving parent.
QMessageBox::StandardButton AskUser(QWidget* parent, QMessageBox::Icon icon, const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok);
