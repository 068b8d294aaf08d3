#include "core/Exchange/OverlayLog.h"

#include "base/DateTime.h"
#include "base/FormatDateTime.h"
#include "platform/posix/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <mutex>

namespace {

constexpr qsizetype kMaxLines = 1000;
const QString kLineEnd = QStringLiteral("\r\n");

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();   // the end of the last line, not a line of its own
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

bool WriteLines(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write((lines.join(kLineEnd) + kLineEnd).toUtf8());
    return file.commit();
}

// Moves a full log aside; false when it could not be moved (the lines then stay in the log).
bool MoveAside(const QString& path, const QString& oldPath)
{
    QFile::remove(oldPath);
    return QFile::rename(path, oldPath);
}

} // namespace

bool WriteOverlayLog(const QString& folder, const QString& text)
{
    static std::mutex lock;
    std::lock_guard guard(lock);
    const QDir dir(folder);
    const QString path = dir.filePath(QStringLiteral("overlay.log"));
    QStringList lines = ReadLines(path);
    if (lines.size() > kMaxLines && MoveAside(path, dir.filePath(QStringLiteral("overlay.old.log"))))
        lines.clear();
    lines << QString::fromStdString(FormatDateTime("c", Now())) + QStringLiteral(": ") + text;
    return WriteLines(path, lines);
}

bool WriteOverlayLog(const QString& text)
{
    return WriteOverlayLog(QString::fromStdString(ProgramFolder()), text);
}
