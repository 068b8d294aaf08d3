#pragma once
// "Используемое оборудование": how the program polls (live polling of the silos' controllers,
// with its pauses, time-outs and requests per sensor, or reading the archive of the
// data-collecting controller), and the servicing of that controller: its address, its clock,
// clearing its archive, its parameters. The polling settings are copied from `Settings` by the
// opener and written back only on "Сохранить"; the controller commands go to the line at once,
// on the main thread, whatever the dialog's result.
#include "app/main/ActionList.h"
#include "core/Parameters.h"

#include <QDialog>

#include <array>

class TCommPort;

class QAction;
class QDateEdit;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;
class TFlatPageControl;
class QTimeEdit;
class QToolButton;

class TfmControllers : public QDialog {
public:
    explicit TfmControllers(QWidget* owner = nullptr);

    // The page control: page 0 live polling, page 1 the data-collecting controller. Page 1 has
    // no button of its own: it shows only when the dialog opens on it.
    TFlatPageControl* pcInDevice = nullptr;
    QWidget* tsSilosControllers = nullptr;
    QWidget* tsDataCollector = nullptr;

    // Page 0.
    QSpinBox* edCount = nullptr;
    QSpinBox* edPauseOn = nullptr;
    QSpinBox* edPauseOff = nullptr;
    QSpinBox* edPauseGetData = nullptr;
    QSpinBox* edTOSelect = nullptr;
    QSpinBox* edTOGetData = nullptr;

    // Page 1: clock, address, archive.
    QDateEdit* edDate = nullptr;
    QTimeEdit* edTime = nullptr;
    QPushButton* btGetTime = nullptr;
    QPushButton* btSetTime = nullptr;
    QSpinBox* edAddr = nullptr;
    QPushButton* btGetAddr = nullptr;
    QPushButton* btSetAddr = nullptr;
    QPushButton* btClearArchive = nullptr;
    QSpinBox* edClrTO = nullptr;
    QSpinBox* edMaxGet = nullptr;

    // Page 1: the controller's parameters.
    QSpinBox* ed332_1 = nullptr;
    QSpinBox* ed332_2 = nullptr;
    QSpinBox* ed300 = nullptr;
    QSpinBox* ed301 = nullptr;
    QSpinBox* ed302 = nullptr;
    QSpinBox* ed303 = nullptr;
    QSpinBox* ed304_1 = nullptr;
    QSpinBox* ed304_2 = nullptr;
    QDoubleSpinBox* edK = nullptr;
    std::array<QSpinBox*, 6> ed305{};   // ed305_1 .. ed305_6
    QAction* acRead = nullptr;
    QAction* acWrite = nullptr;
    QToolButton* btRead = nullptr;
    QToolButton* btWrite = nullptr;
    QPushButton* btWriteAll = nullptr;
    QPushButton* btReadAll = nullptr;

    QPushButton* btSave = nullptr;

    // The serial port the commands use (the main window's).
    TCommPort* Port = nullptr;

    // The opener's part: the page and every polling control from the settings, and back.
    void LoadSettings(const Parameters& settings);
    void StoreSettings(Parameters& settings) const;

    // One parameter by its code (332, 300 .. 304, 3051 .. 3056) read into its controls or
    // written from them. Failures raise.
    void ReadParam(int code);
    void WriteParam(int code);
    // Every parameter in the order of the table; the first failure stops the sequence.
    void ReadAllParams();
    void WriteAllParams();

    // The code of the parameter whose control was entered last (acRead's tag); -1 for edK.
    int ParamTag() const;
    // Runs the update handlers of the single-parameter actions.
    void UpdateActions();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildSilosPage();
    QWidget* BuildCollectorPage();
    QWidget* BuildClockGroup();
    QWidget* BuildAddressGroup();
    QWidget* BuildArchiveGroup();
    QWidget* BuildParamGroup();
    QWidget* BuildCoefficientGroup();
    void InstallActions();
    void WatchEntering(QWidget* control, int code);

    // The buttons' work; an error ends it and goes to the program's error handler.
    void btGetAddrClick();
    void btSetAddrClick();
    void btGetTimeClick();
    void btSetTimeClick();
    void btClearArchiveClick();

    void ed304Change();
    void edKExit();

    TCommPort& CommandPort() const;
    uint8_t Address() const;
    uint8_t SubIndex(int code) const;

    TActionList FActions;
    bool FKUpdating = false;   // edK is being set from the fraction: leaving it searches nothing
};

// The main window's action "Используемое оборудование...": the dialog on the settings and the
// given port, shown modally; "Сохранить" writes the polling settings back.
void ShowControllers(QWidget* owner, Parameters& settings, TCommPort* port);
