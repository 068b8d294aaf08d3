#pragma once
// The averaging-period dialog: minutes over which the history's points are averaged (0: none).
// Filled from `Settings` when created; `Settings.AveragePeriod` changes only when closed with OK.
#include "app/settings/KeptPlacement.h"

#include <QDialog>

#include <optional>

class IniFile;
class QDialogButtonBox;
class QSpinBox;

class TfmTimePeriod : public QDialog {
public:
    // settings: where the dialog keeps its placement (nullptr: nowhere).
    explicit TfmTimePeriod(IniFile* settings = nullptr, QWidget* owner = nullptr);

    QSpinBox* edAvarage = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    void done(int result) override;

private:
    std::optional<TKeptPlacement> FPlacement;
};

// The action "Период усреднения": true when a period was stored (the caller then rebuilds the
// averaged points).
bool ShowTimePeriodDialog(IniFile* settings, QWidget* owner);
