#pragma once
// The line commutator's commands of a live pass: switching a local block on or off, and the
// alarm relay. Each is tried up to 15 times, the attempt's number going in the request's last
// octet. They go out on the line with the settings' reply time-out (Parameters::TimeoutData); in
// the no-port mode (Parameters::NoCom) nothing is sent and every command gets the same fixed
// reply. Their log lines go to the given sink.
#include "comm/ExchangeLog.h"
#include "comm/FT3Frame.h"

#include <cstdint>
#include <functional>

class TCommLine;
struct Parameters;

inline constexpr uint8_t kCommutatorAddress = 0;
inline constexpr uint8_t kRelayModule = 0xE0;   // the relay's target in place of a block address
inline constexpr int kSwitchAttempts = 15;

// The request's user data: switch the target (a block address or kRelayModule) on or off.
DynByteArray SwitchRequest(uint8_t target, bool on, uint8_t attempt);

// The reply the no-port mode gives every switch command.
DynByteArray NoComSwitchReply();

// Switches a local block. Logs each frame sent in blue and the reply that came in green (both
// without a prefix); failed attempts leave no line. The 15th failure is raised. Before each
// attempt after the first `stopRequested` is asked (when given): when it says so the command
// gives up quietly and returns false. True when the commutator obeyed.
bool SwitchMBCmd(TCommLine& line, const Parameters& settings, const ExchangeLogSink& log, uint8_t block, bool on,
                 const std::function<bool()>& stopRequested = {});

// Switches the alarm relay. Logs every attempt ("<-: " frame in blue, then "->: " reply in green
// or "->: " buffer in green and "Error: " message in red) and gives up after the 15th failure
// without raising.
void SwitchRelay(TCommLine& line, const Parameters& settings, const ExchangeLogSink& log, bool on);
