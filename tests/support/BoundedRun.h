#pragma once
// Runs a piece of work under the bounds a reader of outside data keeps, however damaged its
// input: a few seconds, and a rise of the process's peak memory of no more than a few hundred
// megabytes. The bounds are generous; speed goals belong to the benchmarks.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include <sys/resource.h>

inline constexpr std::chrono::seconds kReaderTimeBound{5};
inline constexpr long kReaderMemoryBoundKb = 512 * 1024;

inline long PeakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

inline void ExpectBounded(const std::string& what, const std::function<void()>& work)
{
    const long peakBefore = PeakMemoryKb();
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, kReaderTimeBound) << what;
    EXPECT_LT(PeakMemoryKb() - peakBefore, kReaderMemoryBoundKb) << what;
}
