#pragma once
// The program's one log stream. Any thread posts a line with its colour; whoever installed the
// sink (the main window, through the core layer's receiver, or a test) gets every line, one at a
// time and in the order the lines were posted. Plain C++ so that the communication layer can log
// without knowing about Qt or the core layer.
#include "base/Colour.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Colours of log lines (platform colour values, see base/Colour.h).
inline constexpr TColor kLogPlain = clBlack;      // command names, results, archive records
inline constexpr TColor kLogRawTrace = 1;         // raw readings turned into resistances
inline constexpr TColor kLogSpeedNote = 4;        // rate-of-change notes
inline constexpr TColor kLogSent = clBlue;        // sent frames, replies of service commands, pass messages
inline constexpr TColor kLogReply = clGreen;      // poll and relay replies
inline constexpr TColor kLogError = clRed;        // errors; the main window also lists these apart

// Lines longer than this many characters are cut to it before they are passed on.
inline constexpr size_t kExchangeLogMaxChars = 250;

// Receives each line (UTF-8, already cut) and its colour. Called on the posting thread with the
// stream's lock held: it must be quick and must not wait for another thread that posts.
using ExchangeLogSink = std::function<void(const std::string& text, TColor colour)>;

// Posts one line. Returns at once; safe from any thread. Without a sink the line is dropped.
void PostExchangeLog(std::string_view utf8, TColor colour);
inline void PostExchangeLog(const std::string& utf8, TColor colour)
{
    PostExchangeLog(std::string_view(utf8), colour);
}
inline void PostExchangeLog(const char* utf8, TColor colour)
{
    PostExchangeLog(std::string_view(utf8), colour);
}

// Installs the sink (an empty one drops lines) and returns the one it replaces.
ExchangeLogSink SetExchangeLogSink(ExchangeLogSink sink);

// The first `maxChars` characters (code points) of a UTF-8 text; never splits a character.
std::string CutUtf8(std::string_view utf8, size_t maxChars);

// Installs a sink for a scope and puts the previous one back at its end (tests, short listeners).
class ScopedExchangeLogSink {
public:
    explicit ScopedExchangeLogSink(ExchangeLogSink sink) : previous_(SetExchangeLogSink(std::move(sink))) {}
    ~ScopedExchangeLogSink() { SetExchangeLogSink(std::move(previous_)); }
    ScopedExchangeLogSink(const ScopedExchangeLogSink&) = delete;
    ScopedExchangeLogSink& operator=(const ScopedExchangeLogSink&) = delete;

private:
    ExchangeLogSink previous_;
};
