#pragma once
// The display-precision dialog: decimals of the temperatures (0 to 3) or half-degree rounding.
// Filled from `Settings` when created; `Settings.Precision` changes only when closed with OK.
#include "app/settings/KeptPlacement.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class IniFile;
struct Parameters;
class QDialogButtonBox;
class QSpinBox;

class TfmPrecision : public QDialog {
public:
    // The precision value that stands for half-degree rounding.
    static constexpr int kHalfDegree = 5;

    // record: the settings the dialog shows and stores into; settings: where the dialog keeps its
    // placement (nullptr: nowhere).
    explicit TfmPrecision(Parameters& record, IniFile* settings = nullptr, QWidget* owner = nullptr);

    QSpinBox* edPrecision = nullptr;
    QCheckBox* chPrecission05 = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    // The precision the dialog stands for now.
    int Precision() const;

    void done(int result) override;

private:
    Parameters& Settings;
    std::optional<TKeptPlacement> FPlacement;
    void chPrecission05Click();
};

// The action "Отображение температур...": true when the precision was stored.
bool ShowPrecisionDialog(Parameters& record, IniFile* settings, QWidget* owner);
