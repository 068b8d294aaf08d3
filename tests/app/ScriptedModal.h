#pragma once
// Answers the program's modal dialogs and message boxes from a script, so that no test waits
// for a person. A dialog or question the script did not expect fails the test. It answers for
// the widgets its interaction serves: the main window made with it, or those served to it.
#include "app/main/Interaction.h"
#include "app/main/ModalRunner.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialog>
#include <QString>
#include <QWidget>

#include <deque>
#include <functional>
#include <map>
#include <vector>

class TScriptedModal : public TModalRunner {
public:
    using TDialogScript = std::function<int(QDialog&)>;

    TScriptedModal()
    {
        Interaction.SetModalRunner(this);
        Serve(Window);
    }

    // Makes the script answer the dialogs of object and of everything under it.
    void Serve(QObject& object) { Interaction.Serve(object); }

    // The next dialog is handled by script, which returns the dialog's result.
    void ThenDialog(TDialogScript script) { dialogs.push_back(std::move(script)); }
    // The next message box is answered with button.
    void ThenAnswer(QMessageBox::StandardButton button) { answers.push_back(button); }

    int Exec(QDialog& dialog) override
    {
        const auto standing = standingResults.find(dialog.objectName());
        if (standing != standingResults.end()) {
            standingShown.push_back(dialog.objectName());
            return standing->second;
        }
        shownDialogs.push_back(dialog.objectName());
        if (dialogs.empty()) {
            ADD_FAILURE() << "unexpected dialog " << dialog.objectName().toStdString();
            return QDialog::Rejected;
        }
        TDialogScript script = std::move(dialogs.front());
        dialogs.pop_front();
        return script(dialog);
    }

    QMessageBox::StandardButton Ask(QWidget*, QMessageBox::Icon icon, const QString& text,
        QMessageBox::StandardButtons) override
    {
        questions.push_back(text);
        icons.push_back(icon);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected message box " << text.toStdString();
            return QMessageBox::No;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Presses a dialog's button; the result is what the dialog ended with (Rejected when it
    // refused to close).
    static int Press(QDialog& dialog, QAbstractButton* button)
    {
        dialog.setResult(QDialog::Rejected);
        button->click();
        return dialog.result();
    }

    // Dialogs answered at once whenever they come, outside the script and shownDialogs: the
    // backup offer comes at every first start in a fresh folder, and is declined unless a test
    // erases this entry to script it.
    std::map<QString, int> standingResults{{QStringLiteral("fmBackup"), QDialog::Rejected}};
    std::vector<QString> standingShown;

    std::deque<TDialogScript> dialogs;
    std::deque<QMessageBox::StandardButton> answers;
    std::vector<QString> shownDialogs;
    std::vector<QString> questions;
    std::vector<QMessageBox::Icon> icons;

    TInteraction Interaction;
    // A window the script serves: the parent of what a test shows without a window of its own.
    QWidget Window;
};
