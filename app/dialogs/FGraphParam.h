#pragma once
// The chart settings "Параметры графиков": for each of the six series (tabs "Датчик №1" ..
// "Датчик №6") its line width, colour and point marks, and the temperature scale, automatic or
// between a minimum and a maximum. The dialog edits a working copy; OK stores it in the settings.
#include "core/Parameters.h"

#include <QDialog>

#include <array>
#include <memory>

class IniFile;
class QButtonGroup;
class QCheckBox;
class QDoubleSpinBox;
class QGroupBox;
class QPushButton;
class QSpinBox;
class QTabBar;
class TColorPickerButton;
class TKeptPlacement;

class TfmGraphParam : public QDialog {
public:
    TfmGraphParam(Parameters& settings, IniFile* placement, QWidget* parent = nullptr);
    ~TfmGraphParam() override;

    QTabBar* tcSeries = nullptr;
    QSpinBox* edLine = nullptr;              // 0 .. 10
    TColorPickerButton* cpSeries = nullptr;
    QCheckBox* chPoint = nullptr;
    QGroupBox* rgPoint = nullptr;
    QButtonGroup* rgPointItems = nullptr;    // ids 0 .. 6, the point styles
    QCheckBox* AxisAutoCheck = nullptr;
    QDoubleSpinBox* AxisMinEdit = nullptr;
    QDoubleSpinBox* AxisMaxEdit = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // Minimum above maximum: the minimum takes the maximum; both 0 means automatic.
    void CheckAxis();
    const TLineStyle& Line(int series) const { return FLines[size_t(series)]; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void ShowSeries(int index);
    void StoreSeries(int index);
    void AxisAutoCheckClick(bool checked);
    void SetAxisEdits();

    Parameters& Settings;
    std::array<TLineStyle, 6> FLines{};
    double FMin = 0;
    double FMax = 0;
    int FShownTab = 0;          // the tab whose values the controls hold
    bool FSettingAxis = false;  // the edits are being set from the stored minimum and maximum
    std::unique_ptr<TKeptPlacement> placement_;
};
