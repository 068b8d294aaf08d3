#include "app/dialogs/FSiloBinParam.h"

#include "app/board/FrameSiloBin.h"
#include "app/widgets/DialogButtons.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* SpinEdit(const char* name, int low, int high, int value)
{
    auto* edit = new QSpinBox;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(low, high);
    edit->setValue(value);
    return edit;
}

} // namespace

TfmSiloBinParam::TfmSiloBinParam(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("TfmSiloBinParam"));
    setWindowTitle(QStringLiteral("Параметры силкорпуса"));

    edBinNo = SpinEdit("edBinNo", 1, 255, 1);
    edName = new QLineEdit;
    edName->setObjectName(QStringLiteral("edName"));
    edRow = SpinEdit("edRow", 1, kMaxGridRows, 1);
    edCol = SpinEdit("edCol", 1, kMaxGridCols, 8);
    edColWidth = SpinEdit("edColWidth", kMinColWidth, kMaxColWidth, kDefaultColWidth);
    edHeigthTD = SpinEdit("edHeigthTD", kMinBandHeight, kMaxBandHeight, kDefaultBandHeight);

    auto* size = new QHBoxLayout;
    size->addWidget(edRow);
    size->addWidget(new QLabel(QStringLiteral("Х")));
    size->addWidget(edCol);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("№"), edBinNo);
    form->addRow(QStringLiteral("Название"), edName);
    form->addRow(QStringLiteral("Размер"), size);
    form->addRow(QStringLiteral("Ширина колонок"), edColWidth);
    form->addRow(QStringLiteral("Высота индикаторов"), edHeigthTD);

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Применить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.Box);
}
