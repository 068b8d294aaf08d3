#include "comm/ExchangeLog.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct Line {
    std::string text;
    TColor colour;
};

} // namespace

TEST(ExchangeLog, LongLinesAreCutToTheirFirst250Characters)
{
    std::vector<Line> lines;
    const ExchangeLogSink sink = [&](const std::string& text, TColor colour) { lines.push_back({text, colour}); };

    const std::string cyrillic250 = [] {
        std::string s;
        for (int i = 0; i < 250; ++i)
            s += "ж";   // two octets each: the cut counts characters, not octets
        return s;
    }();
    PostExchangeLog(sink, std::string(300, 'a'), kLogError);
    PostExchangeLog(sink, std::string(250, 'b'), kLogSent);
    PostExchangeLog(sink, cyrillic250 + "юя", kLogPlain);
    PostExchangeLog(sink, "", kLogReply);

    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, std::string(250, 'a'));
    EXPECT_EQ(lines[0].colour, kLogError);
    EXPECT_EQ(lines[1].text, std::string(250, 'b'));
    EXPECT_EQ(lines[2].text, cyrillic250);
    EXPECT_EQ(lines[3].text, "");
    EXPECT_EQ(lines[3].colour, kLogReply);
}

TEST(ExchangeLog, CutNeverSplitsACharacter)
{
    EXPECT_EQ(CutUtf8("абв", 2), "аб");
    EXPECT_EQ(CutUtf8("a€b", 2), "a€");   // three-octet character kept whole
    EXPECT_EQ(CutUtf8("ab", 5), "ab");
    EXPECT_EQ(CutUtf8("ab", 0), "");
}

TEST(ExchangeLog, ColoursAreThePlatformValues)
{
    EXPECT_EQ(kLogPlain, 0u);
    EXPECT_EQ(kLogRawTrace, 1u);
    EXPECT_EQ(kLogSpeedNote, 4u);
    EXPECT_EQ(kLogSent, 0xFF0000u);
    EXPECT_EQ(kLogReply, 0x8000u);
    EXPECT_EQ(kLogError, 255u);
}

// A sink that keeps its lines under its own lock gets every line of many threads whole, each
// thread's in order (the program's stream is such a sink: it emits a queued signal).
TEST(ExchangeLog, LinesFromManyThreadsArriveWholeAndInEachThreadsOrder)
{
    constexpr int kThreads = 6;
    constexpr int kLinesEach = 2000;
    std::mutex lock;
    std::vector<Line> lines;
    const ExchangeLogSink sink = [&](const std::string& text, TColor colour) {
        std::lock_guard hold(lock);
        lines.push_back({text, colour});
    };

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &sink] {
            for (int i = 0; i < kLinesEach; ++i)
                PostExchangeLog(sink, std::to_string(t) + ":" + std::to_string(i), static_cast<TColor>(t));
        });
    for (auto& thread : threads)
        thread.join();

    ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLinesEach));
    std::vector<int> next(kThreads, 0);
    for (const Line& line : lines) {
        const auto colon = line.text.find(':');
        ASSERT_NE(colon, std::string::npos) << line.text;
        const int t = std::stoi(line.text.substr(0, colon));
        ASSERT_EQ(line.colour, static_cast<TColor>(t));
        ASSERT_EQ(std::stoi(line.text.substr(colon + 1)), next[t]) << "thread " << t;
        ++next[t];
    }
}

TEST(ExchangeLog, WithoutASinkLinesAreDropped)
{
    PostExchangeLog(ExchangeLogSink{}, "nobody hears this", kLogPlain);
    std::vector<std::string> heard;
    PostExchangeLog([&](const std::string& text, TColor) { heard.push_back(text); }, "one", kLogPlain);
    EXPECT_EQ(heard, std::vector<std::string>{"one"});
}
