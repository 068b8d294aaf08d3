// Runs the simulated FT3 line until interrupted, so the program can be run against it:
//   ft3sim --link "$TAVIK_ZUZID_HOME/COM3"     then choose port 3 in the program.
// Every sensor of blocks 1 to 12 answers with a plausible temperature. With --collector ADDR a
// data-collecting controller answers at that address with an archive of 12 suspensions.
#include "tools/ft3sim/DataCollector.h"
#include "tools/ft3sim/Simulator.h"

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
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
    std::fprintf(stderr, "usage: ft3sim [--link PATH] [--echo] [--collector ADDR]\n"
                         "  --link PATH       make PATH a link to the line (e.g. <program folder>/COM3)\n"
                         "  --echo            send every received octet back, as a two-wire RS-485 line\n"
                         "  --collector ADDR  a data-collecting controller at ADDR (0..249) with an archive\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string link;
    bool echo = false;
    int collector = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--link") == 0 && i + 1 < argc)
            link = argv[++i];
        else if (std::strcmp(argv[i], "--echo") == 0)
            echo = true;
        else if (std::strcmp(argv[i], "--collector") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const long address = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || address < 0 || address > 249)
                return Usage();
            collector = static_cast<int>(address);
        }
        else
            return Usage();
    }

    // The signals are taken by sigwait below, not by a handler.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
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
        if (!link.empty()) {
            unlink(link.c_str());
            if (symlink(simulator.SlavePath().c_str(), link.c_str()) != 0) {
                std::perror(link.c_str());
                return 1;
            }
        }
        simulator.Start();
        std::printf("FT3 line on %s%s%s\n", simulator.SlavePath().c_str(),
                    link.empty() ? "" : ", linked as ", link.c_str());
        std::fflush(stdout);
        int signal = 0;
        sigwait(&stopSignals, &signal);
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
