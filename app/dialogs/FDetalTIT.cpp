#include "app/dialogs/FDetalTIT.h"

#include "app/detail/DetailModel.h"
#include "app/settings/KeptPlacement.h"
#include "app/widgets/DialogButtons.h"
#include "core/Device/Silos.h"
#include "core/Device/TIT.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 33;

// The two sensor types by their item in the R0 list.
struct TSensorType {
    double Off;
    double Mult;
    const char* Coefficient;
};
constexpr TSensorType kTypes[2] = {{kR0Ohm50, kMultOhm50, "4.6729"}, {kR0Ohm53, kMultOhm53, "4.4084"}};

// A sensor without R0 (not installed) shows the second type.
int TypeOf(const TTIT& sensor)
{
    return sensor.Off() == kR0Ohm50 ? 0 : 1;
}

} // namespace

TfmDetalTIT::TfmDetalTIT(IniFile* placement, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfmDetalTIT"));
    setWindowTitle(QStringLiteral("Корректировка температур"));
    auto* header = new QGridLayout;
    header->addWidget(new QLabel(QStringLiteral("Т коэф.")), 0, 1);
    header->addWidget(new QLabel(QStringLiteral("Коэффициент")), 0, 3);
    header->addWidget(new QLabel(QStringLiteral("R нуля")), 0, 4);
    rows_ = new QVBoxLayout;
    rows_->setSpacing(0);
    chAllDev = new QCheckBox(QStringLiteral("Применить ко всем выбранным силосам"));
    chAllDev->setObjectName(QStringLiteral("chAllDev"));
    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Сохранить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addLayout(rows_);
    layout->addWidget(chAllDev);
    layout->addWidget(buttons.Box);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    placement_ = std::make_unique<TKeptPlacement>(placement, *this, "TfmDetalTIT");
}

TfmDetalTIT::~TfmDetalTIT() = default;

void TfmDetalTIT::Setup(const TDetalModel& detail)
{
    for (int row = 0; row < detail.RowCount(); ++row)
        if (TTIT* sensor = detail.Node(row).Sensor) {
            FSilos = sensor->Owner();
            AddRow(*sensor);
        }
}

void TfmDetalTIT::AddRow(TTIT& sensor)
{
    const size_t index = FSensors.size();
    auto* panel = new QWidget;
    panel->setFixedHeight(kRowHeight);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 0, 4, 0);
    auto* correction = new QDoubleSpinBox;
    correction->setObjectName(QStringLiteral("edTk%1").arg(index + 1));
    correction->setRange(-100, 100);
    correction->setDecimals(2);
    correction->setSingleStep(0.1);
    correction->setValue(sensor.Tk());
    auto* coefficient = new QLabel;
    auto* r0 = new QComboBox;
    r0->setObjectName(QStringLiteral("cbR0%1").arg(index + 1));
    r0->addItems({QStringLiteral("50 Ом"), QStringLiteral("53 Ом")});
    row->addWidget(new QLabel(QStringLiteral("Датчик №%1").arg(sensor.No() + 1)));
    row->addWidget(correction);
    row->addWidget(new QLabel(QStringLiteral("°С")));
    row->addWidget(coefficient);
    row->addWidget(r0);
    rows_->addWidget(panel);

    FSensors.push_back(&sensor);
    Corrections.push_back(correction);
    R0Lists.push_back(r0);
    Coefficients.push_back(coefficient);
    r0->setCurrentIndex(TypeOf(sensor));
    R0Change(index);
    connect(r0, &QComboBox::currentIndexChanged, this, [this, index] { R0Change(index); });
}

void TfmDetalTIT::R0Change(size_t row)
{
    Coefficients[row]->setText(QString::fromLatin1(kTypes[R0Lists[row]->currentIndex() == 1 ? 1 : 0].Coefficient));
}

void TfmDetalTIT::done(int result)
{
    if (result == QDialog::Accepted)
        FormClose();
    QDialog::done(result);
}

void TfmDetalTIT::FormClose()
{
    for (size_t i = 0; i < FSensors.size(); ++i) {
        const TSensorType& type = kTypes[R0Lists[i]->currentIndex() == 1 ? 1 : 0];
        FSensors[i]->SetTk(Corrections[i]->value());
        FSensors[i]->SetOff(type.Off);
        FSensors[i]->SetMult(type.Mult);
    }
}

void ApplyCalibrationToSelected(const TSilos& shown, const std::vector<TSilos*>& suspensions)
{
    for (TSilos* silos : suspensions) {
        if (!silos || !silos->Selected || silos == &shown)
            continue;
        for (int i = 0; i < shown.TITCount() && i < silos->TITCount(); ++i) {
            const TTIT& from = *shown.GetTIT(i);
            TTIT& to = *silos->GetTIT(i);
            to.SetMult(from.Mult());
            to.SetOff(from.Off());
            to.SetTk(from.Tk());
        }
    }
}
