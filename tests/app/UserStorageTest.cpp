// Users in the settings file: the cipher, the stored forms, the reading rules, the fallback.
#include "app/users/UserStorage.h"
#include "app/users/VigenereCipher.h"
#include "app/users/User.h"
#include "base/CodePage.h"
#include "platform/posix/IniFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

namespace {

class UserStorageTest : public ::testing::Test {
protected:
    std::string Path() const { return QDir(dir.path()).filePath("Tavik_zuzid.INI").toStdString(); }
    void WriteFile(const std::string& octets) const { std::ofstream(Path(), std::ios::binary) << octets; }
    QTemporaryDir dir;
};

TEST(VigenereCipher, ShiftsEachOctetByTheRepeatingKeyAndBack)
{
    const TVigenereCipher cipher("abc");
    EXPECT_EQ(cipher.Encode(std::string("\x00\x01\x02\x03", 4)), std::string("aced"));
    EXPECT_EQ(cipher.Encode("\xff"), std::string("\x60"));   // wraps modulo 256
    const std::string every = [] {
        std::string s;
        for (int i = 0; i < 256; ++i)
            s += static_cast<char>(i);
        return s;
    }();
    EXPECT_EQ(cipher.Decode(cipher.Encode(every)), every);
    EXPECT_NE(cipher.Encode(every), every);
}

TEST_F(UserStorageTest, NamesAndPasswordsSurviveWhateverOctetsTheirCipherTextHolds)
{
    TUserList users;
    users.push_back(std::make_unique<TUser>(QStringLiteral("Главный технолог"), QStringLiteral("1пароль")));
    users.push_back(std::make_unique<TUser>(QStringLiteral("  blanks  "), QStringLiteral("0\"quoted\"")));
    users.push_back(std::make_unique<TUser>(QStringLiteral("line\r\nbreak"), QStringLiteral("0;=[x]")));
    // Names whose cipher text holds NUL, CR and LF with the program's key.
    const TVigenereCipher cipher("tavikzuzid");
    for (const char* letter : {"П", "Ь", "Щ"})
        users.push_back(std::make_unique<TUser>(QString::fromUtf8(letter), QStringLiteral("0")));
    EXPECT_EQ(cipher.Encode("П"), std::string("D\0", 2));
    EXPECT_EQ(cipher.Encode("Ь"), "D\r");
    EXPECT_EQ(cipher.Encode("Щ"), "D\n");
    {
        IniFile ini(Path());
        WriteUsers(ini, users);
    }
    IniFile back(Path());
    EXPECT_EQ(back.ReadInteger(kUsersSection, "Count", -1), 6);
    EXPECT_EQ(back.ReadString(kUsersSection, "Name0", "").rfind("hex:", 0), 0u);
    const TUserList read = ReadUsers(back);
    ASSERT_EQ(read.size(), users.size());
    for (size_t i = 0; i < users.size(); ++i) {
        EXPECT_EQ(read[i]->UserName, users[i]->UserName) << i;
        EXPECT_EQ(read[i]->Password, users[i]->Password) << i;
        EXPECT_EQ(read[i]->IsAdmin, users[i]->IsAdmin) << i;
    }
}

TEST_F(UserStorageTest, ValuesStoredTheOlderWayAreStillRead)
{
    // The older form: the enciphered code page 1251 text itself, in a code page 1251 file.
    const TVigenereCipher cipher("tavikzuzid");
    const std::string name = cipher.Encode(Utf8ToCp1251("Оператор"));
    const std::string password = cipher.Encode(Utf8ToCp1251("0смена"));
    WriteFile(Utf8ToCp1251("[Пользователи]\r\nCount=1\r\nName0=") + name + "\r\nPsw0=" + password + "\r\n");
    IniFile ini(Path());
    const TUserList users = ReadUsers(ini);
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users[0]->UserName, "Оператор");
    EXPECT_EQ(users[0]->Password, "смена");
    EXPECT_FALSE(users[0]->IsAdmin);
}

TEST_F(UserStorageTest, EmptyAndRepeatedNamesAreSkipped)
{
    const auto stored = [](const char* text) { return EncipherForSettings(QString::fromUtf8(text)); };
    WriteFile("[Пользователи]\nCount=5\nName0=" + stored("Иванов") + "\nPsw0=" + stored("1a") +
              "\nName1=\nPsw1=" + stored("1b") +
              "\nName2=" + stored("Иванов") + "\nPsw2=" + stored("0c") +
              "\nName3=" + stored("Петров") + "\nPsw3=" + stored("0d") + "\n");   // Name4 missing
    IniFile ini(Path());
    const TUserList users = ReadUsers(ini);
    ASSERT_EQ(users.size(), 2u);
    EXPECT_EQ(users[0]->UserName, "Иванов");
    EXPECT_EQ(users[0]->Password, "a");
    EXPECT_TRUE(users[0]->IsAdmin);
    EXPECT_EQ(users[1]->UserName, "Петров");
    EXPECT_EQ(EncipherForSettings(QString()), "");
}

TEST_F(UserStorageTest, BrokenCountsReadNoUsers)
{
    for (const char* count : {"-1", "x", "0"}) {
        WriteFile(std::string("[Пользователи]\nCount=") + count + "\nName0=hex:00\n");
        IniFile ini(Path());
        EXPECT_TRUE(ReadUsers(ini).empty()) << count;
    }
}

TEST(UserFallback, AdminIsAddedOnlyWhenNoUserIsAnAdministrator)
{
    TUserList none;
    TUser* admin = AddFallbackAdministrator(none);
    ASSERT_NE(admin, nullptr);
    EXPECT_EQ(admin->UserName, "Admin");
    EXPECT_TRUE(admin->IsAdmin);
    EXPECT_TRUE(admin->Password.isEmpty());

    TUserList operators;
    operators.push_back(std::make_unique<TUser>(QStringLiteral("Оператор"), QStringLiteral("0x")));
    EXPECT_NE(AddFallbackAdministrator(operators), nullptr);
    EXPECT_EQ(operators.size(), 2u);
    EXPECT_EQ(operators[1]->UserName, "Admin");

    TUserList withAdmin;
    withAdmin.push_back(std::make_unique<TUser>(QStringLiteral("Главный"), QStringLiteral("1x")));
    EXPECT_EQ(AddFallbackAdministrator(withAdmin), nullptr);
    EXPECT_EQ(withAdmin.size(), 1u);
}

} // namespace
