// What the port adds to a frame's time on the line: one send of a 20-octet request and the read
// of a 40-octet reply over a pseudo-terminal whose peer answers at once (so the line itself
// costs nothing), with and without RS-485 direction control. The send includes the right to
// write (a lock on a file kept open), the raised priority and the queue waits; the reply is read
// as an exchange reads it: what has come for the leader, then the rest.
#include "comm/CommPort.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int PortNumber = 5;
constexpr size_t RequestSize = 20;
constexpr size_t ReplySize = 40;

// A peer that answers every request with a reply as soon as the request is complete.
class InstantPeer {
public:
    InstantPeer()
    {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        grantpt(master_);
        unlockpt(master_);
        folder_ = std::filesystem::temp_directory_path() / ("tz_serial_bench_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
        setenv("TAVIK_ZUZID_HOME", folder_.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        std::filesystem::create_symlink(ptsname(master_), folder_ / ("COM" + std::to_string(PortNumber)));
        thread_ = std::thread([this] { Run(); });
    }
    ~InstantPeer()
    {
        stop_ = true;
        thread_.join();
        close(master_);
        std::filesystem::remove_all(folder_);
    }

private:
    void Run()
    {
        std::vector<uint8_t> reply(ReplySize, 0x5A);
        size_t heard = 0;
        while (!stop_) {
            pollfd p {master_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN))
                continue;
            uint8_t buffer[256];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0)
                continue;
            heard += static_cast<size_t>(n);
            if (heard >= RequestSize) {
                heard -= RequestSize;
                (void)!write(master_, reply.data(), reply.size());
            }
        }
    }

    int master_ = -1;
    std::filesystem::path folder_;
    std::thread thread_;
    std::atomic<bool> stop_ {false};
};

void BM_RequestAndReply(benchmark::State& state)
{
    InstantPeer peer;
    TCommPort port;
    port.SetNumber(PortNumber);
    port.SetChangeCursor(false);
    port.SetRsvClear(true);
    port.SetIs485(state.range(0) != 0);
    port.SetTimeOut({50, 50, 100, 10, 5});
    port.SetEnable(true);
    const std::vector<uint8_t> request(RequestSize, 0x33);
    std::vector<uint8_t> reply(ReplySize);
    for (auto _ : state) {
        port.Send(request.data(), request.size());
        const uint16_t leader = port.ReadSome(reply.data(), 3);
        port.ReadData(&reply[leader], static_cast<uint16_t>(ReplySize - leader));
        benchmark::DoNotOptimize(reply.data());
    }
    state.SetLabel(state.range(0) ? "RS-485" : "RS-232");
}

} // namespace

BENCHMARK(BM_RequestAndReply)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
