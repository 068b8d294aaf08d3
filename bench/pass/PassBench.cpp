// A whole live poll pass over a pseudo-terminal against the simulated line.
//
// BM_PacedPass: 16 local blocks × 12 suspensions × 6 sensors on a simulated line of 115200 baud
// (10 bits an octet: each request is answered when its last octet would have arrived, each
// reply octet handed on when the line has carried it), every configured pause 0. Then a bare
// client replays the same request frames on the same line, writing each and reading its reply
// with plain system calls. "ratio" is the pass's time over the bare client's: what the program
// adds to the line; "wire_ratio" is the pass's time over the time all the octets take on the wire.
//
// BM_CpuPerRequest: the largest configuration (256 × 12 × 6) against a simulator that answers
// at once; "cpu_us" is the pass thread's CPU time per sensor request (framing, the exchange,
// the calculation procedure, the sensor's mean and history), "wall_us" the pass's time per
// request. Block 225's address is the relay module's, so that block is never switched on.
#include "comm/CommPort.h"
#include "core/Device/Device.h"
#include "core/Exchange/SendTH.h"
#include "core/Monitor.h"
#include "tools/ft3sim/Simulator.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <vector>
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
        Parameters& settings = monitor.Settings;
        settings.PauseMBOn = settings.PauseMBOff = settings.PauseRequest = 0;
        settings.PollRepeats = 1;
        settings.TimeoutData = 300;
    }
    ~Line()
    {
        port.SetEnable(false);
        sim.Stop();
        std::filesystem::remove_all(folder_);
    }

    ft3sim::Simulator sim;
    TMonitor monitor;
    TCommPort& port = monitor.SharedCommPort.Port;

private:
    std::filesystem::path folder_;
};

void BuildTree(std::unique_ptr<THardConfig>& HardConfig, int blocks)
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

void AddAll(TSendTH& pass, const std::unique_ptr<THardConfig>& HardConfig)
{
    for (int b = 0; b < HardConfig->MBCount(); ++b)
        for (int s = 0; s < HardConfig->SilosPerMB(); ++s)
            pass.AddSilos(HardConfig->GetMB(b)->GetSilos(s));
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void ReadReply(int fd, size_t count)
{
    uint8_t octets[512];
    size_t got = 0;
    while (got < count) {
        const ssize_t n = read(fd, octets, std::min(sizeof octets, count - got));
        if (n > 0) {
            got += static_cast<size_t>(n);
            continue;
        }
        pollfd in{fd, POLLIN, 0};
        if (poll(&in, 1, 1000) <= 0)
            throw std::runtime_error("the simulated line fell silent");
    }
}

// The baseline: the same request frames written and their replies read with nothing around
// them, on the line the program used (its port closed meanwhile). Returns the seconds taken.
double ReplayBare(const std::string& path, const std::vector<ft3sim::Exchange>& exchanges)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    const auto start = std::chrono::steady_clock::now();
    for (const ft3sim::Exchange& e : exchanges) {
        if (e.reply.empty())
            continue;
        if (write(fd, e.request.data(), e.request.size()) != static_cast<ssize_t>(e.request.size()))
            throw std::runtime_error("the request did not go out whole");
        ReadReply(fd, e.reply.size());
    }
    const double seconds = Seconds(std::chrono::steady_clock::now() - start);
    close(fd);
    return seconds;
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
    line.sim.SetLineRate(kBaud);
    BuildTree(line.monitor.HardConfig, 16);
    double passSeconds = 0;
    double bareSeconds = 0;
    double wireSeconds = 0;
    for (auto _ : state) {
        line.sim.ClearExchanges();
        {
            TSendTH pass(line.monitor.Passes, line.monitor.Settings);
            AddAll(pass, line.monitor.HardConfig);
            const auto start = std::chrono::steady_clock::now();
            pass.Start();
            pass.WaitFor();
            passSeconds += Seconds(std::chrono::steady_clock::now() - start);
        }
        const std::vector<ft3sim::Exchange> exchanges = line.sim.Exchanges();
        size_t octets = 0;
        for (const ft3sim::Exchange& e : exchanges)
            octets += e.request.size() + e.reply.size();
        wireSeconds += static_cast<double>(octets) * 10.0 / kBaud;

        line.port.SetEnable(false);
        bareSeconds += ReplayBare(line.sim.SlavePath(), exchanges);
        line.port.SetEnable(true);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["pass_s"] = passSeconds / n;
    state.counters["bare_s"] = bareSeconds / n;
    state.counters["wire_s"] = wireSeconds / n;
    state.counters["ratio"] = passSeconds / bareSeconds;
    state.counters["wire_ratio"] = passSeconds / wireSeconds;
}

void BM_CpuPerRequest(benchmark::State& state)
{
    Line line;
    BuildTree(line.monitor.HardConfig, 256);
    double cpuSeconds = 0;
    double wallSeconds = 0;
    int64_t requests = 0;
    for (auto _ : state) {
        line.sim.ClearExchanges();
        TSendTH pass(line.monitor.Passes, line.monitor.Settings);
        AddAll(pass, line.monitor.HardConfig);
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
