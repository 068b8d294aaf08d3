#include "app/dialogs/FSetMaxT.h"

#include "app/widgets/ColorPickerButton.h"
#include "app/widgets/DialogButtons.h"
#include "app/widgets/SpinEdit.h"
#include "core/Parameters.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Set-points are whole degrees; 0 switches one off.
QSpinBox* SetPointEdit(const char* name, int value)
{
    QSpinBox* edit = MakeSpinEdit(name, -99, 200, value);
    edit->setToolTip(QStringLiteral("0 - уставка не используется"));
    return edit;
}

QLineEdit* TextEdit(const char* name, const QString& text)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

TColorPickerButton* Picker(const char* name, TColor color)
{
    auto* picker = new TColorPickerButton(name);
    picker->SetColor(color);
    return picker;
}

const QString kShownIn = QStringLiteral("°С  Отобажается цветом");

} // namespace

TfmSetMaxT::TfmSetMaxT(Parameters& settings, QWidget* parent) : QDialog(parent), Settings(settings)
{
    setObjectName(QStringLiteral("TfmSetMaxT"));
    setWindowTitle(QStringLiteral("Параметры уставок"));

    edMaxT = SetPointEdit("edMaxT", Settings.MaxT);
    cpMaxT = Picker("cpMaxT", Settings.ColorMaxT);
    edCheckT1 = SetPointEdit("edCheckT1", Settings.CheckT1);
    cpCheckT1 = Picker("cpCheckT1", Settings.ColorCheckT1);
    edCheckT2 = SetPointEdit("edCheckT2", Settings.CheckT2);
    cpCheckT2 = Picker("cpCheckT2", Settings.ColorCheckT2);
    edCheckT3 = SetPointEdit("edCheckT3", Settings.CheckT3);
    cpCheckT3 = Picker("cpCheckT3", Settings.ColorCheckT3);
    edBrake = TextEdit("edBrake", Settings.TextBreak);
    cpColorX = Picker("cpColorX", Settings.ColorX);
    edKz = TextEdit("edKz", Settings.TextShort);
    cpColorKz = Picker("cpColorKz", Settings.ColorKz);
    chUseSpeed = new QCheckBox(QStringLiteral("Контроллировать скорость изменения температуры"));
    chUseSpeed->setObjectName(QStringLiteral("chUseSpeed"));
    chUseSpeed->setChecked(Settings.UseCheckSpeed);
    edCheckSpeed = new QDoubleSpinBox;
    edCheckSpeed->setObjectName(QStringLiteral("edCheckSpeed"));
    edCheckSpeed->setRange(0.5, 5);
    edCheckSpeed->setSingleStep(0.1);
    edCheckSpeed->setDecimals(1);
    edCheckSpeed->setValue(Settings.CheckSpeed);
    cpColorSpeed = Picker("cpColorSpeed", Settings.ColorSpeed);

    auto* grid = new QGridLayout;
    int row = 0;
    const auto setPoint = [&](const char* label, QSpinBox* edit, TColorPickerButton* picker) {
        grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(kShownIn), row, 2);
        grid->addWidget(picker, row, 3);
        ++row;
    };
    setPoint("Максимально допустимая температура", edMaxT, cpMaxT);
    setPoint("Температурная уставка №1", edCheckT1, cpCheckT1);
    setPoint("Температурная уставка №2", edCheckT2, cpCheckT2);
    setPoint("Температурная уставка №3", edCheckT3, cpCheckT3);
    const auto state = [&](const QString& label, QLineEdit* edit, TColorPickerButton* picker) {
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(QStringLiteral(" цветом")), row, 2);
        grid->addWidget(picker, row, 3);
        ++row;
    };
    state(QStringLiteral("Состояние \"Обрыв\"  отобажается "), edBrake, cpColorX);
    state(QStringLiteral("Состояние КЗ  отобажается "), edKz, cpColorKz);
    grid->addWidget(chUseSpeed, row++, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Уставка изменения температуры")), row, 0);
    grid->addWidget(edCheckSpeed, row, 1);
    grid->addWidget(new QLabel(kShownIn), row, 2);
    grid->addWidget(cpColorSpeed, row, 3);

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Сохранить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons.Box);
}

void TfmSetMaxT::done(int result)
{
    if (result == QDialog::Accepted)
        FormClose();
    QDialog::done(result);
}

void TfmSetMaxT::FormClose()
{
    Settings.MaxT = edMaxT->value();
    Settings.ColorMaxT = cpMaxT->Color();
    Settings.CheckT1 = edCheckT1->value();
    Settings.ColorCheckT1 = cpCheckT1->Color();
    Settings.CheckT2 = edCheckT2->value();
    Settings.ColorCheckT2 = cpCheckT2->Color();
    Settings.CheckT3 = edCheckT3->value();
    Settings.ColorCheckT3 = cpCheckT3->Color();
    Settings.TextBreak = edBrake->text();
    Settings.ColorX = cpColorX->Color();
    Settings.TextShort = edKz->text();
    Settings.ColorKz = cpColorKz->Color();
    Settings.UseCheckSpeed = chUseSpeed->isChecked();
    Settings.CheckSpeed = edCheckSpeed->value();
    Settings.ColorSpeed = cpColorSpeed->Color();
}
