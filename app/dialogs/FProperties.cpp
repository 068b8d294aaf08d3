#include "app/dialogs/FProperties.h"

#include "app/settings/KeptPlacement.h"
#include "app/widgets/DialogButtons.h"
#include "core/Parameters.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

TfmProperties::TfmProperties(Parameters& settings, IniFile* placement, QWidget* parent)
    : QDialog(parent), Settings(settings)
{
    setObjectName(QStringLiteral("TfmProperties"));
    setWindowTitle(QStringLiteral("Ввод реквизитов"));
    auto* form = new QFormLayout;
    const auto edit = [form](const char* name, const char* label) {
        auto* line = new QLineEdit;
        line->setObjectName(QString::fromLatin1(name));
        form->addRow(QString::fromUtf8(label), line);
        return line;
    };
    edRegion = edit("edRegion", "Область");
    edArea = edit("edArea", "Район");
    edCity = edit("edCity", "Город");
    edElevator = edit("edElevator", "Элеватор");
    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Сохранить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons.Box);
    resize(400, sizeHint().height());
    placement_ = std::make_unique<TKeptPlacement>(placement, *this, "TfmProperties");
    FormCreate();
}

TfmProperties::~TfmProperties() = default;

void TfmProperties::FormCreate()
{
    edRegion->setText(Settings.Elevator.Region);
    edArea->setText(Settings.Elevator.District);
    edCity->setText(Settings.Elevator.Town);
    edElevator->setText(Settings.Elevator.Elevator);
}

void TfmProperties::done(int result)
{
    if (result == QDialog::Accepted)
        FormClose();
    QDialog::done(result);
}

void TfmProperties::FormClose()
{
    Settings.Elevator.Region = edRegion->text();
    Settings.Elevator.District = edArea->text();
    Settings.Elevator.Town = edCity->text();
    Settings.Elevator.Elevator = edElevator->text();
}
