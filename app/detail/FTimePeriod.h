#pragma once
// The averaging-period dialog: minutes over which the history's points are averaged (0: none).
// Filled from `Settings` when created; `Settings.AveragePeriod` changes only when closed with OK.
#include "app/settings/KeptPlacement.h"

#include <QDialog>

#include <optional>

class IniFile;
struct Parameters;
class QDialogButtonBox;
class QSpinBox;

class TfmTimePeriod : public QDialog {
public:
    // record: the settings the dialog shows and stores into; settings: where the dialog keeps its
    // placement (nullptr: nowhere).
    explicit TfmTimePeriod(Parameters& record, IniFile* settings = nullptr, QWidget* owner = nullptr);

    QSpinBox* edAvarage = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    void done(int result) override;

private:
    Parameters& Settings;
    std::optional<TKeptPlacement> FPlacement;
};

// The action "Период усреднения": true when a period was stored (the caller then rebuilds the
// averaged points).
bool ShowTimePeriodDialog(Parameters& record, IniFile* settings, QWidget* owner);
