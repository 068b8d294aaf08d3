#pragma once
// A fresh program folder, runtime folder and user config folder for each test, so that tests
// running side by side never share settings files, hear each other's instances, or touch the
// user's own autostart entries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

class TAppFolders {
public:
    TAppFolders()
    {
        SaveEnv("TAVIK_ZUZID_HOME", savedHome, hadHome);
        SaveEnv("XDG_RUNTIME_DIR", savedRuntime, hadRuntime);
        SaveEnv("XDG_CONFIG_HOME", savedConfig, hadConfig);
        qputenv("XDG_CONFIG_HOME", QDir(dir.path()).filePath("config").toUtf8());
        qputenv("TAVIK_ZUZID_HOME", QDir(dir.path()).filePath("home").toUtf8());
        qputenv("XDG_RUNTIME_DIR", QDir(dir.path()).filePath("run").toUtf8());
        QDir().mkpath(QDir(dir.path()).filePath("home"));
        QDir().mkpath(QDir(dir.path()).filePath("run"));
        QApplication::setQuitOnLastWindowClosed(false);
    }
    ~TAppFolders()
    {
        RestoreEnv("TAVIK_ZUZID_HOME", savedHome, hadHome);
        RestoreEnv("XDG_RUNTIME_DIR", savedRuntime, hadRuntime);
        RestoreEnv("XDG_CONFIG_HOME", savedConfig, hadConfig);
    }
    QString Home() const { return QDir(dir.path()).filePath("home"); }
    QString HomeFile(const QString& name) const { return QDir(Home()).filePath(name); }
    QString SettingsFile() const { return HomeFile("Tavik_zuzid.INI"); }
    QString ConfigHome() const { return QDir(dir.path()).filePath("config"); }

private:
    static void SaveEnv(const char* name, QByteArray& saved, bool& had)
    {
        had = qEnvironmentVariableIsSet(name);
        saved = qgetenv(name);
    }
    static void RestoreEnv(const char* name, const QByteArray& saved, bool had)
    {
        if (had)
            qputenv(name, saved);
        else
            qunsetenv(name);
    }

    QTemporaryDir dir;
    QByteArray savedHome, savedRuntime, savedConfig;
    bool hadHome = false, hadRuntime = false, hadConfig = false;
};
