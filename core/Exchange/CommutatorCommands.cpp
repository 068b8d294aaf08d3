#include "core/Exchange/CommutatorCommands.h"

#include "base/HexText.h"
#include "comm/ExchangeLog.h"
#include "comm/NoCom.h"
#include "core/Exchange/PassLine.h"

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
void Exchange(DynByteArray& buffer)
{
    if (IsNoCom())
        buffer = NoComSwitchReply();
    else
        ExchangeOnSharedPort(buffer);
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

bool SwitchMBCmd(uint8_t block, bool on, const std::function<bool()>& stopRequested)
{
    for (int attempt = 0;; ++attempt) {
        if (attempt > 0 && stopRequested && stopRequested())
            return false;
        DynByteArray buffer = SwitchFrame(block, on, attempt);
        PostExchangeLog(BytesToHex(buffer), kLogSent);
        try {
            Exchange(buffer);
        } catch (const std::exception&) {
            if (attempt + 1 >= kSwitchAttempts)
                throw;
            continue;
        }
        PostExchangeLog(BytesToHex(buffer), kLogReply);
        return true;
    }
}

void SwitchRelay(bool on)
{
    for (int attempt = 0; attempt < kSwitchAttempts; ++attempt) {
        DynByteArray buffer = SwitchFrame(kRelayModule, on, attempt);
        PostExchangeLog("<-: " + BytesToHex(buffer), kLogSent);
        try {
            Exchange(buffer);
            PostExchangeLog("->: " + BytesToHex(buffer), kLogReply);
            return;
        } catch (const std::exception& e) {
            PostExchangeLog("->: " + BytesToHex(buffer), kLogReply);
            PostExchangeLog(std::string("Error: ") + e.what(), kLogError);
        }
    }
}
