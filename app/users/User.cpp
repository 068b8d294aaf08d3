#include "app/users/User.h"

TUser::TUser(const QString& name, const QString& flaggedPassword)
    : IsAdmin(flaggedPassword.startsWith(QLatin1Char('1'))), Password(flaggedPassword.mid(1)), UserName(name)
{
}

QString TUser::FlaggedPassword() const
{
    return (IsAdmin ? QStringLiteral("1") : QStringLiteral("0")) + Password;
}
