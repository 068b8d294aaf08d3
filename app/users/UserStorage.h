#pragma once
// The users in the settings file, section "Пользователи": "Count", then "Name%d" and "Psw%d"
// numbered from 0, the name and the flagged password ("1" or "0", then the password) each
// enciphered with the program's Vigenère key.
//
// An enciphered text may hold any octet, including line breaks, NUL, quotes and leading
// blanks, which an INI line cannot keep; so it is stored as "hex:" followed by its octets in
// hexadecimal. Values stored the older way (the enciphered code page 1251 text itself) are
// still read.
#include <QString>

#include <memory>
#include <string>
#include <vector>

class IniFile;
struct TUser;

using TUserList = std::vector<std::unique_ptr<TUser>>;

inline constexpr const char* kUsersSection = "Пользователи";

// The stored form of a name or flagged password, and back. An empty text is stored empty.
std::string EncipherForSettings(const QString& plain);
QString DecipherFromSettings(const std::string& stored);

// Reads the users in file order; a user whose stored name is empty, or whose name repeats an
// earlier one exactly, is skipped.
TUserList ReadUsers(const IniFile& ini);
void WriteUsers(IniFile& ini, const TUserList& users);

// When no user is an administrator (also when there is none), appends "Admin", an
// administrator with an empty password, and returns it; otherwise returns nullptr.
TUser* AddFallbackAdministrator(TUserList& users);
