#include "app/dialogs/FHardCfg.h"

#include "app/settings/KeptPlacement.h"
#include "app/widgets/DialogButtons.h"
#include "app/widgets/SpinEdit.h"
#include "core/Device/HardConfig.h"
#include "core/Parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMaxSiloBins = 32;

QComboBox* PositionList(const char* name)
{
    auto* list = new QComboBox;
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

// "№ 1" .. "№ n", the stored index chosen (none when it is not among them).
void FillPositions(QComboBox& list, int count, int chosen)
{
    list.blockSignals(true);
    list.clear();
    for (int i = 1; i <= count; ++i)
        list.addItem(QStringLiteral("№ %1").arg(i));
    list.setCurrentIndex(chosen < count ? chosen : -1);
    list.blockSignals(false);
}

} // namespace

TfmHardCfg::TfmHardCfg(Parameters& settings, std::unique_ptr<THardConfig>& hardConfig, IniFile* placement,
                       QWidget* parent)
    : QDialog(parent), Settings(settings), HardConfig(hardConfig)
{
    setObjectName(QStringLiteral("TfmHardCfg"));
    setWindowTitle(QStringLiteral("Конфигурация"));

    edSilBinCount = MakeSpinEdit("edSilBinCount", 1, kMaxSiloBins);
    edBinCount = MakeSpinEdit("edBinCount", kMinMBCount, kMaxMBCount);
    edDevCount = MakeSpinEdit("edDevCount", kMinSilosPerMB, kMaxSilosPerMB);
    edTITCount = MakeSpinEdit("edTITCount", kMinTITPerSilos, kMaxTITPerSilos);
    auto* equipment = new QWidget;
    auto* counts = new QFormLayout(equipment);
    counts->addRow(QStringLiteral("Число силкорпусов"), edSilBinCount);
    counts->addRow(QStringLiteral("Общее число местных блоков"), edBinCount);
    counts->addRow(QStringLiteral("Число подвесок в местном блоке"), edDevCount);
    counts->addRow(QStringLiteral("Число термодатчиков в подвеске"), edTITCount);

    taAir = new QWidget;
    taAir->setObjectName(QStringLiteral("taAir"));
    chUseAirTemp = new QCheckBox(QStringLiteral("Измеряющий температуру датчик"));
    chUseAirTemp->setObjectName(QStringLiteral("chUseAirTemp"));
    cbAirMB = PositionList("cbAirMB");
    cbAirDev = PositionList("cbAirDev");
    cbAirTIT = PositionList("cbAirTIT");
    auto* air = new QFormLayout(taAir);
    air->addRow(chUseAirTemp);
    air->addRow(QStringLiteral("Местный блок"), cbAirMB);
    air->addRow(QStringLiteral("Подвеска"), cbAirDev);
    air->addRow(QStringLiteral("Датчик"), cbAirTIT);
    connect(chUseAirTemp, &QCheckBox::clicked, this, [this] { chUseAirTempClick(); });
    connect(cbAirMB, &QComboBox::activated, this, [this](int index) { FAirMB = index; });
    connect(cbAirDev, &QComboBox::activated, this, [this](int index) { FAirSilos = index; });
    connect(cbAirTIT, &QComboBox::activated, this, [this](int index) { FAirTIT = index; });

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(equipment, QStringLiteral("Оборудование"));
    PageControl1->addTab(taAir, QStringLiteral("Датчик температуры"));
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });

    const TDialogButtons buttons = MakeDialogButtons(*this, QStringLiteral("Сохранить"), "btnOk", QStringLiteral("Отмена"));
    btnOk = buttons.Accept;
    btnCancel = buttons.Cancel;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addWidget(buttons.Box);

    placement_ = std::make_unique<TKeptPlacement>(placement, *this, "TfmHardCfg");
    FormShow();
}

TfmHardCfg::~TfmHardCfg() = default;

void TfmHardCfg::FormShow()
{
    edSilBinCount->setValue(Settings.SiloBinCount);
    if (HardConfig) {
        edBinCount->setValue(HardConfig->MBCount());
        edDevCount->setValue(HardConfig->SilosPerMB());
        edTITCount->setValue(HardConfig->TITPerSilos());
        chUseAirTemp->setChecked(HardConfig->GetAirTIT() != nullptr);
        FAirMB = HardConfig->AirMB;
        FAirSilos = HardConfig->AirSilos;
        FAirTIT = HardConfig->AirTIT;
    }
    PageControl1->setCurrentIndex(0);
}

// The lists offer the positions of the counts now in the edits.
void TfmHardCfg::PageControl1Change()
{
    if (PageControl1->currentWidget() != taAir)
        return;
    FillPositions(*cbAirMB, edBinCount->value(), FAirMB);
    FillPositions(*cbAirDev, edDevCount->value(), FAirSilos);
    FillPositions(*cbAirTIT, edTITCount->value(), FAirTIT);
    chUseAirTempClick();
}

void TfmHardCfg::chUseAirTempClick()
{
    const bool on = chUseAirTemp->isChecked();
    for (QComboBox* list : {cbAirMB, cbAirDev, cbAirTIT})
        list->setEnabled(on);
    if (on)
        return;
    FAirMB = FAirSilos = FAirTIT = -1;
    for (QComboBox* list : {cbAirMB, cbAirDev, cbAirTIT})
        list->setCurrentIndex(-1);
}

void TfmHardCfg::done(int result)
{
    if (result == QDialog::Accepted)
        FormClose();
    QDialog::done(result);
}

// The period is no count of the dialog's: the new tree keeps it.
void TfmHardCfg::FormClose()
{
    Settings.SiloBinCount = edSilBinCount->value();
    auto tree = std::make_unique<THardConfig>(edBinCount->value(), edDevCount->value(), edTITCount->value());
    if (HardConfig)
        tree->Period = HardConfig->Period;
    tree->AirMB = FAirMB;
    tree->AirSilos = FAirSilos;
    tree->AirTIT = FAirTIT;
    HardConfig = std::move(tree);
}
