#pragma once
// A serial line with the data-collecting controller on it, for the controller commands: the
// program's port on one side of a pseudo-terminal, the simulated line on the other, and the log
// lines the commands post.
#include "base/HexText.h"
#include "comm/ExchangeLog.h"
#include "comm/FT3Share.h"
#include "comm/FT3TestUtil.h"
#include "comm/SimulatedPort.h"
#include "tools/ft3sim/DataCollector.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

struct LogLine {
    std::string text;
    TColor colour;
    bool operator==(const LogLine&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const LogLine& line)
{
    return out << '{' << '"' << line.text << "\", " << line.colour << '}';
}

inline LogLine Plain(const std::string& text) { return {text, kLogPlain}; }
inline LogLine Blue(const std::string& text) { return {text, kLogSent}; }
inline LogLine Sent(const DynByteArray& frame) { return Blue("<- " + BytesToHex(frame)); }
inline LogLine Received(const DynByteArray& userData) { return Blue("-> " + BytesToHex(userData)); }

// A controller that answers every request to its address with the same user data.
class CannedController : public ft3sim::Device {
public:
    CannedController(uint8_t address, DynByteArray reply) : address_(address), reply_(std::move(reply)) {}
    bool Accepts(uint8_t address) const override { return address == address_; }
    std::optional<DynByteArray> Answer(const ft3sim::Request&) override { return reply_; }

private:
    uint8_t address_;
    DynByteArray reply_;
};

class ControllerLine : public ::testing::Test {
protected:
    static constexpr int kPortNumber = 6;
    static constexpr uint8_t kCollectorAddress = 7;

    // The commands run on the port post their lines to its log sink.
    ControllerLine()
    {
        port.SetLogSink([this](const std::string& text, TColor colour) {
            std::lock_guard hold(logMutex);
            log.push_back({text, colour});
        });
    }

    void SetUp() override
    {
        sim.AddDevice(collector);
        sim.Start();
        // Every command waits a second for its reply and searches for it again and again
        // meanwhile, so quick reads give an answering controller time enough and keep the
        // cases without an answer short.
        ASSERT_NO_FATAL_FAILURE(OpenOnSimulatedLine(port, home, sim, kPortNumber, QuickTimeOuts()));
    }

    std::vector<LogLine> Log() const
    {
        std::lock_guard hold(logMutex);
        return log;
    }
    void ClearLog()
    {
        std::lock_guard hold(logMutex);
        log.clear();
    }

    // The requests the line received (their user data), in order.
    std::vector<DynByteArray> Requests() const
    {
        std::vector<DynByteArray> requests;
        for (const auto& exchange : sim.Exchanges())
            requests.push_back(exchange.userData);
        return requests;
    }
    DynByteArray LastFrame() const { return sim.Exchanges().back().request; }
    DynByteArray LastReply() const
    {
        DynByteArray reply = sim.Exchanges().back().reply;
        ExtractPackageFT31(reply);
        return reply;
    }

    PortHome home;
    ft3sim::Simulator sim;
    std::shared_ptr<ft3sim::DataCollector> collector = std::make_shared<ft3sim::DataCollector>(kCollectorAddress);
    TCommPort port;

    mutable std::mutex logMutex;
    std::vector<LogLine> log;
};
