#pragma once
// The record card of a suspension (the silo it hangs in): name, crop, crop class, load date and
// time, moisture, weight and operator. Filled from the suspension when made; "Сохранить"
// writes every field back, "Отмена" nothing.
#include <QDialog>

class QDateEdit;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class TSilos;

class TfmSilosParam : public QDialog {
public:
    // binNo: the number of the silo block the card was opened from.
    TfmSilosParam(TSilos* silos, int binNo, QWidget* owner = nullptr);

    QLineEdit* edBinNo = nullptr;       // read-only
    QLineEdit* edMBAddr = nullptr;      // read-only: block address + 1
    QLineEdit* edTURNo = nullptr;       // read-only: suspension number + 1
    QLineEdit* edSilosName = nullptr;   // enabled only in the board's edit mode
    QLineEdit* edCornName = nullptr;
    QLineEdit* edCornClass = nullptr;
    QDateEdit* edDate = nullptr;
    QTimeEdit* edTime = nullptr;
    QDoubleSpinBox* edWeight = nullptr;   // the moisture row, 0 .. 100 %: TSilos::Weight
    QDoubleSpinBox* edWet = nullptr;      // the weight row, tonnes: TSilos::Wet
    QLineEdit* edOperName = nullptr;
    QPushButton* btnOk = nullptr;       // "Сохранить"
    QPushButton* btnCancel = nullptr;   // "Отмена"

    void done(int result) override;

private:
    void FormClose();

    TSilos* FSilos;
};
