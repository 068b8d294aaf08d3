#include "report/ui/FunctionDialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"

namespace {

struct TButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
};

TButtonSet ButtonsOf(int flags)
{
    switch (flags & 0x0F) {
    case 1: return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel};
    case 3: return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel};
    case 4: return {QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    default: return {QMessageBox::Ok, QMessageBox::Ok};
    }
}

QMessageBox::Icon IconOf(int flags)
{
    switch (flags & 0xF0) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int ModalResultOf(int button)
{
    switch (button) {
    case QMessageBox::Ok: return mrOk;
    case QMessageBox::Yes: return mrYes;
    case QMessageBox::No: return mrNo;
    default: return mrCancel;
    }
}

}  // namespace

void InstallFunctionDialogs(TrpRunContext& context, QWidget* parent)
{
    const QPointer<QWidget> window(parent);
    context.InputBox = [window](const QString& prompt, const QString& defaultText) {
        return ShowInputBox(window, prompt, defaultText);
    };
    context.MessageBox = [window](const QString& text, const QString& title, int flags) {
        return ShowMessageBox(window, text, title, flags);
    };
}

QString ShowInputBox(QWidget* parent, const QString& prompt, const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QString(), prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : defaultText;
}

int ShowMessageBox(QWidget* parent, const QString& text, const QString& title, int flags)
{
    const TButtonSet set = ButtonsOf(flags);
    QMessageBox box(IconOf(flags), title, text, set.buttons, parent);
    box.setEscapeButton(set.escape);
    return ModalResultOf(box.exec());
}
