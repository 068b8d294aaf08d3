#pragma once
// The sensor calibration "Корректировка температур": one row per row of the sensor detail list
// (the top sensor first) with the sensor's correction in degrees and its type, R0 of 50 or 53
// ohms with the conversion coefficient that goes with it. On "Сохранить" every sensor shown
// takes its row's values, which installs it; "Применить ко всем выбранным силосам" then copies
// them, sensor by sensor, to every selected suspension of the board.
#include <QDialog>

#include <memory>
#include <vector>

class IniFile;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QGridLayout;
class TDetalModel;
class TKeptPlacement;
class TSilos;
class TTIT;

class TfmDetalTIT : public QDialog {
public:
    explicit TfmDetalTIT(IniFile* placement, QWidget* parent = nullptr);
    ~TfmDetalTIT() override;

    // One editing row per row of the detail list that shows a sensor, in its order.
    void Setup(const TDetalModel& detail);

    // The rows' controls, in the list's order.
    std::vector<QDoubleSpinBox*> Corrections;
    std::vector<QComboBox*> R0Lists;            // "50 Ом", "53 Ом"
    std::vector<QLabel*> Coefficients;
    QCheckBox* chAllDev = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // The suspension whose sensors are shown (the last row's).
    TSilos* Silos() const { return FSilos; }

    void done(int result) override;

private:
    void AddRow(TTIT& sensor);
    void R0Change(size_t row);
    void FormClose();

    QGridLayout* rows_ = nullptr;   // the headers, then one row per sensor
    std::vector<TTIT*> FSensors;
    TSilos* FSilos = nullptr;
    std::unique_ptr<TKeptPlacement> placement_;
};

// Every selected suspension among the given ones takes the calibration of the shown suspension's
// sensors, sensor by sensor of the same index (as far as it has them).
void ApplyCalibrationToSelected(const TSilos& shown, const std::vector<TSilos*>& suspensions);
