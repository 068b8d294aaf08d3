#pragma once
// The time a poll pass waits by: the pauses after switching blocks and after requests, and the
// alarm relay's on-time. A test hands in its own clock so that seconds of waiting take none.
#include <cstdint>
#include <functional>

struct TPassClock {
    // A count of milliseconds that grows with time.
    std::function<int64_t()> TickMs;
    // Waits this many milliseconds. Called on the pass's thread; the pass looks at its stop
    // request after each wait.
    std::function<void(uint32_t ms)> Sleep;
};
