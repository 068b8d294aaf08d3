#pragma once
// The preview's page setup: the printer, the paper, its source and orientation among what that
// printer offers, the width and height of a custom size in millimetres, and the four margins in
// millimetres. The printer is chosen on the report printer at once, and the paper and source
// lists become its own; any result but OK chooses back the printer and the paper there were.
// The margins go in and out in hundredths of a millimetre; the preview turns them into page
// units and back (18 page units are 5 mm). OK is refused, with the reason, for a paper the
// printer does not take or a sheet the caller's check finds too small; the caller applies the
// paper, source, orientation and margins after OK.
#include <cstdint>
#include <functional>

#include <QDialog>
#include <QMargins>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QRadioButton;
class TrpPrinter;
class TrpRunContext;
struct TPaperGeometry;

// Page units to hundredths of a millimetre (truncating) and back (to the nearest unit), so that
// margins go through the dialog unchanged.
int PageUnitsToHundredthsMm(int units);
int HundredthsMmToPageUnits(int hundredths);

class TrpPageSetupForm : public QDialog {
public:
    // Starts at the printer's current printer, paper, source and orientation.
    TrpPageSetupForm(const TrpRunContext& context, TrpPrinter& printer, QWidget* parent = nullptr);

    // Left, top, right and bottom in hundredths of a millimetre.
    void SetMargins(const QMargins& hundredths);
    QMargins Margins() const;
    int PaperSize() const;
    // A custom size's width and height in tenths of a millimetre as the sheet lies (the
    // orientation chosen); 0 for a paper the printer knows by its id.
    int PaperWidth() const;
    int PaperHeight() const;
    int PaperBin() const;
    uint8_t Orientation() const;

    // Asked at OK with the geometry of the sheet chosen and the margins in page units: empty
    // accepts it, a text refuses it and is shown.
    std::function<QString(const TPaperGeometry& sheet, const QMargins& margins)> CheckSheet;

    void done(int result) override;

    QComboBox* CBPrinter;
    QComboBox* CBPaper;
    QComboBox* CBBin;
    QDoubleSpinBox* EWidth;   // a custom size, upright, in millimetres
    QDoubleSpinBox* EHeight;
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

private:
    void CBPrinterChange(int index);
    // The current printer's papers, sources and orientation, at its current choices.
    void ShowPrinterChoices();
    // The size edits take a custom size only.
    void CBPaperChange();
    // The paper chosen is tried on the printer, which keeps its own: true when it takes it and
    // CheckSheet accepts the sheet; else the reason is shown.
    bool SheetAccepted();

    const TrpRunContext& context_;
    TrpPrinter& printer_;
    // What was current when the dialog was made.
    int startPrinter_;
    int startSize_, startWidth_, startHeight_, startBin_;
    uint8_t startOrientation_;
};
