#include "platform/posix/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("tz_folder_" + std::to_string(getpid()));
        fs::remove_all(root);
        const char* old = std::getenv("TAVIK_ZUZID_HOME");
        saved = old ? old : "";
        hadHome = old != nullptr;
    }
    void TearDown() override
    {
        if (hadHome)
            setenv("TAVIK_ZUZID_HOME", saved.c_str(), 1);
        else
            unsetenv("TAVIK_ZUZID_HOME");
        fs::remove_all(root);
    }
    fs::path root;
    std::string saved;
    bool hadHome = false;
};

TEST_F(ProgramFolderTest, EnvironmentVariableWinsAndIsCreated)
{
    const fs::path home = root / "home" / "deep";
    setenv("TAVIK_ZUZID_HOME", (home.string() + "/").c_str(), 1);
    EXPECT_EQ(ProgramFolder(), home.string());
    EXPECT_TRUE(fs::is_directory(home));
    EXPECT_EQ(ProgramFile("Tavik_zuzid.INI"), (home / "Tavik_zuzid.INI").string());
}

TEST_F(ProgramFolderTest, WithoutTheVariableAWritableExecutableFolderIsUsed)
{
    unsetenv("TAVIK_ZUZID_HOME");
    // The test binary sits in the (writable) build tree.
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    EXPECT_EQ(ProgramFolder(), exe.parent_path().string());
}

TEST_F(ProgramFolderTest, RuntimeFolderIsPrivate)
{
    const std::string folder = RuntimeFolder();
    ASSERT_TRUE(fs::is_directory(folder));
    const auto perms = fs::status(folder).permissions();
    EXPECT_EQ(perms & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
}
