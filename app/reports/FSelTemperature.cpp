#include "app/reports/FSelTemperature.h"

#include "app/main/ModalRunner.h"
#include "app/settings/KeptPlacement.h"
#include "app/widgets/DialogButtons.h"
#include "app/widgets/SpinEdit.h"

#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

TfmSelTemperature::TfmSelTemperature(IniFile* placement, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfmSelTemperature"));
    setWindowTitle(QStringLiteral("Диапазон температур"));
    edMin = MakeSpinEdit("edMin", 0, 100);
    edMax = MakeSpinEdit("edMax", 0, 100);
    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("ОК"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Минимальная температура"), edMin);
    form->addRow(QStringLiteral("Максимальная температура"), edMax);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.Box);
    placement_ = std::make_unique<TKeptPlacement>(placement, *this, "TfmSelTemperature");
}

TfmSelTemperature::~TfmSelTemperature() = default;

std::optional<std::pair<int, int>> AskTemperatureRange(IniFile* placement, QWidget* parent)
{
    TfmSelTemperature dialog(placement, parent);
    if (ExecModal(dialog) != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog.edMin->value(), dialog.edMax->value());
}
