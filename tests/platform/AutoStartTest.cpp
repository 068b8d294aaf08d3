#include "platform/posix/AutoStart.h"

#include "support/ScopedEnv.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string FileText(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class AutoStartTest : public ::testing::Test {
protected:
    AutoStartTest()
        : root(fs::temp_directory_path() / ("tz_autostart_" + std::to_string(getpid()))),
          config((fs::remove_all(root), root / "config").string()),
          home(root / "home"),
          configEnv("XDG_CONFIG_HOME", config),
          homeEnv("HOME", home.string())
    {
    }
    ~AutoStartTest() override
    {
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, ignored);
        fs::remove_all(root, ignored);
    }

    fs::path root;
    std::string config;
    fs::path home;
    ScopedEnv configEnv;
    ScopedEnv homeEnv;
};

} // namespace

TEST_F(AutoStartTest, FolderFollowsConfigHomeElseHome)
{
    EXPECT_EQ(AutoStartFolder(), config + "/autostart");
    EXPECT_EQ(AutoStartEntryPath("Tavik_zuzid"), config + "/autostart/Tavik_zuzid.desktop");
    {
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/config");   // only absolute paths count
        EXPECT_EQ(AutoStartFolder(), (home / ".config/autostart").string());
    }
    {
        ScopedEnv empty("XDG_CONFIG_HOME", "");
        EXPECT_EQ(AutoStartFolder(), (home / ".config/autostart").string());
    }
}

TEST_F(AutoStartTest, WrittenThenRemovedReturnsToFirstState)
{
    ASSERT_FALSE(AutoStartEntryExists("Tavik_zuzid"));
    WriteAutoStartEntry("Tavik_zuzid", "/opt/tz/Tavik_zuzid");
    ASSERT_TRUE(AutoStartEntryExists("Tavik_zuzid"));
    const std::string text = FileText(AutoStartEntryPath("Tavik_zuzid"));
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nExec=\"/opt/tz/Tavik_zuzid\"\n"), std::string::npos);

    WriteAutoStartEntry("Tavik_zuzid", "/opt/other/Tavik_zuzid");   // replaces, never appends
    EXPECT_NE(FileText(AutoStartEntryPath("Tavik_zuzid")).find("Exec=\"/opt/other/Tavik_zuzid\"\n"),
        std::string::npos);

    RemoveAutoStartEntry("Tavik_zuzid");
    EXPECT_FALSE(AutoStartEntryExists("Tavik_zuzid"));
    EXPECT_NO_THROW(RemoveAutoStartEntry("Tavik_zuzid"));   // nothing to remove is not an error
}

TEST_F(AutoStartTest, ExecQuotesCharactersTheLauncherWouldReadOtherwise)
{
    struct Case {
        std::string executable;
        std::string exec;
    };
    const Case cases[] = {
        {"/home/a b/Tavik_zuzid", R"(Exec="/home/a b/Tavik_zuzid")"},
        {"/x/100%/p", R"(Exec="/x/100%%/p")"},
        {"/x/$HOME/p", R"(Exec="/x/\\$HOME/p")"},
        {"/x/a\"b`c", R"(Exec="/x/a\\"b\\`c")"},
        {"/x/a\\b", R"(Exec="/x/a\\\\b")"},
        {"/x/a\nb", R"(Exec="/x/a b")"},
    };
    for (const Case& c : cases) {
        const std::string text = AutoStartEntryText("Tavik_zuzid", c.executable);
        EXPECT_NE(text.find("\n" + c.exec + "\n"), std::string::npos) << c.executable << "\n" << text;
    }
}

TEST_F(AutoStartTest, AnEntryThatCannotBeWrittenThrowsAndLeavesNoEntry)
{
    {
        ScopedEnv unwritable("XDG_CONFIG_HOME", "/proc/self/tz_config");   // takes no folders, even from root
        EXPECT_THROW(WriteAutoStartEntry("Tavik_zuzid", "/opt/tz/Tavik_zuzid"), EAutoStartError);
        EXPECT_FALSE(AutoStartEntryExists("Tavik_zuzid"));
    }
    fs::create_directories(AutoStartEntryPath("Tavik_zuzid") + "/in the way");
    EXPECT_THROW(WriteAutoStartEntry("Tavik_zuzid", "/opt/tz/Tavik_zuzid"), EAutoStartError);
    EXPECT_FALSE(AutoStartEntryExists("Tavik_zuzid"));
    EXPECT_EQ(fs::directory_iterator(AutoStartFolder()) == fs::directory_iterator(), false);
    for (const auto& item : fs::directory_iterator(AutoStartFolder()))
        EXPECT_EQ(item.path().filename(), "Tavik_zuzid.desktop");   // no temporary file left behind
}

TEST_F(AutoStartTest, AnEntryThatCannotBeRemovedThrowsAndStays)
{
    WriteAutoStartEntry("Tavik_zuzid", "/opt/tz/Tavik_zuzid");
    fs::permissions(config + "/autostart", fs::perms::owner_read | fs::perms::owner_exec);
    {
        const Unprivileged unprivileged;
        EXPECT_THROW(RemoveAutoStartEntry("Tavik_zuzid"), EAutoStartError);
    }
    EXPECT_TRUE(AutoStartEntryExists("Tavik_zuzid"));
    fs::permissions(config + "/autostart", fs::perms::owner_all);
}
