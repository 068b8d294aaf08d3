#pragma once
// The averaging-period dialog: minutes over which the history's points are averaged (0: none).
// Filled from `Settings` when created; `Settings.AveragePeriod` changes only when closed with OK.
#include <QDialog>

class QDialogButtonBox;
class QSpinBox;

class TfmTimePeriod : public QDialog {
public:
    explicit TfmTimePeriod(QWidget* owner = nullptr);

    QSpinBox* edAvarage = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    void done(int result) override;
};

// The action "Период усреднения": true when a period was stored (the caller then rebuilds the
// averaged points).
bool ShowTimePeriodDialog(QWidget* owner);
