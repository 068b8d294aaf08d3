#pragma once
// One user of the program: administrator flag, password (compared exactly, may be empty) and
// name. The stored form of the password is "flagged": "1" (administrator) or "0", then the
// password itself.
#include <QString>

struct TUser {
    bool IsAdmin = false;
    QString Password;
    QString UserName;

    TUser(const QString& name, const QString& flaggedPassword);
    QString FlaggedPassword() const;
};
