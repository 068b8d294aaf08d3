#pragma once
// "Цвета печати": the seven fill colours of temperature cells in a colour-printed report. Filled
// from the settings; written back only by "Сохранить".
#include <QDialog>

class QPushButton;
class TColorPickerButton;
struct Parameters;

class TfmPrintColor : public QDialog {
public:
    explicit TfmPrintColor(Parameters& settings, QWidget* parent = nullptr);

    TColorPickerButton* cpMaxT = nullptr;
    TColorPickerButton* cpCheckT1 = nullptr;
    TColorPickerButton* cpCheckT2 = nullptr;
    TColorPickerButton* cpCheckT3 = nullptr;
    TColorPickerButton* cpColorX = nullptr;
    TColorPickerButton* cpColorKz = nullptr;
    TColorPickerButton* cpColorSpeed = nullptr;
    QPushButton* btnOk = nullptr;   // "Сохранить"

    void done(int result) override;

private:
    Parameters& Settings;
};
