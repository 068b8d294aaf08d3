#pragma once
// The program's taskbar button as the poll passes show on it: busy or measured progress while a
// pass runs, and an overlay for the worst notification level when it ends (0 green "OK",
// 1 yellow "Warning", 2 red "Error"; any other level, 3 by custom, removes it).
//
// The main window owns one for its button and calls it on the GUI thread (the passes report
// through queued signals). Without a button the calls do nothing, and a desktop that shows none
// of it is no error.
#include "platform/qt/TaskbarButton.h"

#include <QIcon>
#include <QString>

#include <cstdint>
#include <memory>

class TTaskbarList {
public:
    explicit TTaskbarList(std::unique_ptr<TaskbarButton> button = nullptr);

    void TaskbarProgressBusy();
    void TaskbarProgressOff();
    void TaskbarProgressValue(int32_t done, int32_t total);
    // The level's overlay, set again even when it has not changed; removing it when there is
    // none does nothing.
    void SetOverlayState(uint8_t level);

private:
    std::unique_ptr<TaskbarButton> CachedTaskbarList;
    QString OverlayText;   // the description shown now; empty: no overlay
};

// The mark and the description of an overlay level (0, 1 or 2); a null icon and an empty text
// for any other level. The notification dialog shows the same marks.
QIcon OverlayStateIcon(int level);
QString OverlayStateText(int level);
