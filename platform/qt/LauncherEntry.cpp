#include "platform/qt/LauncherEntry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QVariantMap>

#include <algorithm>

namespace {

const QString kInterface = QStringLiteral("com.canonical.Unity.LauncherEntry");
const QString kPathPrefix = QStringLiteral("/com/canonical/unity/launcherentry/");

// An object path element allows only letters, digits and "_".
QString PathElement(const QString& text)
{
    QString element;
    for (QChar c : text)
        element += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'_' ? c : QChar(u'_');
    return element.isEmpty() ? QStringLiteral("_") : element;
}

bool SessionHasBus()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

QString DefaultDesktopId()
{
    QString id = QGuiApplication::desktopFileName();
    if (id.isEmpty())
        id = QCoreApplication::applicationName();
    if (id.endsWith(QStringLiteral(".desktop")))
        id.chop(8);
    return id;
}

QString LauncherEntryAppUri(const QString& desktopId)
{
    return QStringLiteral("application://%1.desktop").arg(desktopId);
}

QDBusMessage BuildLauncherEntryUpdate(const QString& desktopId, const LauncherEntryState& state)
{
    QDBusMessage message = QDBusMessage::createSignal(
        kPathPrefix + PathElement(desktopId), kInterface, QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), std::clamp(state.Progress, 0.0, 1.0));
    properties.insert(QStringLiteral("progress-visible"), state.ProgressVisible);
    properties.insert(QStringLiteral("urgent"), state.Urgent);
    message << LauncherEntryAppUri(desktopId) << properties;
    return message;
}

bool SendLauncherEntry(const QDBusConnection& bus, const QDBusMessage& message)
{
    return bus.isConnected() && bus.send(message);
}

bool SendOnSessionBus(const QDBusMessage& message)
{
    if (!SessionHasBus())
        return false;
    return SendLauncherEntry(QDBusConnection::sessionBus(), message);
}
