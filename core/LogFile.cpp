#include "core/LogFile.h"

#include "base/FormatDateTime.h"
#include "platform/posix/ProgramFolder.h"
#include "platform/posix/RotatingLogFile.h"


QString LogLinePrefix(TDateTime at)
{
    return QString::fromStdString(FormatDateTime("ddddd hh:nn:ss.zzz : ", at));
}

bool WriteLogFile(const QString& folder, const QString& name, const QString& text)
{
    const QString line = LogLinePrefix(Now()) + text + QStringLiteral("\r\n");
    const std::string path = folder.toStdString() + "/" + name.toStdString() + ".log";
    return AppendToLogFile(path, line.toStdString());
}

bool WriteLogFile(const QString& name, const QString& text)
{
    return WriteLogFile(QString::fromStdString(ProgramFolder()), name, text);
}
