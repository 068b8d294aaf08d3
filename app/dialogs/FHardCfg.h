#pragma once
// The hardware configuration "Конфигурация": the numbers of silo blocks, local blocks,
// suspensions per block and sensors per suspension, and where the air-temperature sensor is.
// On "Сохранить" the hardware tree is replaced as a whole by one of the new counts; the old
// tree's readings, cards and calibration go with it (the board's rebuild reads them back from
// the layout and data files).
#include <QDialog>

#include <memory>

class IniFile;
class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class QTabWidget;
class THardConfig;
class TKeptPlacement;
struct Parameters;

class TfmHardCfg : public QDialog {
public:
    TfmHardCfg(Parameters& settings, std::unique_ptr<THardConfig>& hardConfig, IniFile* placement,
               QWidget* parent = nullptr);
    ~TfmHardCfg() override;

    QTabWidget* PageControl1 = nullptr;
    QSpinBox* edSilBinCount = nullptr;   // 1 .. 32
    QSpinBox* edBinCount = nullptr;      // 1 .. 256
    QSpinBox* edDevCount = nullptr;      // 1 .. 12
    QSpinBox* edTITCount = nullptr;      // 1 .. 6
    QWidget* taAir = nullptr;
    QCheckBox* chUseAirTemp = nullptr;
    QComboBox* cbAirMB = nullptr;
    QComboBox* cbAirDev = nullptr;
    QComboBox* cbAirTIT = nullptr;
    QPushButton* btnOk = nullptr;
    QPushButton* btnCancel = nullptr;

    // The air sensor's position as chosen, indices from 0; -1: none.
    int AirMB() const { return FAirMB; }
    int AirSilos() const { return FAirSilos; }
    int AirTIT() const { return FAirTIT; }

    void done(int result) override;

private:
    void FormShow();
    void PageControl1Change();
    void chUseAirTempClick();
    void FormClose();

    Parameters& Settings;
    std::unique_ptr<THardConfig>& HardConfig;
    int FAirMB = -1;
    int FAirSilos = -1;
    int FAirTIT = -1;
    std::unique_ptr<TKeptPlacement> placement_;
};
