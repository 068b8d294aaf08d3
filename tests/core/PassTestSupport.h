#pragma once
// What the poll-pass tests share: a simulated line on a pseudo-terminal behind the program's
// port, a private program folder, a hardware tree of the test's own, settings put back after
// each test, a window stand-in that records what a pass reports, and the log lines posted.
#include "base/DateTime.h"
#include "comm/CommPort.h"
#include "comm/ExchangeLog.h"
#include "core/Device/Device.h"
#include "core/Exchange/BaseSendTH.h"
#include "core/Exchange/NoComReply.h"
#include "core/Parameters.h"
#include "core/WindowMessages.h"
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

// The main window as a pass sees it: records the progress, the titles and the end of the pass.
class PassOwner : public QObject, public IOwnerEchgTH {
public:
    QObject* GetHandle() override { return this; }
    TProgressBarCallback GetProgressBar() override
    {
        return [this](int position, int maximum) { progress.emplace_back(position, maximum); };
    }
    TTitleLabelCallback GetTitleLabel() override
    {
        return [this](const QString& text) { titles << text; };
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
    int doneCount = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == WM_EXCHANGE_DONE) {
            ++doneCount;
            return true;
        }
        return QObject::event(e);
    }
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
};

class PassTest : public ::testing::Test {
protected:
    static constexpr int kPortNumber = 7;

    PassTest()
        : savedSettings_(Settings),
          savedPort_(SharedCommPort),
          savedCursor_(NoComCursor()),
          logSink_([this](const std::string& text, TColor colour) {
              std::lock_guard guard(logLock_);
              log_.push_back({text, colour});
          })
    {
        std::swap(savedTree_, HardConfig);
        Settings.PauseMBOn = 0;
        Settings.PauseMBOff = 0;
        Settings.PauseRequest = 0;
        Settings.TimeoutData = 100;
        Settings.PollRepeats = 1;
        Settings.UseCheckSpeed = false;
        Settings.NoCom = false;
        Settings.CalcProc = BuiltInCalcProc();
        SetNoComCursor(0);
    }

    ~PassTest() override
    {
        SharedCommPort = savedPort_;
        std::swap(savedTree_, HardConfig);
        Settings = savedSettings_;
        Settings.NoCom = false;
        SetNoComCursor(savedCursor_);
    }

    // Puts the simulated line behind the program's port.
    void OpenLine()
    {
        home.Link(kPortNumber, sim.SlavePath());
        sim.Start();
        // Long enough for the simulator to answer on a loaded machine, short enough that the
        // fifteen attempts at a silent block stay quick.
        port.SetTimeOut({60, 4, 80, 1, 50});
        port.SetRsvClear(true);
        port.SetChangeCursor(false);
        port.SetNumber(kPortNumber);
        port.SetEnable(true);
        ASSERT_TRUE(port.Enable()) << port.Status();
        SharedCommPort = &port;
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
    static TSilos* Silos(int block, int silos) { return HardConfig->GetMB(block)->GetSilos(silos); }
    static TTIT* Tit(int block, int silos, int tit) { return Silos(block, silos)->GetTIT(tit); }

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
    TCommPort port;
    PassOwner owner;
    FakePassClock clock;

private:
    Parameters savedSettings_;
    TCommPort* savedPort_;
    int savedCursor_;
    std::unique_ptr<THardConfig> savedTree_;
    std::mutex logLock_;
    std::vector<LogLine> log_;
    ScopedExchangeLogSink logSink_;
};
