#include "app/detail/FTimePeriod.h"

#include "app/main/ModalRunner.h"
#include "core/Parameters.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
constexpr int kMaxPeriod = 65535;
}

TfmTimePeriod::TfmTimePeriod(Parameters& record, IniFile* settings, QWidget* owner)
    : QDialog(owner), Settings(record)
{
    setObjectName(QStringLiteral("TfmTimePeriod"));
    setWindowTitle(QStringLiteral("Период усреднения"));

    edAvarage = new QSpinBox;
    edAvarage->setObjectName(QStringLiteral("edAvarage"));
    edAvarage->setRange(0, kMaxPeriod);
    edAvarage->setValue(Settings.AveragePeriod);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    Buttons->setObjectName(QStringLiteral("Buttons"));

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Период усреднения")));
    row->addWidget(edAvarage);
    row->addWidget(new QLabel(QStringLiteral("мин.")));
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(Buttons);

    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FPlacement.emplace(settings, *this, "TfmTimePeriod");
}

void TfmTimePeriod::done(int result)
{
    if (result == QDialog::Accepted)
        Settings.AveragePeriod = edAvarage->value();
    QDialog::done(result);
}

bool ShowTimePeriodDialog(Parameters& record, IniFile* settings, QWidget* owner)
{
    TfmTimePeriod dialog(record, settings, owner);
    return ExecModal(dialog) == QDialog::Accepted;
}
