// The mode of a file written for the user: what the umask leaves of rw-rw-rw- for a new file,
// the old file's own for one written over, never the owner-only mode of the temporary file the
// content goes to first.
#include "platform/posix/AtomicFile.h"
#include "platform/posix/FileMode.h"
#include "support/ScopedUmask.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const fs::path& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

class FileModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tz_mode_" + std::to_string(getpid()) + "_" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_F(FileModeTest, ANewFileTakesTheUmaskAnOldOneKeepsItsMode)
{
    struct Case {
        mode_t umask;
        mode_t existing;   // 0: no file there yet
        mode_t expected;
    };
    const Case cases[] = {
        {022, 0, 0644}, {027, 0, 0640}, {002, 0, 0664}, {077, 0, 0600},
        {022, 0640, 0640}, {027, 0664, 0664}, {022, 0600, 0600},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << c.umask << ", existing " << c.existing);
        const fs::path path = folder / ("file" + std::to_string(++n));
        if (c.existing != 0) {
            std::ofstream(path) << "old";
            ASSERT_EQ(chmod(path.c_str(), c.existing), 0);
        }
        const ScopedUmask mask(c.umask);
        if (c.existing == 0) {
            EXPECT_EQ(NewFileMode(), c.expected);
        }
        EXPECT_EQ(ModeForReplacing(path.string()), c.expected);
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(path.string(), "new", &error)) << error;
        EXPECT_EQ(ModeOf(path), c.expected);
    }
}

}  // namespace
