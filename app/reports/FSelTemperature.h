#pragma once
// "Диапазон температур": the temperatures the protocol keeps, whole degrees from 0 to 100. The
// dialog keeps its place in the settings file.
#include <QDialog>

#include <memory>
#include <optional>

class IniFile;
class QPushButton;
class QSpinBox;
class TKeptPlacement;

class TfmSelTemperature : public QDialog {
public:
    explicit TfmSelTemperature(IniFile* placement, QWidget* parent = nullptr);
    ~TfmSelTemperature() override;

    QSpinBox* edMin = nullptr;
    QSpinBox* edMax = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

private:
    std::unique_ptr<TKeptPlacement> placement_;
};

// The range chosen (minimum, maximum), or none when the dialog was cancelled.
std::optional<std::pair<int, int>> AskTemperatureRange(IniFile* placement, QWidget* parent);
