#pragma once
// The dialogs of the report functions INPUT and MESSAGEBOX: an input box with an empty caption,
// and a message box whose buttons and icon come from the call's flags (mb_Ok, mb_OkCancel,
// mb_YesNoCancel, mb_YesNo plus mb_IconError, mb_IconQuestion, mb_IconWarning,
// mb_IconInformation), answering with the modal result of the button pressed (mrOk 1,
// mrCancel 2, mrYes 6, mrNo 7).
#include <QString>

class QWidget;
class TrpRunContext;

// Sets the context's InputBox and MessageBox to these dialogs, over the given window.
void InstallFunctionDialogs(TrpRunContext& context, QWidget* parent = nullptr);

// The text typed, or the default text when the box is cancelled.
QString ShowInputBox(QWidget* parent, const QString& prompt, const QString& defaultText);
int ShowMessageBox(QWidget* parent, const QString& text, const QString& title, int flags);
