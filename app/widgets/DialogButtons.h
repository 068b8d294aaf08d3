#pragma once
// The two buttons along a dialog's foot: the accepting one and the cancelling one ("btnCancel"),
// with the captions and object names the dialog gives them, wired to accept and reject.
#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QPushButton;

struct TDialogButtons {
    QDialogButtonBox* Box = nullptr;   // for the dialog's layout
    QPushButton* Accept = nullptr;
    QPushButton* Cancel = nullptr;
};

TDialogButtons MakeDialogButtons(QDialog& dialog, const QString& acceptCaption, const char* acceptName,
                                 const QString& cancelCaption);
