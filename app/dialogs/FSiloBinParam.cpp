#include "app/dialogs/FSiloBinParam.h"

#include "app/board/FrameSiloBin.h"
#include "app/widgets/DialogButtons.h"
#include "app/widgets/SpinEdit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TfmSiloBinParam::TfmSiloBinParam(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("TfmSiloBinParam"));
    setWindowTitle(QStringLiteral("Параметры силкорпуса"));

    edBinNo = MakeSpinEdit("edBinNo", 1, 255, 1);
    edName = new QLineEdit;
    edName->setObjectName(QStringLiteral("edName"));
    edRow = MakeSpinEdit("edRow", 1, kMaxGridRows, 1);
    edCol = MakeSpinEdit("edCol", 1, kMaxGridCols, 8);
    edColWidth = MakeSpinEdit("edColWidth", kMinColWidth, kMaxColWidth, kDefaultColWidth);
    edHeigthTD = MakeSpinEdit("edHeigthTD", kMinBandHeight, kMaxBandHeight, kDefaultBandHeight);

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
