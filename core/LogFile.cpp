#include "core/LogFile.h"

#include "platform/posix/ProgramFolder.h"
#include "platform/posix/RotatingLogFile.h"

#include <QLocale>

QString LogLinePrefix(const QDateTime& at)
{
    return QLocale().toString(at.date(), QLocale::ShortFormat) + at.time().toString(QStringLiteral(" hh:mm:ss.zzz : "));
}

bool WriteLogFile(const QString& folder, const QString& name, const QString& text)
{
    const QString line = LogLinePrefix(QDateTime::currentDateTime()) + text + QStringLiteral("\r\n");
    const std::string path = folder.toStdString() + "/" + name.toStdString() + ".log";
    return AppendToLogFile(path, line.toStdString());
}

bool WriteLogFile(const QString& name, const QString& text)
{
    return WriteLogFile(QString::fromStdString(ProgramFolder()), name, text);
}
