#pragma once
// The silo-block settings dialog: the block's number, name, table size, column width and band
// height. The frame fills it and takes the values back on "Применить".
#include <QDialog>

class QLineEdit;
class QPushButton;
class QSpinBox;

class TfmSiloBinParam : public QDialog {
public:
    explicit TfmSiloBinParam(QWidget* owner);

    QSpinBox* edBinNo = nullptr;      // 1 .. 255
    QLineEdit* edName = nullptr;
    QSpinBox* edRow = nullptr;        // 1 .. 255
    QSpinBox* edCol = nullptr;        // 1 .. 255
    QSpinBox* edColWidth = nullptr;   // 50 .. 1024
    QSpinBox* edHeigthTD = nullptr;   // 4 .. 32
    QPushButton* btnOk = nullptr;     // "Применить"
    QPushButton* btnCancel = nullptr; // "Отмена"
};
