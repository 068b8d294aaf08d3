#include "app/users/UserStorage.h"

#include "app/users/VigenereCipher.h"
#include "app/users/User.h"
#include "base/CodePage.h"
#include "platform/posix/IniFile.h"

#include <QByteArray>

#include <algorithm>

namespace {

constexpr const char* kHexPrefix = "hex:";
// More users than this in a hand-edited file is a broken count, not a staff list.
constexpr int kMaxUsers = 10000;

const TVigenereCipher& Cipher()
{
    static const TVigenereCipher cipher("tavikzuzid");
    return cipher;
}

std::string Key(const char* name, int index)
{
    return name + std::to_string(index);
}

bool IsHexForm(const std::string& stored)
{
    if (!stored.starts_with(kHexPrefix))
        return false;
    const std::string_view digits = std::string_view(stored).substr(std::string_view(kHexPrefix).size());
    return digits.size() % 2 == 0 && std::all_of(digits.begin(), digits.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    });
}

} // namespace

std::string EncipherForSettings(const QString& plain)
{
    if (plain.isEmpty())
        return {};
    const QByteArray utf8 = plain.toUtf8();
    const std::string enciphered = Cipher().Encode(std::string_view(utf8.constData(), utf8.size()));
    return kHexPrefix + QByteArray(enciphered.data(), static_cast<qsizetype>(enciphered.size())).toHex().toUpper().toStdString();
}

QString DecipherFromSettings(const std::string& stored)
{
    if (IsHexForm(stored)) {
        const QByteArray octets = QByteArray::fromHex(QByteArray::fromStdString(stored.substr(std::string_view(kHexPrefix).size())));
        const std::string plain = Cipher().Decode(std::string_view(octets.constData(), octets.size()));
        return IsValidUtf8(plain) ? QString::fromStdString(plain) : QString::fromStdString(Cp1251ToUtf8(plain));
    }
    // The older form: the enciphered code page 1251 text as it stood in the file.
    return QString::fromStdString(Cp1251ToUtf8(Cipher().Decode(Utf8ToCp1251(stored))));
}

TUserList ReadUsers(const IniFile& ini)
{
    TUserList users;
    const int count = std::clamp(ini.ReadInteger(kUsersSection, "Count", 0), 0, kMaxUsers);
    for (int i = 0; i < count; ++i) {
        const std::string storedName = ini.ReadString(kUsersSection, Key("Name", i), "");
        if (storedName.empty())
            continue;
        const QString name = DecipherFromSettings(storedName);
        const bool repeated = std::any_of(users.begin(), users.end(), [&](const auto& user) { return user->UserName == name; });
        if (repeated)
            continue;
        const QString flagged = DecipherFromSettings(ini.ReadString(kUsersSection, Key("Psw", i), ""));
        users.push_back(std::make_unique<TUser>(name, flagged));
    }
    return users;
}

void WriteUsers(IniFile& ini, const TUserList& users)
{
    ini.WriteInteger(kUsersSection, "Count", static_cast<int32_t>(users.size()));
    for (size_t i = 0; i < users.size(); ++i) {
        ini.WriteString(kUsersSection, Key("Name", static_cast<int>(i)), EncipherForSettings(users[i]->UserName));
        ini.WriteString(kUsersSection, Key("Psw", static_cast<int>(i)), EncipherForSettings(users[i]->FlaggedPassword()));
    }
}

TUser* AddFallbackAdministrator(TUserList& users)
{
    if (std::any_of(users.begin(), users.end(), [](const auto& user) { return user->IsAdmin; }))
        return nullptr;
    users.push_back(std::make_unique<TUser>(QStringLiteral("Admin"), QStringLiteral("1")));
    return users.back().get();
}
