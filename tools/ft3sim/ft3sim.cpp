// Runs the simulated FT3 line until interrupted, so the program can be run against it:
//   ft3sim --link "$TAVIK_ZUZID_HOME/COM3"     then choose port 3 in the program.
// Every sensor of blocks 1 to 12 answers with a plausible temperature.
#include "tools/ft3sim/Simulator.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

void FillDemoReadings(ft3sim::LocalBlock& block)
{
    for (int address = 0; address < 12; ++address)
        for (uint16_t channel = 0; channel < 12 * 6; ++channel) {
            const double celsius = 12.0 + address * 0.5 + (channel / 6) * 0.3 + (channel % 6) * 0.8;
            block.SetReadings(address, channel, ft3sim::WordsForTemperature(celsius));
        }
}

int Usage()
{
    std::fprintf(stderr, "usage: ft3sim [--link PATH] [--echo]\n"
                         "  --link PATH  make PATH a link to the line (e.g. <program folder>/COM3)\n"
                         "  --echo       send every received octet back, as a two-wire RS-485 line\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string link;
    bool echo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--link") == 0 && i + 1 < argc)
            link = argv[++i];
        else if (std::strcmp(argv[i], "--echo") == 0)
            echo = true;
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
