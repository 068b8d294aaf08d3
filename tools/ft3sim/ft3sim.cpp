// Runs the simulated FT3 line until interrupted, so the program can be run against it:
//   ft3sim --link "$TAVIK_ZUZID_HOME/COM3"     then choose port 3 in the program.
// Every sensor of blocks 1 to 12 answers with a plausible temperature. With --collector ADDR a
// data-collecting controller answers at that address with an archive of 12 suspensions.
// The line can vanish, as an adaptor pulled out, and come back: after N requests with
// --vanish-after N (for --away MS, or until the signal), or at SIGUSR1, which also brings it back.
#include "tools/ft3sim/DataCollector.h"
#include "tools/ft3sim/Simulator.h"

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void FillDemoReadings(ft3sim::LocalBlock& block)
{
    for (int address = 0; address < 12; ++address)
        for (uint16_t channel = 0; channel < 12 * 6; ++channel) {
            const double celsius = 12.0 + address * 0.5 + (channel / 6) * 0.3 + (channel % 6) * 0.8;
            block.SetReadings(address, channel, ft3sim::WordsForTemperature(celsius));
        }
}

std::vector<ft3sim::ArchiveRecordOctets> DemoArchive()
{
    // One record for each suspension of local block 0: the id carries the block address in its
    // low 28 bits and the suspension number in its top 4.
    std::vector<ft3sim::ArchiveRecordOctets> records;
    const TDateTime measured = Now() - 1.0 / 24;
    constexpr uint32_t kBlock = 0;
    for (uint32_t suspension = 0; suspension < 12; ++suspension) {
        std::array<int8_t, 6> temps{};
        for (int sensor = 0; sensor < 6; ++sensor)
            temps[sensor] = static_cast<int8_t>(12 + (suspension + 1) / 2 + sensor);
        records.push_back(ft3sim::EncodeArchiveRecord(suspension << 28 | kBlock, temps,
                                                      measured + (suspension + 1) * 20.0 / kSecsPerDay));
    }
    return records;
}

int Usage()
{
    std::fprintf(stderr, "usage: ft3sim [--link PATH] [--echo] [--collector ADDR] [--vanish-after N [--away MS]]\n"
                         "  --link PATH       make PATH a link to the line (e.g. <program folder>/COM3)\n"
                         "  --echo            send every received octet back, as a two-wire RS-485 line\n"
                         "  --collector ADDR  a data-collecting controller at ADDR (0..249) with an archive\n"
                         "  --vanish-after N  the line vanishes at the request after the N-th\n"
                         "  --away MS         ... and comes back after MS milliseconds (else at SIGUSR1)\n"
                         "SIGUSR1 makes the line vanish, or come back when it is away.\n");
    return 2;
}

// A whole number from `low` to `high`, or nothing.
std::optional<long> Number(const char* text, long low, long high)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    std::string link;
    bool echo = false;
    int collector = -1;
    std::optional<long> vanishAfter;
    long away = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--link") == 0 && i + 1 < argc)
            link = argv[++i];
        else if (std::strcmp(argv[i], "--echo") == 0)
            echo = true;
        else if (std::strcmp(argv[i], "--collector") == 0 && i + 1 < argc) {
            const std::optional<long> address = Number(argv[++i], 0, 249);
            if (!address)
                return Usage();
            collector = static_cast<int>(*address);
        } else if (std::strcmp(argv[i], "--vanish-after") == 0 && i + 1 < argc) {
            vanishAfter = Number(argv[++i], 0, 1000000000);
            if (!vanishAfter)
                return Usage();
        } else if (std::strcmp(argv[i], "--away") == 0 && i + 1 < argc) {
            const std::optional<long> ms = Number(argv[++i], 1, 86400000);
            if (!ms)
                return Usage();
            away = *ms;
        } else
            return Usage();
    }

    // The signals are taken by sigwait below, not by a handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        ft3sim::Simulator simulator;
        FillDemoReadings(simulator.localBlock());
        simulator.SetEcho(echo);
        if (collector >= 0) {
            auto device = std::make_shared<ft3sim::DataCollector>(static_cast<uint8_t>(collector));
            device->SetArchive(DemoArchive());
            simulator.AddDevice(device);
        }
        if (!link.empty())
            simulator.KeepLink(link);
        if (vanishAfter)
            simulator.VanishAfter(static_cast<size_t>(*vanishAfter), std::chrono::milliseconds(away));
        simulator.Start();
        std::printf("FT3 line on %s%s%s\n", simulator.SlavePath().c_str(),
                    link.empty() ? "" : ", linked as ", link.c_str());
        std::fflush(stdout);
        int signal = 0;
        while (sigwait(&stopSignals, &signal) == 0 && signal == SIGUSR1) {
            if (simulator.Present()) {
                simulator.Vanish();
                std::printf("the line has vanished\n");
            } else {
                simulator.Return();
                std::printf("the line is back on %s\n", simulator.SlavePath().c_str());
            }
            std::fflush(stdout);
        }
        simulator.Stop();
        if (!link.empty())
            unlink(link.c_str());
        std::printf("%zu exchanges served\n", simulator.Exchanges().size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ft3sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
