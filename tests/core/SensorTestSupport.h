#pragma once
// What the sensor and tree tests share: the test's own settings, the program's folder in a
// temporary place (the "speed" log lands there), reading rules with a fixed resistance formula
// instead of the calculation procedure, and the log lines posted to them during the test.
#include "base/DateTime.h"
#include "comm/ExchangeLog.h"
#include "core/Device/ReadingRules.h"
#include "core/Parameters.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

class SensorTest : public ::testing::Test {
protected:
    SensorTest() : savedHome_(qgetenv("TAVIK_ZUZID_HOME"))
    {
        qputenv("TAVIK_ZUZID_HOME", folder_.path().toUtf8());
    }

    ~SensorTest() override
    {
        if (savedHome_.isNull())
            qunsetenv("TAVIK_ZUZID_HOME");
        else
            qputenv("TAVIK_ZUZID_HOME", savedHome_);
    }

    // Readings follow Settings; resistance = U1 / 10 ohms, so a test chooses its resistance
    // through the first word; log lines are kept for Log().
    TReadingRules Rules()
    {
        return {Settings, [](const TRawWords& w) { return w.U1 / 10.0; }, LogSink()};
    }
    ExchangeLogSink LogSink()
    {
        return [this](const std::string& text, TColor colour) {
            std::lock_guard guard(logLock_);
            log_.emplace_back(text, colour);
        };
    }

    std::vector<std::pair<std::string, TColor>> Log()
    {
        std::lock_guard guard(logLock_);
        return log_;
    }

    // The lines of "speed.log" without their time stamps.
    QStringList SpeedLog() const
    {
        QFile file(folder_.filePath(QStringLiteral("speed.log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            lines << line.section(QStringLiteral(" : "), 1);
        return lines;
    }

    // The eight data octets of a reading whose first word is u1 (little-endian words).
    static std::vector<uint8_t> Raw(int16_t u1, int16_t u2 = 0, int16_t u3 = 0, int16_t u4 = 0)
    {
        std::vector<uint8_t> raw;
        for (int16_t w : {u1, u2, u3, u4}) {
            raw.push_back(static_cast<uint8_t>(static_cast<uint16_t>(w) & 0xFF));
            raw.push_back(static_cast<uint8_t>(static_cast<uint16_t>(w) >> 8));
        }
        return raw;
    }

    Parameters Settings;

private:
    QByteArray savedHome_;
    QTemporaryDir folder_;
    std::mutex logLock_;
    std::vector<std::pair<std::string, TColor>> log_;
};
