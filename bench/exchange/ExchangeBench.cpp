// What the program adds to an exchange's time on the line: sensor-data requests to the local
// block of the simulated line, once answered at once and once on a line of 115200 baud (the
// request heard when its last octet would have come, the reply's octets paced). "ratio" is the
// measured time of an exchange over the wire time of its request and reply octets at 115200
// baud (10 bits an octet); on the paced line, close to 1 means the program adds almost nothing.
#include "comm/CommPort.h"
#include "comm/FT3Exchange.h"
#include "comm/FT3Share.h"
#include "tools/ft3sim/Simulator.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <stdlib.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int PortNumber = 6;
constexpr int Baud = 115200;

DynByteArray SensorRequest(uint16_t channel)
{
    return {0x5B, 0x01, 0xFA, 0x00, 0x00, 0x14, 0x10, static_cast<uint8_t>(channel & 0xFF),
            static_cast<uint8_t>(channel >> 8), 0x02};
}

// A program folder with the COM link to the simulator's line, removed afterwards.
class Line {
public:
    Line()
    {
        folder_ = std::filesystem::temp_directory_path() / ("tz_exchange_bench_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("TAVIK_ZUZID_HOME", folder_.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        sim.Start();
        std::filesystem::create_symlink(sim.SlavePath(), folder_ / ("COM" + std::to_string(PortNumber)));
        sim.localBlock().SetDefaultReadings(ft3sim::WordsForTemperature(12.5));
        port.SetNumber(PortNumber);
        port.SetChangeCursor(false);
        port.SetRsvClear(true);
        port.SetTimeOut({50, 50, 100, 10, 5});
        port.SetEnable(true);
        DynByteArray on = {0x5B, 0x00, 0xFA, 0x00, 0x00, 0x50, 0, 1, 0};
        MakePackageFT31(on, 0);
        ExchangeFT3Timed(port, on, 1000);
    }
    ~Line()
    {
        port.SetEnable(false);
        sim.Stop();
        std::filesystem::remove_all(folder_);
    }

    ft3sim::Simulator sim;
    TCommPort port;

private:
    std::filesystem::path folder_;
};

void BM_SensorExchange(benchmark::State& state)
{
    const bool paced = state.range(0) != 0;
    Line line;
    if (paced)
        line.sim.SetLineRate(Baud);
    size_t octets = 0;
    uint16_t channel = 0;
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        DynByteArray buffer = SensorRequest(channel);
        MakePackageFT31(buffer, 0);
        octets += buffer.size();
        ExchangeFT3Timed(line.port, buffer, 1000);
        octets += CalcLenPackageFT3(static_cast<uint8_t>(buffer.size()));
        channel = static_cast<uint16_t>((channel + 1) % 72);
        line.sim.ClearExchanges();
    }
    const double measured = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double wire = static_cast<double>(octets) * 10.0 / Baud;
    state.counters["exchanges_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                           benchmark::Counter::kIsRate);
    state.counters["wire_us"] = benchmark::Counter(wire * 1e6, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = measured / wire;
    state.SetLabel(paced ? "line of 115200 baud" : "instant peer");
}

} // namespace

BENCHMARK(BM_SensorExchange)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();
