#include "app/dialogs/FGraphParam.h"

#include "app/settings/KeptPlacement.h"
#include "app/widgets/ColorPickerButton.h"
#include "app/widgets/DialogButtons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

const char* const kPointStyles[] = {"квадрат", "круг", "треугольник", "перевёрнутый треугольник", "метка",
                                    "диагональная метка", "звёздочка"};
constexpr int kPointStyleCount = 7;

QDoubleSpinBox* AxisEdit(const char* name)
{
    auto* edit = new QDoubleSpinBox;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(-1000, 1000);
    edit->setDecimals(1);
    return edit;
}

} // namespace

TfmGraphParam::TfmGraphParam(Parameters& settings, IniFile* placement, QWidget* parent)
    : QDialog(parent), Settings(settings)
{
    setObjectName(QStringLiteral("TfmGraphParam"));
    setWindowTitle(QStringLiteral("Параметры графиков"));

    tcSeries = new QTabBar;
    tcSeries->setObjectName(QStringLiteral("tcSeries"));
    tcSeries->setUsesScrollButtons(false);   // the dialog is as wide as the six tabs
    for (int k = 1; k <= 6; ++k)
        tcSeries->addTab(QStringLiteral("Датчик №%1").arg(k));
    edLine = new QSpinBox;
    edLine->setObjectName(QStringLiteral("edLine"));
    edLine->setRange(0, 10);
    cpSeries = new TColorPickerButton("cpSeries");
    chPoint = new QCheckBox(QStringLiteral("Точки показывать"));
    chPoint->setObjectName(QStringLiteral("chPoint"));
    rgPoint = new QGroupBox(QStringLiteral("Вид точки"));
    rgPoint->setObjectName(QStringLiteral("rgPoint"));
    rgPointItems = new QButtonGroup(this);
    auto* points = new QVBoxLayout(rgPoint);
    for (int i = 0; i < kPointStyleCount; ++i) {
        auto* item = new QRadioButton(QString::fromUtf8(kPointStyles[i]));
        rgPointItems->addButton(item, i);
        points->addWidget(item);
    }
    connect(chPoint, &QCheckBox::toggled, rgPoint, &QWidget::setEnabled);

    auto* series = new QFormLayout;
    series->addRow(QStringLiteral("Толщина линии"), edLine);
    series->addRow(QStringLiteral("Цвет линии"), cpSeries);
    series->addRow(chPoint);
    series->addRow(rgPoint);

    AxisAutoCheck = new QCheckBox(QStringLiteral("Автоматическая"));
    AxisAutoCheck->setObjectName(QStringLiteral("AxisAutoCheck"));
    AxisMinEdit = AxisEdit("AxisMinEdit");
    AxisMaxEdit = AxisEdit("AxisMaxEdit");
    auto* axisBox = new QGroupBox(QStringLiteral("Шкала температуры"));
    auto* axis = new QFormLayout(axisBox);
    axis->addRow(AxisAutoCheck);
    axis->addRow(QStringLiteral("Минимум"), AxisMinEdit);
    axis->addRow(QStringLiteral("Максимум"), AxisMaxEdit);

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Сохранить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tcSeries);
    layout->addLayout(series);
    layout->addWidget(axisBox);
    layout->addWidget(buttons.Box);

    FormCreate();
    connect(AxisAutoCheck, &QCheckBox::clicked, this, [this](bool checked) { AxisAutoCheckClick(checked); });
    connect(AxisMinEdit, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (!FSettingAxis)
            FMin = value;
    });
    connect(AxisMaxEdit, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (!FSettingAxis)
            FMax = value;
    });
    connect(tcSeries, &QTabBar::currentChanged, this, [this](int index) {
        StoreSeries(FShownTab);
        ShowSeries(index);
    });
    placement_ = std::make_unique<TKeptPlacement>(placement, *this, "TfmGraphParam");
}

TfmGraphParam::~TfmGraphParam() = default;

void TfmGraphParam::FormCreate()
{
    FMin = Settings.ScaleMinT;
    FMax = Settings.ScaleMaxT;
    FLines = Settings.Lines;
    CheckAxis();
    ShowSeries(tcSeries->currentIndex());
}

void TfmGraphParam::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ShowSeries(tcSeries->currentIndex());
}

void TfmGraphParam::CheckAxis()
{
    if (FMin > FMax)
        FMin = FMax;
    const bool automatic = FMin == 0 && FMax == 0;
    AxisAutoCheck->setChecked(automatic);
    AxisMinEdit->setEnabled(!automatic);
    AxisMaxEdit->setEnabled(!automatic);
    SetAxisEdits();
}

void TfmGraphParam::SetAxisEdits()
{
    FSettingAxis = true;
    AxisMinEdit->setValue(FMin);
    AxisMaxEdit->setValue(FMax);
    FSettingAxis = false;
}

// Unchecking gives the edits a range to start from.
void TfmGraphParam::AxisAutoCheckClick(bool checked)
{
    FMin = checked ? 0 : -1;
    FMax = checked ? 0 : 1;
    CheckAxis();
}

void TfmGraphParam::ShowSeries(int index)
{
    FShownTab = index;
    const TLineStyle& line = FLines[size_t(index)];
    edLine->setValue(line.Width);
    cpSeries->SetColor(line.Color);
    chPoint->setChecked(line.ShowPoints);
    rgPoint->setEnabled(line.ShowPoints);
    // A style the group does not offer (one of the chart's others) shows no choice.
    if (QAbstractButton* item = rgPointItems->button(line.PointStyle)) {
        item->setChecked(true);
    } else {
        rgPointItems->setExclusive(false);
        for (QAbstractButton* button : rgPointItems->buttons())
            button->setChecked(false);
        rgPointItems->setExclusive(true);
    }
}

// With no choice made, the style stays as it was.
void TfmGraphParam::StoreSeries(int index)
{
    TLineStyle& line = FLines[size_t(index)];
    line.Width = edLine->value();
    line.Color = cpSeries->Color();
    line.ShowPoints = chPoint->isChecked();
    if (rgPointItems->checkedId() >= 0)
        line.PointStyle = rgPointItems->checkedId();
}

void TfmGraphParam::done(int result)
{
    StoreSeries(FShownTab);
    if (result == QDialog::Accepted) {
        if (FMin > FMax)
            FMin = FMax;
        Settings.ScaleMinT = FMin;
        Settings.ScaleMaxT = FMax;
        Settings.Lines = FLines;
    }
    QDialog::done(result);
}
