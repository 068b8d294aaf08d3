#pragma once
// The print dialog the preview shows before prepared pages print. It chooses the report
// printer's printer at once (Cancel, or closing the window, chooses back the printer that was
// current when the dialog was made; OK keeps the choice), opens the printer's own properties,
// and gathers the page range, the copies with their collation and the odd/even choice, which the
// caller reads after OK and hands to TrpReport::PrintReportPages. It prints nothing itself.
#include <cstdint>

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class TrpPrinter;
class TrpRunContext;
class TrpSpeedButton;

class TrpPrintForm : public QDialog {
public:
    explicit TrpPrintForm(TrpRunContext& context, QWidget* parent = nullptr);

    // What to print after OK: the page list ("" for all pages, the current page's number, or
    // the typed list), the copies (at least 1), collation and the odd/even choice
    // (TrpPrintPages).
    QString PageNumbers(int currentPage) const;
    int Copies() const;
    bool Collate() const;
    uint8_t PrintPages() const;

    // Any result but OK chooses back the printer that was current at the start.
    void done(int result) override;

    QGroupBox* GroupBox1;
    QLabel* Label4;
    QComboBox* CB1;
    QLabel* Image1;
    QPushButton* PropButton;
    QGroupBox* GroupBox2;
    QRadioButton* RB1;
    QRadioButton* RB2;
    QRadioButton* RB3;
    QLineEdit* E2;
    QLabel* Label2;
    QGroupBox* GroupBox3;
    QLabel* Label1;
    QLineEdit* E1;
    TrpSpeedButton* rpSpeedButton1;
    TrpSpeedButton* rpSpeedButton2;
    QCheckBox* CollateCB;
    QLabel* Label3;
    QWidget* PB1;
    QLabel* CollateImg;
    QLabel* NonCollateImg;
    QLabel* Label5;
    QComboBox* CB2;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MakePrinterBox();
    void MakePageRangeBox();
    void MakeCopiesBox();
    void CB1Change(int index);
    void ShowCurrentPrinter();
    void StepCopies(int step);
    void PaintCollation();

    TrpRunContext& context_;
    TrpPrinter& printer_;
    int startPrinter_;   // the printer current when the dialog was made
};
