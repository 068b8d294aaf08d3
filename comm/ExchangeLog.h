#pragma once
// Log lines as the layers below the application post them: each owner hands its parts a sink
// (the serial port holds one, a pass reports through its runner), and every line goes to it with
// its colour. Plain C++ so that the communication layer can log without knowing about Qt.
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

// Receives each line (UTF-8, already cut) and its colour, on the posting thread: it must be
// quick and must not wait for another thread that posts.
using ExchangeLogSink = std::function<void(const std::string& text, TColor colour)>;

// Posts one line to the sink, cut to its first kExchangeLogMaxChars characters. Without a sink
// the line is dropped.
void PostExchangeLog(const ExchangeLogSink& sink, std::string_view utf8, TColor colour);
inline void PostExchangeLog(const ExchangeLogSink& sink, const char* utf8, TColor colour)
{
    PostExchangeLog(sink, std::string_view(utf8), colour);
}

// The first `maxChars` characters (code points) of a UTF-8 text; never splits a character.
std::string CutUtf8(std::string_view utf8, size_t maxChars);
