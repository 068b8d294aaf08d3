#include "app/reports/FPrintColor.h"

#include "app/widgets/ColorPickerButton.h"
#include "core/Parameters.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Each picker with its label and the colour of the settings it edits.
struct TPrintColour {
    TColorPickerButton* TfmPrintColor::*Picker;
    const char* Name;
    const char* Label;
    TColor Parameters::*Colour;
};
const TPrintColour kColours[] = {
    {&TfmPrintColor::cpMaxT, "cpMaxT", "Уставка изменения температуры", &Parameters::PrintColorMaxT},
    {&TfmPrintColor::cpCheckT1, "cpCheckT1", "Температурная уставка №1", &Parameters::PrintColorCheckT1},
    {&TfmPrintColor::cpCheckT2, "cpCheckT2", "Температурная уставка №2", &Parameters::PrintColorCheckT2},
    {&TfmPrintColor::cpCheckT3, "cpCheckT3", "Температурная уставка №3", &Parameters::PrintColorCheckT3},
    {&TfmPrintColor::cpColorX, "cpColorX", "Состояние \"Обрыв\"", &Parameters::PrintColorX},
    {&TfmPrintColor::cpColorKz, "cpColorKz", "Состояние КЗ", &Parameters::PrintColorKz},
    {&TfmPrintColor::cpColorSpeed, "cpColorSpeed", "Превышение скорости изменения температуры",
     &Parameters::PrintColorSpeed},
};

}  // namespace

TfmPrintColor::TfmPrintColor(Parameters& settings, QWidget* parent) : QDialog(parent), Settings(settings)
{
    setObjectName(QStringLiteral("TfmPrintColor"));
    setWindowTitle(QStringLiteral("Цвета печати"));
    auto* form = new QFormLayout;
    for (const TPrintColour& colour : kColours) {
        auto* picker = new TColorPickerButton(colour.Name);
        picker->SetColor(Settings.*colour.Colour);
        this->*colour.Picker = picker;
        form->addRow(QString::fromUtf8(colour.Label), picker);
    }
    auto* box = new QDialogButtonBox;
    btnOk = box->addButton(QStringLiteral("Сохранить"), QDialogButtonBox::AcceptRole);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
}

void TfmPrintColor::done(int result)
{
    if (result == QDialog::Accepted)
        for (const TPrintColour& colour : kColours)
            Settings.*colour.Colour = (this->*colour.Picker)->Color();
    QDialog::done(result);
}
