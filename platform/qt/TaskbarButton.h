#pragma once
// The program's taskbar button: a progress indication and an overlay icon with its
// description, as the Windows taskbar list offers them. The overlay is painted onto the window's
// icon; progress and urgency go out as launcher-entry signals (platform/qt/LauncherEntry.h).
// Used on the GUI thread only; platform/qt/TaskbarList.h brings calls from other threads here.
#include "platform/qt/LauncherEntry.h"

#include <QDBusMessage>
#include <QIcon>
#include <QString>

#include <cstdint>
#include <functional>

enum class TaskbarProgressState {
    None,            // no progress shown
    Indeterminate,   // busy, no measure of how far
    Normal,          // done of total
};

class TaskbarButton {
public:
    // Shows the window icon (base icon with or without the overlay) and the window's
    // accessibility description of the overlay.
    using IconSink = std::function<void(const QIcon& icon, const QString& description)>;
    // Delivers a launcher-entry message (normally SendOnSessionBus).
    using MessageSink = std::function<void(const QDBusMessage&)>;

    TaskbarButton(QIcon baseIcon, IconSink showIcon, MessageSink send,
        QString desktopId = DefaultDesktopId());

    void SetProgressState(TaskbarProgressState state);
    // Done of total; switches a button without measured progress to measured progress.
    void SetProgressValue(int64_t done, int64_t total);
    // Puts the overlay on the window icon with its description; a null icon removes it.
    void SetOverlayIcon(const QIcon& overlay, const QString& description);
    // Asks the launcher to draw the person's attention (sent only when it changes).
    void SetUrgent(bool urgent);

    TaskbarProgressState ProgressState() const { return progressState; }
    const LauncherEntryState& Launcher() const { return launcher; }

private:
    void SendLauncherState();

    QIcon baseIcon;
    IconSink showIcon;
    MessageSink send;
    QString desktopId;
    TaskbarProgressState progressState = TaskbarProgressState::None;
    LauncherEntryState launcher;
};
