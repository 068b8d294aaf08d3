#pragma once
// The preview's page setup: the paper, its source and orientation among what the report
// printer's current printer offers, and the four margins in millimetres. The margins go in and
// out in hundredths of a millimetre; the preview turns them into page units and back (18 page
// units are 5 mm). The caller applies the choices after OK.
#include <cstdint>

#include <QDialog>
#include <QMargins>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;
class TrpPrinter;
class TrpRunContext;

// Page units to hundredths of a millimetre (truncating) and back (to the nearest unit), so that
// margins go through the dialog unchanged.
int PageUnitsToHundredthsMm(int units);
int HundredthsMmToPageUnits(int hundredths);

class TrpPageSetupForm : public QDialog {
public:
    // Starts at the printer's current paper, source and orientation.
    TrpPageSetupForm(const TrpRunContext& context, const TrpPrinter& printer, QWidget* parent = nullptr);

    // Left, top, right and bottom in hundredths of a millimetre.
    void SetMargins(const QMargins& hundredths);
    QMargins Margins() const;
    int PaperSize() const;
    int PaperBin() const;
    uint8_t Orientation() const;

    QComboBox* CBPaper;
    QComboBox* CBBin;
    QRadioButton* RBPortrait;
    QRadioButton* RBLandscape;
    QDoubleSpinBox* ELeft;
    QDoubleSpinBox* ETop;
    QDoubleSpinBox* ERight;
    QDoubleSpinBox* EBottom;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void reject() override;
};
