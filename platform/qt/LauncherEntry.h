#pragma once
// Progress and urgency of the program's launcher (dock or taskbar entry) through the desktop's
// launcher-entry signal: "Update" of com.canonical.Unity.LauncherEntry on the session bus,
// which docks and taskbars of several desktops listen for. Where none listens, or there is no
// session bus at all, nothing happens and nothing fails.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

struct LauncherEntryState {
    bool ProgressVisible = false;
    double Progress = 0;   // 0 to 1
    bool Urgent = false;
};

// The desktop entry the launcher is known by: the application's desktop file name when set,
// else its application name (without ".desktop").
QString DefaultDesktopId();

// "application://<desktopId>.desktop", the form listeners match their entries by.
QString LauncherEntryAppUri(const QString& desktopId);

// The "Update" signal carrying the whole state (progress, progress-visible, urgent).
// Built without a bus, so it can be checked on its own.
QDBusMessage BuildLauncherEntryUpdate(const QString& desktopId, const LauncherEntryState& state);

// Sends a message on the given connection; false when it is not connected.
bool SendLauncherEntry(const QDBusConnection& bus, const QDBusMessage& message);

// Sends a message on the session bus when the session has one. A session without a bus
// (no address and no socket in the runtime folder) is left alone: no bus is started for it.
bool SendOnSessionBus(const QDBusMessage& message);
