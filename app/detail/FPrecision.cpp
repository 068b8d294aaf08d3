#include "app/detail/FPrecision.h"

#include "app/main/ModalRunner.h"
#include "core/Parameters.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int kMaxDecimals = 3;
constexpr int kDecimalsForHalfDegrees = 1;
}

TfmPrecision::TfmPrecision(Parameters& record, IniFile* settings, QWidget* owner)
    : QDialog(owner), Settings(record)
{
    setObjectName(QStringLiteral("TfmPrecision"));
    setWindowTitle(QStringLiteral("Отображение температур"));

    edPrecision = new QSpinBox;
    edPrecision->setObjectName(QStringLiteral("edPrecision"));
    edPrecision->setRange(0, kMaxDecimals);
    chPrecission05 = new QCheckBox(QStringLiteral("Точность отображения температуры 0.5 °С"));
    chPrecission05->setObjectName(QStringLiteral("chPrecission05"));
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    Buttons->setObjectName(QStringLiteral("Buttons"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Точность отображения темтературы")), 0, 0, 1, 2);
    grid->addWidget(edPrecision, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("знаков после запятой")), 1, 1);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(chPrecission05);
    column->addWidget(Buttons);

    // Anything above 3 decimals means half degrees; the spin edit then offers one decimal.
    const int precision = Settings.Precision;
    chPrecission05->setChecked(precision > kMaxDecimals);
    edPrecision->setValue(precision > kMaxDecimals ? kDecimalsForHalfDegrees : precision);
    chPrecission05Click();

    connect(chPrecission05, &QCheckBox::toggled, this, [this] { chPrecission05Click(); });
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FPlacement.emplace(settings, *this, "TfmPrecision");
}

void TfmPrecision::chPrecission05Click()
{
    edPrecision->setEnabled(!chPrecission05->isChecked());
}

int TfmPrecision::Precision() const
{
    return chPrecission05->isChecked() ? kHalfDegree : edPrecision->value();
}

void TfmPrecision::done(int result)
{
    if (result == QDialog::Accepted)
        Settings.Precision = Precision();
    QDialog::done(result);
}

bool ShowPrecisionDialog(Parameters& record, IniFile* settings, QWidget* owner)
{
    TfmPrecision dialog(record, settings, owner);
    return ExecModal(dialog) == QDialog::Accepted;
}
