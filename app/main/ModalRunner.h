#pragma once
// Every modal dialog and message box of the program is run through here, so that tests can
// answer them without a person (and without blocking) by putting their own runner in place.
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

// The runner in use.
TModalRunner& Modal();
// Puts a runner in place (not owned); nullptr brings back the one that shows real windows.
void SetModalRunner(TModalRunner* runner);

// Shorthands.
int ExecModal(QDialog& dialog);
QMessageBox::StandardButton AskUser(QWidget* parent, QMessageBox::Icon icon, const QString& text,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok);
