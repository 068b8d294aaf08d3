#pragma once
// The notification settings: which of the nine alarm conditions raise the taskbar overlay and
// at which level, which of them switch the alarm relay, and for how long the relay stays on.
// Filled from `Settings` when created; `Settings` changes only when closed with "Сохранить".
#include "core/Parameters.h"

#include <QDialog>
#include <QIcon>

#include <array>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

class TfmOverlay : public QDialog {
public:
    // Shows the notification settings of the record and stores into it on OK.
    explicit TfmOverlay(Parameters& settings, QWidget* owner = nullptr);

    // The controls, by condition index from 0 where there is one per condition.
    QTabWidget* pg1 = nullptr;
    QWidget* tsOverlay = nullptr;
    QWidget* tsRele = nullptr;
    std::array<QCheckBox*, kAlarmConditionCount> EnableBoxes{};     // chk1 .. chk9
    std::array<QToolButton*, kAlarmConditionCount> LevelButtons{};  // bt3, bt2, bt4 .. bt10
    std::array<QCheckBox*, kAlarmConditionCount> RelayBoxes{};      // ch1 .. ch9
    QMenu* pm1 = nullptr;
    QSpinBox* edReleDelay = nullptr;
    QPushButton* bt1 = nullptr;
    std::array<QIcon, 3> iml1;   // the level glyphs: green, yellow, red

    // The working copy's level of condition index becomes level; its button shows the glyph.
    void SetConditionIcon(size_t index, int32_t level);
    void SetRelayDuration(int seconds);
    int GetRelayDuration() const;
    bool IsRelayChecked(size_t index) const;
    // The working copy of condition index (from 0).
    const TAlarmSetting& Alarm(size_t index) const { return FAlarms[index]; }

    // Closing: only "Сохранить" writes the dialog's values into `Settings`.
    void done(int result) override;

private:
    void BuildOverlayPage();
    void BuildRelayPage();
    void FormCreate();
    void chk1Click(size_t index, bool checked);
    void PopUpLevelMenu(QToolButton* button);
    void N71Click(int level);
    void FormClose();

    Parameters& Settings;
    std::array<TAlarmSetting, kAlarmConditionCount> FAlarms{};
    QToolButton* FPopupButton = nullptr;   // the level button whose menu is open
};

// The main window's action "Настройка уведоилений": a new dialog owned by owner, shown modally.
void ShowOverlaySettings(Parameters& settings, QWidget* owner);
