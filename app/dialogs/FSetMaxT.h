#pragma once
// The set-points and colours "Параметры уставок": the highest allowed temperature and three
// set-points with their colours, the texts and colours of an open line and a short circuit, and
// the rate-of-change check. Filled from the settings; written back only on "Сохранить".
#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TColorPickerButton;
struct Parameters;

class TfmSetMaxT : public QDialog {
public:
    TfmSetMaxT(Parameters& settings, QWidget* parent = nullptr);

    QSpinBox* edMaxT = nullptr;
    TColorPickerButton* cpMaxT = nullptr;
    QSpinBox* edCheckT1 = nullptr;
    TColorPickerButton* cpCheckT1 = nullptr;
    QSpinBox* edCheckT2 = nullptr;
    TColorPickerButton* cpCheckT2 = nullptr;
    QSpinBox* edCheckT3 = nullptr;
    TColorPickerButton* cpCheckT3 = nullptr;
    QLineEdit* edBrake = nullptr;
    TColorPickerButton* cpColorX = nullptr;
    QLineEdit* edKz = nullptr;
    TColorPickerButton* cpColorKz = nullptr;
    QCheckBox* chUseSpeed = nullptr;
    QDoubleSpinBox* edCheckSpeed = nullptr;
    TColorPickerButton* cpColorSpeed = nullptr;
    QPushButton* btnOk = nullptr;       // "Сохранить"
    QPushButton* btnCancel = nullptr;

    void done(int result) override;

private:
    void FormClose();

    Parameters& Settings;
};
