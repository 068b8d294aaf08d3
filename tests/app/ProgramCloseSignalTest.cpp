// The program itself, asked by the system to end (a shutdown or logout, an interrupt, its
// terminal gone): it closes in order, writes its settings, leaves no socket of its instance
// behind and ends with 0.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

namespace {

QString ProgramPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../app/Tavik_zuzid"));
}

// The sockets of running instances in the runtime folder.
QStringList InstanceSockets(const QString& runtime)
{
    return QDir(QDir(runtime).filePath(QStringLiteral("Tavik_zuzid"))).entryList({QStringLiteral("*.sock")}, QDir::System);
}

} // namespace

TEST(ProgramCloseSignal, EachRequestToEndClosesTheProgramInOrder)
{
    ASSERT_TRUE(QFile::exists(ProgramPath())) << ProgramPath().toStdString();
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        QTemporaryDir root;
        const QDir dir(root.path());
        for (const char* folder : {"home", "run", "config"})
            ASSERT_TRUE(dir.mkpath(QString::fromLatin1(folder)));
        QFile::setPermissions(dir.filePath("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TAVIK_ZUZID_HOME"), dir.filePath("home"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath("run"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath("config"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // The first start without a port: the demonstration configuration, then the offer of a
        // backup waits for an answer.
        program.start(ProgramPath(), {QStringLiteral("no_com")});
        ASSERT_TRUE(program.waitForStarted(10000));
        QElapsedTimer up;
        up.start();
        while (InstanceSockets(dir.filePath("run")).isEmpty() && up.elapsed() < 30000)
            QThread::msleep(20);
        ASSERT_EQ(InstanceSockets(dir.filePath("run")).size(), 1) << "the program never came up";
        QThread::msleep(300);

        ASSERT_EQ(kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        QFile settings(dir.filePath("home/Tavik_zuzid.INI"));
        ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
        // The main window's own section is written at closing only.
        EXPECT_TRUE(settings.readAll().contains("[TfmMain]"));
        EXPECT_TRUE(InstanceSockets(dir.filePath("run")).isEmpty());
    }
}
