#pragma once
// The RTF export's options dialog: margins and scales, the page range, page breaks and
// pictures. Whichever button closes it, the settings and the range are read back into the
// filter.
#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TrpRtfAdvExport;

class TrpRtfExpSet : public QDialog {
public:
    // Its texts come from the filter's run context.
    explicit TrpRtfExpSet(const TrpRtfAdvExport& filter, QWidget* parent = nullptr);

    // Fills the controls from the filter's settings (the range starts empty), and reads them
    // back. A scale that is not a whole number above 0, or a margin that is not a number,
    // raises EConvertError naming the field; the filter keeps what was read before it.
    void Load(const TrpRtfAdvExport& filter);
    void Store(TrpRtfAdvExport& filter) const;

    QGroupBox* PageSettings;
    QLineEdit* E_TMargin;
    QLineEdit* E_LMargin;
    QLineEdit* E_ScaleX;
    QLineEdit* E_ScaleY;
    QGroupBox* PageRangeBox;
    QLineEdit* E_Range;
    QLabel* Descr;
    QGroupBox* QualityBox;
    QCheckBox* CB_PageBreaks;
    QCheckBox* CB_Pictures;
    QPushButton* OK;
    QPushButton* Cancel;

protected:
    void reject() override;
};

// Runs the dialog for the filter and returns its modal result; the settings are stored in any
// case.
int ShowRtfExportOptions(TrpRtfAdvExport& filter);
