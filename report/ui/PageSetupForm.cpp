#include "report/ui/PageSetupForm.h"

#include <algorithm>
#include <cmath>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "report/paper/PaperTable.h"
#include "report/paper/PlatformPrinter.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/ErrorBox.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/ReportErrors.h"
#include "report/ui/FormRoutines.h"

namespace {

constexpr int kHundredthsPer5Mm = 500;
constexpr int kPageUnitsPer5Mm = 18;
// A custom size: from 1 cm to 3 m a side, in tenths of a millimetre as printers take it.
constexpr double kLeastSideMm = 10;
constexpr double kLargestSideMm = 3000;
constexpr int kA4Width = 2100, kA4Height = 2970;

QDoubleSpinBox* MarginEdit(const char* name, QWidget* parent)
{
    auto* edit = Named(new QDoubleSpinBox(parent), name);
    edit->setDecimals(2);
    edit->setRange(0, 500);
    edit->setSuffix(QStringLiteral(" мм"));
    return edit;
}

QDoubleSpinBox* SideEdit(const char* name, QWidget* parent)
{
    auto* edit = Named(new QDoubleSpinBox(parent), name);
    edit->setDecimals(1);
    edit->setRange(kLeastSideMm, kLargestSideMm);
    edit->setSuffix(QStringLiteral(" мм"));
    return edit;
}

int Tenths(const QDoubleSpinBox* edit)
{
    return int(std::lround(edit->value() * 10));
}

// Fills the list with the items and chooses the one with the id (else the first).
void FillChoice(QComboBox* box, const QStringList& names, const std::vector<int>& ids, int current)
{
    box->clear();
    for (size_t i = 0; i < ids.size() && i < size_t(names.size()); ++i)
        box->addItem(names[qsizetype(i)], ids[i]);
    box->setCurrentIndex(std::max(box->findData(current), 0));
}

} // namespace

int PageUnitsToHundredthsMm(int units)
{
    return units * kHundredthsPer5Mm / kPageUnitsPer5Mm;
}

int HundredthsMmToPageUnits(int hundredths)
{
    // Rounded, not truncated: the way there truncates, so margins shown and confirmed unchanged
    // come back as they were instead of shrinking by a unit at each page setup.
    const int doubled = 2 * hundredths * kPageUnitsPer5Mm / kHundredthsPer5Mm;
    return (doubled + (doubled >= 0 ? 1 : -1)) / 2;
}

TrpPageSetupForm::TrpPageSetupForm(const TrpRunContext& context, TrpPrinter& printer, QWidget* parent)
    : QDialog(parent),
      context_(context),
      printer_(printer),
      startPrinter_(printer.CurrentIndex),
      startSize_(printer.PaperSize),
      startWidth_(printer.PaperWidth),
      startHeight_(printer.PaperHeight),
      startBin_(printer.PaperBin),
      startOrientation_(printer.Orientation)
{
    setObjectName(QStringLiteral("rpPageSetupForm"));
    setWindowTitle(QStringLiteral("Параметры страницы"));

    auto* device = Named(new QGroupBox(QStringLiteral("Принтер"), this), "GroupBox4");
    CBPrinter = Named(new QComboBox(device), "CBPrinter");
    CBPrinter->addItems(printer.Printers);
    connect(CBPrinter, &QComboBox::activated, this, [this](int index) { CBPrinterChange(index); });
    auto* deviceRow = new QFormLayout(device);
    deviceRow->addRow(QStringLiteral("Имя:"), CBPrinter);

    auto* paper = Named(new QGroupBox(QStringLiteral("Бумага"), this), "GroupBox1");
    CBPaper = Named(new QComboBox(paper), "CBPaper");
    CBBin = Named(new QComboBox(paper), "CBBin");
    EWidth = SideEdit("EWidth", paper);
    EHeight = SideEdit("EHeight", paper);
    auto* paperRows = new QFormLayout(paper);
    paperRows->addRow(QStringLiteral("Размер:"), CBPaper);
    paperRows->addRow(QStringLiteral("Ширина:"), EWidth);
    paperRows->addRow(QStringLiteral("Высота:"), EHeight);
    paperRows->addRow(QStringLiteral("Подача:"), CBBin);
    connect(CBPaper, &QComboBox::currentIndexChanged, this, [this] { CBPaperChange(); });
    // The sheet the printer has, upright; a custom size without one starts as A4.
    const bool sized = printer.PaperWidth > 0 && printer.PaperHeight > 0;
    const bool lying = printer.Orientation == poLandscape;
    const int upright[] = {sized ? (lying ? printer.PaperHeight : printer.PaperWidth) : kA4Width,
                           sized ? (lying ? printer.PaperWidth : printer.PaperHeight) : kA4Height};
    EWidth->setValue(upright[0] / 10.0);
    EHeight->setValue(upright[1] / 10.0);

    auto* orientation = Named(new QGroupBox(QStringLiteral("Ориентация"), this), "GroupBox2");
    RBPortrait = Named(new QRadioButton(QStringLiteral("Книжная"), orientation), "RBPortrait");
    RBLandscape = Named(new QRadioButton(QStringLiteral("Альбомная"), orientation), "RBLandscape");
    ShowPrinterChoices();
    auto* orientationColumn = new QVBoxLayout(orientation);
    orientationColumn->addWidget(RBPortrait);
    orientationColumn->addWidget(RBLandscape);

    auto* margins = Named(new QGroupBox(QStringLiteral("Поля"), this), "GroupBox3");
    ELeft = MarginEdit("ELeft", margins);
    ERight = MarginEdit("ERight", margins);
    ETop = MarginEdit("ETop", margins);
    EBottom = MarginEdit("EBottom", margins);
    auto* grid = new QGridLayout(margins);
    grid->addWidget(new QLabel(QStringLiteral("Левое:"), margins), 0, 0);
    grid->addWidget(ELeft, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Правое:"), margins), 0, 2);
    grid->addWidget(ERight, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Верхнее:"), margins), 1, 0);
    grid->addWidget(ETop, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Нижнее:"), margins), 1, 2);
    grid->addWidget(EBottom, 1, 3);

    auto* column = new QVBoxLayout(this);
    column->addWidget(device);
    column->addWidget(paper);
    column->addWidget(orientation);
    column->addWidget(margins);
    column->addLayout(MakeOkCancel(*this, context, Button1, Button2));
}

void TrpPageSetupForm::CBPrinterChange(int index)
{
    try {
        printer_.ChoosePrinter(index);
    } catch (const EPrinter& error) {
        ShowErrorBox(context_, QString::fromUtf8(error.what()));
    }
    ShowPrinterChoices();
}

void TrpPageSetupForm::ShowPrinterChoices()
{
    // A printer that gives no settings hands over to the virtual one: the list shows which.
    CBPrinter->setCurrentIndex(printer_.CurrentIndex);
    FillChoice(CBPaper, printer_.PaperNames, printer_.PaperIds, printer_.PaperSize);
    FillChoice(CBBin, printer_.BinNames, printer_.BinIds, printer_.PaperBin);
    (printer_.Orientation == poLandscape ? RBLandscape : RBPortrait)->setChecked(true);
    CBPaperChange();
}

void TrpPageSetupForm::CBPaperChange()
{
    const bool custom = PaperSize() == kCustomPaper;
    EWidth->setEnabled(custom);
    EHeight->setEnabled(custom);
}

bool TrpPageSetupForm::SheetAccepted()
{
    const TrpDeviceMode own = printer_.DeviceMode();
    QString refusal;
    try {
        printer_.SetPaper(PaperSize(), PaperWidth(), PaperHeight(), PaperBin(), Orientation(), false);
        TPaperGeometry sheet;
        printer_.FillPaperGeometry(sheet);
        const QMargins m = Margins();
        if (CheckSheet)
            refusal = CheckSheet(sheet, QMargins(HundredthsMmToPageUnits(m.left()), HundredthsMmToPageUnits(m.top()),
                                                 HundredthsMmToPageUnits(m.right()),
                                                 HundredthsMmToPageUnits(m.bottom())));
    } catch (const EPrinter& error) {
        refusal = QString::fromUtf8(error.what());
    }
    try {
        printer_.SetPaper(own.PaperSize, own.PaperWidth, own.PaperHeight, own.PaperBin, own.Orientation, true);
    } catch (const EPrinter& error) {
        refusal = QString::fromUtf8(error.what());
    }
    if (refusal.isEmpty())
        return true;
    ShowErrorBox(context_, refusal);
    return false;
}

void TrpPageSetupForm::done(int result)
{
    if (result == mrOk && !SheetAccepted())
        return;
    if (result != mrOk && printer_.CurrentIndex != startPrinter_) {
        // The printer chosen back starts on its own paper: the one it had is set again.
        try {
            printer_.ChoosePrinter(startPrinter_);
            printer_.SetPaper(startSize_, startWidth_, startHeight_, startBin_, startOrientation_, true);
        } catch (const EPrinter& error) {
            ShowErrorBox(context_, QString::fromUtf8(error.what()));
        }
    }
    QDialog::done(result);
}

void TrpPageSetupForm::SetMargins(const QMargins& hundredths)
{
    ELeft->setValue(hundredths.left() / 100.0);
    ETop->setValue(hundredths.top() / 100.0);
    ERight->setValue(hundredths.right() / 100.0);
    EBottom->setValue(hundredths.bottom() / 100.0);
}

QMargins TrpPageSetupForm::Margins() const
{
    const auto hundredths = [](const QDoubleSpinBox* edit) { return int(std::lround(edit->value() * 100)); };
    return QMargins(hundredths(ELeft), hundredths(ETop), hundredths(ERight), hundredths(EBottom));
}

int TrpPageSetupForm::PaperSize() const
{
    return CBPaper->currentData().toInt();
}

int TrpPageSetupForm::PaperWidth() const
{
    if (PaperSize() != kCustomPaper)
        return 0;
    return Orientation() == poLandscape ? Tenths(EHeight) : Tenths(EWidth);
}

int TrpPageSetupForm::PaperHeight() const
{
    if (PaperSize() != kCustomPaper)
        return 0;
    return Orientation() == poLandscape ? Tenths(EWidth) : Tenths(EHeight);
}

int TrpPageSetupForm::PaperBin() const
{
    return CBBin->count() > 0 ? CBBin->currentData().toInt() : -1;
}

uint8_t TrpPageSetupForm::Orientation() const
{
    return RBLandscape->isChecked() ? poLandscape : poPortrait;
}

void TrpPageSetupForm::reject()
{
    done(mrCancel);
}
