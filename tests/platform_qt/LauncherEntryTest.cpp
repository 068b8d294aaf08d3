#include "platform/qt/LauncherEntry.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QVariantMap>

#include <vector>

namespace {

QVariantMap PropertiesOf(const QDBusMessage& message)
{
    return message.arguments().value(1).toMap();
}

} // namespace

TEST(LauncherEntry, UpdateSignalCarriesTheAppUriAndTheWholeState)
{
    const QDBusMessage message = BuildLauncherEntryUpdate(QStringLiteral("Tavik_zuzid"), {true, 0.25, true});
    EXPECT_EQ(message.type(), QDBusMessage::SignalMessage);
    EXPECT_EQ(message.interface(), QStringLiteral("com.canonical.Unity.LauncherEntry"));
    EXPECT_EQ(message.member(), QStringLiteral("Update"));
    EXPECT_EQ(message.path(), QStringLiteral("/com/canonical/unity/launcherentry/Tavik_zuzid"));
    ASSERT_EQ(message.arguments().size(), 2);
    EXPECT_EQ(message.arguments()[0].toString(), QStringLiteral("application://Tavik_zuzid.desktop"));
    EXPECT_EQ(message.arguments()[0].typeId(), QMetaType::QString);
    EXPECT_EQ(message.arguments()[1].typeId(), QMetaType::QVariantMap);   // sent as a{sv}
    const QVariantMap properties = PropertiesOf(message);
    EXPECT_EQ(properties.size(), 3);
    EXPECT_EQ(properties.value("progress").typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(properties.value("progress").toDouble(), 0.25);
    EXPECT_EQ(properties.value("progress-visible").typeId(), QMetaType::Bool);
    EXPECT_TRUE(properties.value("progress-visible").toBool());
    EXPECT_EQ(properties.value("urgent").typeId(), QMetaType::Bool);
    EXPECT_TRUE(properties.value("urgent").toBool());
}

// Whatever the desktop id holds, the object path stays valid, and progress stays within 0..1.
TEST(LauncherEntry, PathIsValidAndProgressClampedForAnyInput)
{
    struct Case {
        QString id;
        double progress;
        double sent;
    };
    const std::vector<Case> cases{
        {QStringLiteral("org.example.Tavik-zuzid"), -0.5, 0.0},
        {QStringLiteral("Тавик зузид"), 1.5, 1.0},
        {QString(), 0.5, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id.toStdString());
        const QDBusMessage message = BuildLauncherEntryUpdate(c.id, {true, c.progress, false});
        EXPECT_TRUE(QDBusObjectPath(message.path()).path() == message.path()) << message.path().toStdString();
        EXPECT_DOUBLE_EQ(PropertiesOf(message).value("progress").toDouble(), c.sent);
        EXPECT_EQ(message.arguments()[0].toString(), LauncherEntryAppUri(c.id));
    }
}

TEST(LauncherEntry, DesktopIdComesFromTheDesktopFileNameElseTheApplicationName)
{
    const QString savedDesktop = QGuiApplication::desktopFileName();
    const QString savedName = QCoreApplication::applicationName();
    QGuiApplication::setDesktopFileName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("Tavik_zuzid"));
    EXPECT_EQ(DefaultDesktopId(), QStringLiteral("Tavik_zuzid"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.silos.desktop"));
    EXPECT_EQ(DefaultDesktopId(), QStringLiteral("org.example.silos"));
    QGuiApplication::setDesktopFileName(savedDesktop);
    QCoreApplication::setApplicationName(savedName);
}

TEST(LauncherEntry, NoBusIsNoError)
{
    const QDBusConnection bus = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/tz-no-bus"), QStringLiteral("tz-no-bus"));
    EXPECT_FALSE(SendLauncherEntry(bus, BuildLauncherEntryUpdate(QStringLiteral("x"), {})));
    QDBusConnection::disconnectFromBus(QStringLiteral("tz-no-bus"));
}

// A session with neither a bus address nor a bus socket is left alone: nothing is sent and no
// bus is started.
TEST(LauncherEntry, SessionWithoutBusSendsNothing)
{
    const QByteArray savedAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    EXPECT_FALSE(SendOnSessionBus(BuildLauncherEntryUpdate(QStringLiteral("x"), {})));
    if (!savedAddress.isNull())
        qputenv("DBUS_SESSION_BUS_ADDRESS", savedAddress);
    if (savedRuntime.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

namespace {

class UpdateListener : public QObject {
    Q_OBJECT
public:
    std::vector<QDBusMessage> received;
public slots:
    void OnUpdate(const QDBusMessage& message) { received.push_back(message); }
};

// A bus daemon of the test's own, so that nothing reaches the person's desktop.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty() || !dir.isValid())
            return;
        process.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                  QStringLiteral("--print-address=1"),
                                  QStringLiteral("--address=unix:path=") + dir.filePath("bus")});
        if (!process.waitForStarted(5000))
            return;
        QDeadlineTimer deadline(5000);
        while (!process.canReadLine() && !deadline.hasExpired())
            process.waitForReadyRead(100);
        address = QString::fromUtf8(process.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    QString address;

private:
    QTemporaryDir dir;
    QProcess process;
};

} // namespace

// The signal really travels over a bus to a listener that subscribes as docks do (any path).
TEST(LauncherEntry, ListenerOnTheBusReceivesTheUpdate)
{
    PrivateBus bus;
    if (bus.address.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not available";
    {
        QDBusConnection sender = QDBusConnection::connectToBus(bus.address, QStringLiteral("tz-sender"));
        QDBusConnection listenerBus = QDBusConnection::connectToBus(bus.address, QStringLiteral("tz-listener"));
        ASSERT_TRUE(sender.isConnected());
        ASSERT_TRUE(listenerBus.isConnected());
        UpdateListener listener;
        ASSERT_TRUE(listenerBus.connect(QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
            QStringLiteral("Update"), &listener, SLOT(OnUpdate(QDBusMessage))));

        ASSERT_TRUE(SendLauncherEntry(sender, BuildLauncherEntryUpdate(QStringLiteral("Tavik_zuzid"), {true, 0.5, false})));
        QDeadlineTimer deadline(5000);
        while (listener.received.empty() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

        ASSERT_EQ(listener.received.size(), 1u);
        const QDBusMessage& got = listener.received[0];
        EXPECT_EQ(got.arguments().value(0).toString(), QStringLiteral("application://Tavik_zuzid.desktop"));
        const QVariantMap properties = qdbus_cast<QVariantMap>(got.arguments().value(1));
        EXPECT_DOUBLE_EQ(properties.value("progress").toDouble(), 0.5);
        EXPECT_TRUE(properties.value("progress-visible").toBool());
        EXPECT_FALSE(properties.value("urgent").toBool());
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("tz-sender"));
    QDBusConnection::disconnectFromBus(QStringLiteral("tz-listener"));
}

#include "LauncherEntryTest.moc"
