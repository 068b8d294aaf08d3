#pragma once
// The text export's options dialog: empty lines, the DOS code page (or the file's other code
// page), frames and their characters, page breaks and the two scales. Whichever button closes
// it, the settings are read back into the filter.
#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TrpTextExport;

class TrpTXTExportForm : public QDialog {
public:
    // Its texts come from the filter's run context.
    explicit TrpTXTExportForm(const TrpTextExport& filter, QWidget* parent = nullptr);

    // Fills the controls from the filter's settings, and reads them back.
    void Load(const TrpTextExport& filter);
    void Store(TrpTextExport& filter) const;

    QCheckBox* CB1;   // kill empty lines
    QCheckBox* CB2;   // convert to DOS
    QComboBox* CBCodePage;   // the code page without CB2: UTF-8 or Windows-1251
    QCheckBox* CB3;   // export frames
    QCheckBox* CB4;   // box-drawing frames, only with CB3
    QCheckBox* CB5;   // page breaks
    QLabel* Label1;
    QLineEdit* E1;    // scale X
    QLineEdit* E2;    // scale Y
    QPushButton* OK;
    QPushButton* Cancel;

protected:
    void reject() override;

private:
    void CB3Click();
};

// Runs the dialog for the filter and returns its modal result; the settings are stored in any case.
int ShowTextExportOptions(TrpTextExport& filter);
