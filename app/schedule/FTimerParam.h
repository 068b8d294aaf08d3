#pragma once
// The schedule window "Установка расписания": it keeps the schedule plan for the whole run,
// loads it from and saves it to the settings file, and owns the schedule thread. While the
// window is shown the thread is stopped, so that no poll starts and the plan does not change
// under the operator's hands; after it closes exactly one thread runs on the plan.
#include "app/schedule/PlanModel.h"
#include "app/schedule/SchedulePlan.h"
#include "app/schedule/TimerTh.h"
#include "platform/posix/IniFile.h"

#include <QDialog>

#include <memory>
#include <string>

class QDateEdit;
class QGroupBox;
class QListView;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimeEdit;

class TfmTimerParam : public QDialog {
public:
    // settingsFile: the program's settings file; mainWindow: where the thread posts
    // WM_SCHEDULED_EXCHANGE; clock: the local date-time (tests set their own); log: where the
    // polls that fall due and the failures to keep the plan are logged.
    TfmTimerParam(std::string settingsFile, QObject* mainWindow, TTimerTh::TClock clock = Now,
                  ExchangeLogSink log = {});
    // Stops the thread, then saves the plan.
    ~TfmTimerParam() override;

    QListView* vtPlan = nullptr;
    QGroupBox* GroupBox1 = nullptr;     // "Полный опрос"
    QTabWidget* pcTime = nullptr;
    QWidget* tsDateTime = nullptr;      // "Каждый день"
    QWidget* tsPeriod = nullptr;        // "Периодически"
    QWidget* TabSheet1 = nullptr;       // "Один раз"
    QTimeEdit* edEveryDay = nullptr;
    QSpinBox* edPeriod = nullptr;       // minutes, 1 to 1440
    QDateEdit* edDay = nullptr;
    QTimeEdit* edTime = nullptr;
    QPushButton* btAdd = nullptr;       // "Добавить"
    QPushButton* btSave = nullptr;      // "Сохранить"
    QPushButton* btCancel = nullptr;    // "Отмена"

    // Rebuilds the plan from the section "Расписание" and starts the thread anew.
    void LoadPlan(const IniFile& ini);
    void LoadPlan() { LoadPlan(FormStorage1); }
    // Writes the plan into the section "Расписание"; throws EIniFileError when it cannot.
    void SavePlan(IniFile& ini);
    // Stops the thread, if one runs, and waits for it.
    void StopTimer();
    // The status bar's text of the next scheduled poll.
    QString GetNextPollText() const;

    // The main window's action "Расписание автоматичекого полного опроса...": shows the
    // window modally; "Сохранить" keeps the edits, any other way out brings back the saved plan.
    int ShowModal();

    TTimerTh* TimerTh() const { return FTimerTh.get(); }
    const TSchedulePlan& Plan() const { return FPlan; }
    IniFile& Storage() { return FormStorage1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FormShow();
    void RestorePlacement();
    void SavePlacement();
    void StartTimer();
    void btAddClick();
    void btSaveClick();
    void vtPlanKeyUp(int key);
    TPlanItem ChosenItem() const;

    IniFile FormStorage1;
    QObject* FMainWindow;
    TTimerTh::TClock FClock;
    ExchangeLogSink FLog;
    TSchedulePlan FPlan;
    TPlanModel* FModel = nullptr;
    std::unique_ptr<TTimerTh> FTimerTh;
    bool FPlanLoaded = false;   // the plan came from the file (else saving would erase it)
};
