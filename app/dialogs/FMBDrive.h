#pragma once
// "Управление местным блоком": switches one local block on or off by hand through the line
// commutator (address 0), with the same command the live poll uses (SwitchMBCmd), for service
// work on the line. The command is sent at once on the main thread and tried up to 15 times; the
// result line shows how the last attempt went. Nothing here ever shows a message box.
#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QSpinBox;
class TMonitor;

class TfmMBDrive : public QDialog {
public:
    // The blocks of the context's tree, switched on its line with its settings.
    explicit TfmMBDrive(TMonitor& monitor, QWidget* owner = nullptr);
    // The result line's start, by the switch state: 0 off, 1 on.
    static const std::array<QString, 2> kResultPrefixes;

    QSpinBox* edMB = nullptr;    // the block's number, counted from 1
    QPushButton* btOn = nullptr;
    QPushButton* btOff = nullptr;
    QLabel* lbResult = nullptr;

    // Each showing: the block range from the hardware tree, an empty result line.
    void FormShow();
    // FormShow, then the dialog shown modally.
    int ShowModal();
    // Sends the switch command for the block in edMB: state 1 on, 0 off.
    void SwitchLocalBlock(int state);
    // The form is as high as the result line needs.
    void FitHeight();

private:
    void SetResult(const QString& text);

    TMonitor& FMonitor;
    int FFormWidth = 0;
};
