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
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 33;

// The columns of the rows, with their headers over them.
enum TColumn { colSensor, colCorrection, colDegrees, colCoefficient, colR0 };

// The two sensor types by their item in the R0 list.
struct TSensorType {
    double Off;
    double Mult;
};
constexpr TSensorType kTypes[2] = {{kR0Ohm50, kMultOhm50}, {kR0Ohm53, kMultOhm53}};

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
    // One grid for the headers and the rows, so that each header stands over its column.
    rows_ = new QGridLayout;
    rows_->setVerticalSpacing(0);
    rows_->addWidget(new QLabel(QStringLiteral("Т коэф.")), 0, colCorrection, Qt::AlignHCenter);
    rows_->addWidget(new QLabel(QStringLiteral("Коэффициент")), 0, colCoefficient, Qt::AlignHCenter);
    rows_->addWidget(new QLabel(QStringLiteral("R нуля")), 0, colR0, Qt::AlignHCenter);
    chAllDev = new QCheckBox(QStringLiteral("Применить ко всем выбранным силосам"));
    chAllDev->setObjectName(QStringLiteral("chAllDev"));
    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Сохранить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* layout = new QVBoxLayout(this);
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
    const int row = rows_->rowCount();
    rows_->setRowMinimumHeight(row, kRowHeight);
    auto* correction = new QDoubleSpinBox;
    correction->setObjectName(QStringLiteral("edTk%1").arg(index + 1));
    correction->setRange(-100, 100);
    correction->setDecimals(2);
    correction->setSingleStep(0.1);
    correction->setValue(sensor.Tk());
    auto* coefficient = new QLabel;
    coefficient->setAlignment(Qt::AlignCenter);
    auto* r0 = new QComboBox;
    r0->setObjectName(QStringLiteral("cbR0%1").arg(index + 1));
    r0->addItems({QStringLiteral("50 Ом"), QStringLiteral("53 Ом")});
    rows_->addWidget(new QLabel(QStringLiteral("Датчик №%1").arg(sensor.No() + 1)), row, colSensor);
    rows_->addWidget(correction, row, colCorrection);
    rows_->addWidget(new QLabel(QStringLiteral("°С")), row, colDegrees);
    rows_->addWidget(coefficient, row, colCoefficient);
    rows_->addWidget(r0, row, colR0);

    FSensors.push_back(&sensor);
    Corrections.push_back(correction);
    R0Lists.push_back(r0);
    Coefficients.push_back(coefficient);
    r0->setCurrentIndex(TypeOf(sensor));
    R0Change(index);
    connect(r0, &QComboBox::currentIndexChanged, this, [this, index] { R0Change(index); });
}

// The coefficient is written as the corrections are: with the system's decimal separator.
void TfmDetalTIT::R0Change(size_t row)
{
    const TSensorType& type = kTypes[R0Lists[row]->currentIndex() == 1 ? 1 : 0];
    Coefficients[row]->setText(Corrections[row]->locale().toString(type.Mult, 'f', 4));
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
