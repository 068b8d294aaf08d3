#include "core/Exchange/CommutatorCommands.h"

#include "base/HexText.h"
#include "core/Exchange/CommLine.h"
#include "core/Parameters.h"

#include <exception>
#include <string>

namespace {

constexpr uint8_t kFunctionSwitch = 0x50;

DynByteArray SwitchFrame(uint8_t target, bool on, int attempt)
{
    DynByteArray frame = SwitchRequest(target, on, static_cast<uint8_t>(attempt));
    MakePackageFT31(frame, 0);
    return frame;
}

// One attempt: the frame in the buffer goes out and the reply's user data comes back in it.
void Exchange(TCommLine& line, const Parameters& settings, DynByteArray& buffer)
{
    if (settings.NoCom)
        buffer = NoComSwitchReply();
    else
        line.Exchange(buffer, settings.TimeoutData);
}

} // namespace

DynByteArray SwitchRequest(uint8_t target, bool on, uint8_t attempt)
{
    return {0xDB, kCommutatorAddress, kFT3OwnAddress, 0x00, 0x00, kFunctionSwitch, target,
            static_cast<uint8_t>(on ? 1 : 0), attempt};
}

DynByteArray NoComSwitchReply()
{
    return {0x80, 0xFA, 0x00, 0x00, 0x00, 0xD0, 0x00, 0x01, 0x00, 0x00};
}

bool SwitchMBCmd(TCommLine& line, const Parameters& settings, const ExchangeLogSink& log, uint8_t block, bool on,
                 const std::function<bool()>& stopRequested)
{
    for (int attempt = 0;; ++attempt) {
        if (attempt > 0 && stopRequested && stopRequested())
            return false;
        DynByteArray buffer = SwitchFrame(block, on, attempt);
        PostExchangeLog(log, BytesToHex(buffer), kLogSent);
        try {
            Exchange(line, settings, buffer);
        } catch (const std::exception&) {
            if (attempt + 1 >= kSwitchAttempts)
                throw;
            continue;
        }
        PostExchangeLog(log, BytesToHex(buffer), kLogReply);
        return true;
    }
}

void SwitchRelay(TCommLine& line, const Parameters& settings, const ExchangeLogSink& log, bool on)
{
    for (int attempt = 0; attempt < kSwitchAttempts; ++attempt) {
        DynByteArray buffer = SwitchFrame(kRelayModule, on, attempt);
        PostExchangeLog(log, "<-: " + BytesToHex(buffer), kLogSent);
        try {
            Exchange(line, settings, buffer);
            PostExchangeLog(log, "->: " + BytesToHex(buffer), kLogReply);
            return;
        } catch (const std::exception& e) {
            PostExchangeLog(log, "->: " + BytesToHex(buffer), kLogReply);
            PostExchangeLog(log, std::string("Error: ") + e.what(), kLogError);
        }
    }
}
