#include "platform/posix/RotatingLogFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

class RotatingLogFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tz_log_" + std::to_string(getpid()) + "_" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static void Fill(const fs::path& path, size_t size, char octet)
    {
        std::ofstream(path, std::ios::binary) << std::string(size, octet);
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path folder;
};

TEST_F(RotatingLogFileTest, RotatedNameIsTheBaseNameFollowedByZero)
{
    EXPECT_EQ(RotatedLogPath("/a/b/debug.log"), "/a/b/debug0.log");
    EXPECT_EQ(RotatedLogPath("/a.b/Error"), "/a.b/Error0");
}

TEST_F(RotatingLogFileTest, MissingFileIsCreated)
{
    const fs::path log = folder / "Error.log";
    ASSERT_TRUE(AppendToLogFile(log, "line\r\n"));
    ASSERT_TRUE(AppendToLogFile(log, "next\r\n"));
    EXPECT_EQ(Read(log), "line\r\nnext\r\n");
    EXPECT_FALSE(fs::exists(folder / "Error0.log"));
}

TEST_F(RotatingLogFileTest, FileAtTheLimitIsAppendedTo)
{
    const fs::path log = folder / "debug.log";
    Fill(log, kLogRotateAbove, 'a');
    ASSERT_TRUE(AppendToLogFile(log, "x"));
    EXPECT_EQ(fs::file_size(log), kLogRotateAbove + 1);
    EXPECT_FALSE(fs::exists(folder / "debug0.log"));
}

TEST_F(RotatingLogFileTest, FileOverTheLimitMovesToTheZeroNameReplacingAnOlderOne)
{
    const fs::path log = folder / "debug.log";
    const fs::path old = folder / "debug0.log";
    Fill(log, kLogRotateAbove + 1, 'a');
    Fill(old, 10, 'o');
    ASSERT_TRUE(AppendToLogFile(log, "fresh\r\n"));
    EXPECT_EQ(Read(log), "fresh\r\n");
    EXPECT_EQ(fs::file_size(old), kLogRotateAbove + 1);
    EXPECT_EQ(Read(old).front(), 'a');
}

TEST_F(RotatingLogFileTest, UnwritableFolderIsReportedNotHidden)
{
    EXPECT_FALSE(AppendToLogFile((folder / "missing" / "speed.log").string(), "x"));
}

// Writers from several threads on a small limit: every line lands whole in one of the two files
// (the older rotated files are replaced, so only lines of the last two generations remain; but
// none may be torn, and the current file never holds more than one write past the limit).
TEST_F(RotatingLogFileTest, ConcurrentWritersNeverTearLines)
{
    const std::string log = (folder / "speed.log").string();
    constexpr int kThreads = 4, kLines = 300;
    constexpr uint64_t kLimit = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kLines; ++i)
                ASSERT_TRUE(AppendToLogFile(log, "<" + std::to_string(t) + "-" + std::to_string(i) + ">\n", kLimit));
        });
    for (auto& thread : threads)
        thread.join();

    for (const std::string& path : {log, RotatedLogPath(log)}) {
        std::istringstream lines(Read(path));
        std::string line;
        while (std::getline(lines, line))
            ASSERT_TRUE(line.size() >= 5 && line.front() == '<' && line.back() == '>') << line;
    }
    EXPECT_LE(fs::file_size(log), kLimit + 16);
    EXPECT_LE(fs::file_size(RotatedLogPath(log)), kLimit + 16);
}
