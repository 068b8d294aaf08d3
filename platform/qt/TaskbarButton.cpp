#include "platform/qt/TaskbarButton.h"

#include "platform/qt/OverlayIcon.h"

#include <utility>

TaskbarButton::TaskbarButton(QIcon baseIcon, IconSink showIcon, MessageSink send, QString desktopId)
    : baseIcon(std::move(baseIcon)), showIcon(std::move(showIcon)), send(std::move(send)),
      desktopId(std::move(desktopId))
{
}

void TaskbarButton::SetProgressState(TaskbarProgressState state)
{
    progressState = state;
    launcher.ProgressVisible = state != TaskbarProgressState::None;
    // The launcher signal knows no busy state: an empty bar stands for it.
    if (state != TaskbarProgressState::Normal)
        launcher.Progress = 0;
    SendLauncherState();
}

void TaskbarButton::SetProgressValue(int64_t done, int64_t total)
{
    progressState = TaskbarProgressState::Normal;
    launcher.ProgressVisible = true;
    // A zero or negative total (nothing to do yet) shows an empty bar, never a division by zero.
    launcher.Progress = total > 0 && done > 0
        ? (done >= total ? 1.0 : static_cast<double>(done) / static_cast<double>(total))
        : 0.0;
    SendLauncherState();
}

void TaskbarButton::SetOverlayIcon(const QIcon& overlay, const QString& description)
{
    if (showIcon)
        showIcon(ComposeOverlayIcon(baseIcon, overlay), overlay.isNull() ? QString() : description);
}

void TaskbarButton::SetUrgent(bool urgent)
{
    if (launcher.Urgent == urgent)
        return;
    launcher.Urgent = urgent;
    SendLauncherState();
}

void TaskbarButton::SendLauncherState()
{
    if (send)
        send(BuildLauncherEntryUpdate(desktopId, launcher));
}
