#include "platform/posix/IniFile.h"

#include "base/CodePage.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tz_ini_" + std::to_string(getpid()) + "_" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        path = (folder / "Tavik_zuzid.INI").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    void Put(const std::string& octets) { std::ofstream(path, std::ios::binary) << octets; }
    std::string Contents() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::vector<std::string> FolderEntries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
    std::string path;
};

TEST_F(IniFileTest, MissingFileGivesDefaultsAndTheFirstWriteCreatesIt)
{
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Общие", "Тмах", 30), 30);
    EXPECT_EQ(ini.ReadString("Общие", "КЗ", "КЗ"), "КЗ");
    EXPECT_FALSE(ini.SectionExists("Общие"));
    EXPECT_FALSE(fs::exists(path));
    ini.WriteInteger("Общие", "Тмах", 31);
    ini.WriteString("Общие", "Обрыв", "X");
    EXPECT_EQ(Contents(), "[Общие]\nТмах=31\nОбрыв=X\n");
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Tavik_zuzid.INI"}));   // no temporary left
}

TEST_F(IniFileTest, IntegersAsTheProgramHasAlwaysReadThem)
{
    Put("[N]\na=12\nb= -7 \nc=+3\nd=$1F\ne=0x1f\nf=$FFFFFFFF\ng=2147483648\nh=-2147483648\n"
        "i=12abc\nj=\nk=1.5\nl=0x\nm=-0\nn=2147483647\no=$100000000\n");
    IniFile ini(path);
    const std::pair<const char*, int32_t> cases[] = {
        {"a", 12}, {"b", -7}, {"c", 3}, {"d", 31}, {"e", 31}, {"f", -1}, {"g", 99}, {"h", -2147483647 - 1},
        {"i", 99}, {"j", 99}, {"k", 99}, {"l", 99}, {"m", 0}, {"n", 2147483647}, {"o", 99}, {"missing", 99},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(ini.ReadInteger("n", key, 99), expected) << key;
}

TEST_F(IniFileTest, BooleansAreIntegersWithAnythingButZeroTrue)
{
    Put("[B]\nzero=0\none=1\ntwo=2\nminus=-1\nword=True\nempty=\n");
    IniFile ini(path);
    EXPECT_FALSE(ini.ReadBool("B", "zero", true));
    EXPECT_TRUE(ini.ReadBool("B", "one", false));
    EXPECT_TRUE(ini.ReadBool("B", "two", false));
    EXPECT_TRUE(ini.ReadBool("B", "minus", false));
    EXPECT_TRUE(ini.ReadBool("B", "word", true));    // not a number: the default
    EXPECT_FALSE(ini.ReadBool("B", "word", false));
    EXPECT_FALSE(ini.ReadBool("B", "empty", false));
    EXPECT_TRUE(ini.ReadBool("B", "missing", true));
    ini.WriteBool("B", "w", true);
    ini.WriteBool("B", "x", false);
    EXPECT_EQ(ini.ReadString("B", "w", ""), "1");
    EXPECT_EQ(ini.ReadString("B", "x", ""), "0");
}

TEST_F(IniFileTest, FloatsReadWithPointOrCommaAndAreWrittenWithAPoint)
{
    Put("[F]\na=0.5\nb=0,5\nc=1e3\nd=-2.5E-1\ne=+1.5\nf=abc\ng=1.2.3\nh=inf\ni=\nj=nan\nk=1,5e2\n");
    IniFile ini(path);
    const std::pair<const char*, double> cases[] = {
        {"a", 0.5}, {"b", 0.5}, {"c", 1000}, {"d", -0.25}, {"e", 1.5}, {"f", 7}, {"g", 7}, {"h", 7},
        {"i", 7}, {"j", 7}, {"k", 150}, {"missing", 7},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(ini.ReadFloat("F", key, 7), expected) << key;

    ini.WriteFloat("F", "half", 0.5);
    ini.WriteFloat("F", "whole", 2400);
    ini.WriteFloat("F", "third", 1.0 / 3);
    EXPECT_EQ(ini.ReadString("F", "half", ""), "0.5");
    EXPECT_EQ(ini.ReadString("F", "whole", ""), "2400");
    EXPECT_EQ(ini.ReadString("F", "third", ""), "0.333333333333333");
    EXPECT_NEAR(ini.ReadFloat("F", "third", 0), 1.0 / 3, 1e-15);
}

TEST_F(IniFileTest, WritingKeepsCommentsUnknownKeysAndOrderAndConvertsToUtf8)
{
    Put(Utf8ToCp1251("; сделано вручную\r\n[Общие]\r\nТмах=25\r\nЧужой ключ=оставить\r\n\r\n[Tree]\r\nLast=3\r\n"));
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("общие", "тмах", 0), 25);
    ini.WriteInteger("Общие", "Тмах", 26);
    EXPECT_EQ(Contents(), "; сделано вручную\r\n[Общие]\r\nТмах=26\r\nЧужой ключ=оставить\r\n\r\n[Tree]\r\nLast=3\r\n");
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Общие", "Tree"}));
    EXPECT_EQ(ini.ReadSection("общие"), (std::vector<std::string>{"Тмах", "Чужой ключ"}));
}

TEST_F(IniFileTest, SeveralObjectsOverOneFileSeeAndKeepEachOthersWrites)
{
    IniFile main(path), schedule(path);
    EXPECT_EQ(schedule.ReadInteger("Расписание", "Count", 0), 0);   // loads its copy now
    main.WriteInteger("Общие", "Тмах", 33);
    schedule.WriteInteger("Расписание", "Count", 2);                  // must not drop main's key
    EXPECT_EQ(main.ReadInteger("Расписание", "Count", 0), 2);
    EXPECT_EQ(schedule.ReadInteger("Общие", "Тмах", 0), 33);
    EXPECT_EQ(Contents(), "[Общие]\nТмах=33\n\n[Расписание]\nCount=2\n");
}

TEST_F(IniFileTest, AnUpdateWritesTheFileOnceAndKeepsWritesMadeMeanwhile)
{
    Put("[Общие]\nТмах=30\n");
    IniFile ini(path), other(path);
    ini.BeginUpdate();
    for (int i = 0; i < 100; ++i)
        ini.WriteInteger("Конфигурация", "Процедура" + std::to_string(i), i);
    EXPECT_EQ(ini.ReadInteger("Конфигурация", "Процедура99", -1), 99);   // visible to its own object
    EXPECT_EQ(Contents(), "[Общие]\nТмах=30\n");                         // not yet on disk
    other.WriteString("Tree", "Last", "5");
    ini.BeginUpdate();   // nested: only the outer end writes
    ini.DeleteKey("Общие", "Тмах");
    ini.EndUpdate();
    EXPECT_FALSE(other.ValueExists("Конфигурация", "Процедура0"));
    ini.EndUpdate();

    IniFile fresh(path);
    EXPECT_EQ(fresh.ReadString("Tree", "Last", ""), "5");
    EXPECT_EQ(fresh.ReadInteger("Конфигурация", "Процедура0", -1), 0);
    EXPECT_EQ(fresh.ReadInteger("Конфигурация", "Процедура99", -1), 99);
    EXPECT_FALSE(fresh.ValueExists("Общие", "Тмах"));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKeyReachTheFile)
{
    Put("[Расписание]\nCount=2\nItem0=a\n[Общие]\nТмах=30\nКЗ=КЗ\n");
    IniFile ini(path);
    ini.EraseSection("расписание");
    ini.DeleteKey("Общие", "кз");
    EXPECT_EQ(Contents(), "[Общие]\nТмах=30\n");
}

TEST_F(IniFileTest, BadNamesAndValuesFailAtTheirOwnWrite)
{
    IniFile ini(path);
    ini.BeginUpdate();
    ini.WriteString("S", "good", "1");
    EXPECT_THROW(ini.WriteString("S", "bad", "line\nbreak"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S", "a=b", "1"), EIniFileError);
    EXPECT_THROW(ini.WriteString("S", "name", "\xD2\xEC\xE0\xF5"), EIniFileError);   // code page 1251
    ini.EndUpdate();
    EXPECT_EQ(Contents(), "[S]\ngood=1\n");
}

// A write that cannot finish (here: the file size limit, as with a full disk) throws, leaves the
// old file whole, and leaves no temporary file behind; the change is kept for the next try.
TEST_F(IniFileTest, AFailedWriteLeavesTheOldFileWhole)
{
    const std::string old = "[Общие]\nТмах=30\n; " + std::string(200, 'x') + "\n";
    Put(old);
    IniFile ini(path);
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(ini.WriteInteger("Общие", "Тмах", 31), EIniFileError);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(Contents(), old);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"Tavik_zuzid.INI"}));
    ini.WriteString("Общие", "КЗ", "КЗ");   // the next write carries the failed change too
    IniFile fresh(path);
    EXPECT_EQ(fresh.ReadInteger("Общие", "Тмах", 0), 31);
    EXPECT_EQ(fresh.ReadString("Общие", "КЗ", ""), "КЗ");
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    fs::create_directory(path);   // something unreadable stands at the file's name
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Общие", "Тмах", 30), 30);
    try {
        ini.WriteInteger("Общие", "Тмах", 31);
        FAIL() << "the write must fail";
    } catch (const EIniFileError& e) {
        EXPECT_NE(e.Message().find("Tavik_zuzid.INI"), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(fs::is_directory(path));

    IniFile nowhere((folder / "missing" / "x.INI").string());
    EXPECT_THROW(nowhere.WriteInteger("S", "k", 1), EIniFileError);
}

TEST_F(IniFileTest, ALinkedFileIsWrittenInPlaceWithItsPermissions)
{
    const fs::path real = folder / "real.ini";
    std::ofstream(real) << "[S]\nk=1\n";
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, path);
    IniFile ini(path);
    ini.WriteInteger("S", "k", 2);
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(Contents(), "[S]\nk=2\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(IniFileTest, ChangesMadeByAnotherProgramAreSeen)
{
    Put("[S]\nk=1\n");
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
    Put("[S]\nk=22\n");   // a different size, so even a coarse clock shows the change
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 22);
}
