#pragma once
// What the poll-pass tests share: a simulated line on a pseudo-terminal behind the test's own
// line, a private program folder, a hardware tree and settings of the test's own, a window
// stand-in that records what a pass reports through its runner, and the log lines posted.
#include "base/DateTime.h"
#include "comm/CommPort.h"
#include "comm/ExchangeLog.h"
#include "core/Device/Device.h"
#include "core/Exchange/BaseSendTH.h"
#include "core/Exchange/CommLine.h"
#include "core/Exchange/OverlayLog.h"
#include "core/Exchange/PassRunner.h"
#include "core/Parameters.h"
#include "support/PtyLine.h"
#include "tools/ft3sim/Simulator.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// The main window as a pass sees it: records the progress, the titles, the alarm levels and the
// end of the pass, all received queued as the window receives them.
class PassOwner : public QObject {
public:
    explicit PassOwner(TPassRunner& runner)
    {
        connect(&runner, &TPassRunner::Progress, this,
                [this](int position, int maximum) { progress.emplace_back(position, maximum); }, Qt::QueuedConnection);
        connect(&runner, &TPassRunner::Title, this, [this](const QString& text) { titles << text; },
                Qt::QueuedConnection);
        connect(&runner, &TPassRunner::AlarmLevel, this, [this](int level) { alarmLevels.push_back(level); },
                Qt::QueuedConnection);
        connect(&runner, &TPassRunner::Finished, this, [this] { ++doneCount; }, Qt::QueuedConnection);
    }

    // Handles posted calls until the pass has posted its end; false after `wait` without it.
    bool WaitForDone(std::chrono::milliseconds wait = std::chrono::milliseconds(10000))
    {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (doneCount == 0 && std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        QCoreApplication::processEvents();
        return doneCount > 0;
    }

    std::vector<std::pair<int, int>> progress;
    QStringList titles;
    std::vector<int> alarmLevels;
    int doneCount = 0;
};

// A clock that never waits: each wait moves it on by the time asked for. `onSleep` runs on the
// pass's thread at each wait (with the wait's length), so a test can act between two steps.
class FakePassClock {
public:
    TPassClock Clock()
    {
        return {[this] { return now.load(); },
                [this](uint32_t ms) {
                    now += ms;
                    ++sleeps;
                    if (onSleep)
                        onSleep(ms);
                }};
    }
    std::atomic<int64_t> now{1000000};
    std::atomic<int> sleeps{0};
    std::function<void(uint32_t)> onSleep;
};

struct LogLine {
    std::string text;
    TColor colour;
    bool lineFailed = false;   // posted as a failure of the line, which the window always tells
};

class PassTest : public ::testing::Test {
protected:
    static constexpr int kPortNumber = 7;

    PassTest()
    {
        Settings.PauseMBOn = 0;
        Settings.PauseMBOff = 0;
        Settings.PauseRequest = 0;
        Settings.TimeoutData = 100;
        Settings.PollRepeats = 1;
        Settings.UseCheckSpeed = false;
        Settings.NoCom = false;
        Settings.CalcProc = BuiltInCalcProc();
        // The pass's lines and those of the commands it runs on the port, as they are posted.
        const ExchangeLogSink record = [this](const std::string& text, TColor colour) {
            std::lock_guard guard(logLock_);
            log_.push_back({text, colour});
        };
        line.Port.SetLogSink(record);
        QObject::connect(&runner, &TPassRunner::LogLine, &runner,
                         [this](const QString& text, TColor colour, bool lineFailed) {
                             std::lock_guard guard(logLock_);
                             log_.push_back({text.toStdString(), colour, lineFailed});
                         },
                         Qt::DirectConnection);
        // The notification log as the application keeps it.
        QObject::connect(&runner, &TPassRunner::AlarmNote, &runner, [](const QString& text) { WriteOverlayLog(text); },
                         Qt::DirectConnection);
    }

    // Puts the simulated line behind the program's port.
    void OpenLine()
    {
        home.Link(kPortNumber, sim.SlavePath());
        sim.Start();
        OpenPort();
    }

    // Opens the program's port on whatever its link names.
    void OpenPort()
    {
        // Long enough for the simulator to answer on a loaded machine, short enough that the
        // fifteen attempts at a silent block stay quick.
        port.SetTimeOut({60, 4, 80, 1, 50});
        port.SetRsvClear(true);
        port.SetChangeCursor(false);
        port.SetNumber(kPortNumber);
        port.SetEnable(true);
        ASSERT_TRUE(port.Enable()) << port.Status();
    }

    // A tree of the given shape whose sensors are all installed as 50-ohm sensors.
    void MakeTree(int blocks, int silosPerBlock, int titPerSilos)
    {
        HardConfig = std::make_unique<THardConfig>(blocks, silosPerBlock, titPerSilos);
        for (int b = 0; b < blocks; ++b)
            for (int s = 0; s < silosPerBlock; ++s)
                for (int t = 0; t < titPerSilos; ++t)
                    Install(*Tit(b, s, t));
    }
    static void Install(TTIT& tit)
    {
        tit.SetOff(kR0Ohm50);
        tit.SetMult(kMultOhm50);
        tit.SetTk(0);
    }
    TSilos* Silos(int block, int silos) const { return HardConfig->GetMB(block)->GetSilos(silos); }
    TTIT* Tit(int block, int silos, int tit) const { return Silos(block, silos)->GetTIT(tit); }

    // Runs the pass to its end, handling what it posts.
    void Run(TBaseSendTH& pass)
    {
        pass.Start();
        ASSERT_TRUE(owner.WaitForDone()) << "the pass never posted its end";
        pass.WaitFor();
        QCoreApplication::processEvents();
    }

    std::vector<LogLine> Log()
    {
        std::lock_guard guard(logLock_);
        return log_;
    }
    std::vector<std::string> LinesIn(TColor colour)
    {
        std::vector<std::string> lines;
        for (const LogLine& line : Log())
            if (line.colour == colour)
                lines.push_back(line.text);
        return lines;
    }
    // The lines posted as failures of the line.
    std::vector<std::string> LineFailures()
    {
        std::vector<std::string> lines;
        for (const LogLine& line : Log())
            if (line.lineFailed)
                lines.push_back(line.text);
        return lines;
    }
    bool Logged(const std::string& text, TColor colour)
    {
        for (const LogLine& line : Log())
            if (line.text == text && line.colour == colour)
                return true;
        return false;
    }

    // The lines of a log file in the program's folder, without their time stamps.
    QStringList LogFileLines(const QString& name) const
    {
        QFile file(QString::fromStdString(home.LinkPath(kPortNumber).parent_path().string()) + "/" + name);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            lines << line.section(QStringLiteral(" : "), 1);
        return lines;
    }
    QString FolderPath(const QString& name) const
    {
        return QString::fromStdString((home.LinkPath(kPortNumber).parent_path() / name.toStdString()).string());
    }

    // The temperature that the built-in procedure and a 50-ohm sensor's calibration make of the
    // words, computed as the script does.
    static double TemperatureOf(const ft3sim::RawWords& w)
    {
        const double current = (static_cast<int16_t>(w[0]) - static_cast<int16_t>(w[1])) / 51.0;
        const double ohms = (static_cast<int16_t>(w[3]) - 2.0 * static_cast<int16_t>(w[2])) / current;
        return (ohms - kR0Ohm50) * kMultOhm50;
    }

    PortHome home;
    ft3sim::Simulator sim;
    Parameters Settings;
    std::unique_ptr<THardConfig> HardConfig;
    TCommLine line;
    TCommPort& port = line.Port;
    TPassRunner runner{line};
    PassOwner owner{runner};
    FakePassClock clock;

private:
    std::mutex logLock_;
    std::vector<LogLine> log_;
};
