// A whole live poll pass over a pseudo-terminal against the simulated line.
//
// BM_PacedPass: 16 local blocks × 12 suspensions × 6 sensors, every reply paced at 115200 baud
// (10 bits an octet) and every configured pause 0. "ratio" is the pass's time over the time all
// its request and reply octets take on such a wire: how much the program adds to the line.
//
// BM_CpuPerRequest: the largest configuration (256 × 12 × 6) against a simulator that answers
// at once; "cpu_us" is the pass thread's CPU time per sensor request (framing, the exchange,
// the calculation procedure, the sensor's mean and history), "wall_us" the pass's time per
// request. Block 225's address is the relay module's, so that block is never switched on.
#include "comm/CommPort.h"
#include "core/Device/Device.h"
#include "core/Exchange/SendTH.h"
#include "core/Parameters.h"
#include "tools/ft3sim/Simulator.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kPortNumber = 7;
constexpr int kBaud = 115200;

// The program's port on one side of a pseudo-terminal and the simulated line on the other.
class Line {
public:
    Line()
    {
        folder_ = std::filesystem::temp_directory_path() / ("tz_pass_bench_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("TAVIK_ZUZID_HOME", folder_.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        std::filesystem::create_symlink(sim.SlavePath(), folder_ / ("COM" + std::to_string(kPortNumber)));
        sim.Start();
        sim.localBlock().SetDefaultReadings(ft3sim::WordsForTemperature(15));
        TPortParametrs param;
        param.BaudRate = kBaud;
        port.SetParam(param);
        port.SetChangeCursor(false);
        port.SetNumber(kPortNumber);
        port.SetEnable(true);
        SharedCommPort = &port;
        Settings.PauseMBOn = Settings.PauseMBOff = Settings.PauseRequest = 0;
        Settings.PollRepeats = 1;
        Settings.TimeoutData = 300;
    }
    ~Line()
    {
        SharedCommPort = nullptr;
        port.SetEnable(false);
        sim.Stop();
        std::filesystem::remove_all(folder_);
    }

    ft3sim::Simulator sim;
    TCommPort port;

private:
    std::filesystem::path folder_;
};

// A window that wants nothing shown: the pass calls nothing on another thread.
class QuietOwner : public IOwnerEchgTH {
public:
    QObject* GetHandle() override { return nullptr; }
    TProgressBarCallback GetProgressBar() override { return {}; }
    TTitleLabelCallback GetTitleLabel() override { return {}; }
};

void BuildTree(int blocks)
{
    HardConfig = std::make_unique<THardConfig>(blocks, 12, 6);
    for (int b = 0; b < blocks; ++b)
        for (int s = 0; s < 12; ++s)
            for (int t = 0; t < 6; ++t) {
                TTIT& tit = *HardConfig->GetMB(b)->GetSilos(s)->GetTIT(t);
                tit.SetOff(kR0Ohm50);
                tit.SetMult(kMultOhm50);
            }
}

void AddAll(TSendTH& pass)
{
    for (int b = 0; b < HardConfig->MBCount(); ++b)
        for (int s = 0; s < HardConfig->SilosPerMB(); ++s)
            pass.AddSilos(HardConfig->GetMB(b)->GetSilos(s));
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_PacedPass(benchmark::State& state)
{
    Line line;
    line.sim.AddFault({.faults = {.baud = kBaud}});
    BuildTree(16);
    QuietOwner owner;
    double passSeconds = 0;
    double wireSeconds = 0;
    for (auto _ : state) {
        line.sim.ClearExchanges();
        TSendTH pass(owner);
        AddAll(pass);
        const auto start = std::chrono::steady_clock::now();
        pass.Start();
        pass.WaitFor();
        passSeconds += Seconds(std::chrono::steady_clock::now() - start);
        size_t octets = 0;
        for (const ft3sim::Exchange& e : line.sim.Exchanges())
            octets += e.request.size() + e.reply.size();
        wireSeconds += static_cast<double>(octets) * 10.0 / kBaud;
    }
    state.counters["wire_s"] = wireSeconds / static_cast<double>(state.iterations());
    state.counters["ratio"] = passSeconds / wireSeconds;
}

void BM_CpuPerRequest(benchmark::State& state)
{
    Line line;
    BuildTree(256);
    QuietOwner owner;
    double cpuSeconds = 0;
    double wallSeconds = 0;
    int64_t requests = 0;
    for (auto _ : state) {
        line.sim.ClearExchanges();
        TSendTH pass(owner);
        AddAll(pass);
        // The pause after each reply runs on the pass's thread: there its CPU time is read.
        std::atomic<double> cpuAtStart{-1}, cpuNow{0};
        pass.SetClock({[] { return int64_t{0}; },
                       [&](uint32_t) {
                           const double now = ThreadCpuSeconds();
                           double none = -1;
                           cpuAtStart.compare_exchange_strong(none, now);
                           cpuNow = now;
                       }});
        const auto start = std::chrono::steady_clock::now();
        pass.Start();
        pass.WaitFor();
        wallSeconds += Seconds(std::chrono::steady_clock::now() - start);
        cpuSeconds += cpuNow - cpuAtStart;
        for (const ft3sim::Exchange& e : line.sim.Exchanges())
            requests += e.valid && ft3sim::Request{e.userData}.Channel() ? 1 : 0;
    }
    state.counters["cpu_us"] = cpuSeconds * 1e6 / static_cast<double>(requests);
    state.counters["wall_us"] = wallSeconds * 1e6 / static_cast<double>(requests);
}

} // namespace

BENCHMARK(BM_PacedPass)->Iterations(2)->Unit(benchmark::kSecond);
BENCHMARK(BM_CpuPerRequest)->Iterations(1)->Unit(benchmark::kSecond);
