#include "app/files/BackupCopy.h"

#include "platform/posix/AtomicFile.h"
#include "platform/posix/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr double kDaysPerMonth = 30.4375;

std::string Native(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// Makes the one folder level; an error text, empty when the folder is there.
QString MakeFolder(const QString& folder)
{
    const std::string path = Native(folder);
    if (mkdir(path.c_str(), 0755) == 0)
        return {};
    const int error = errno;
    struct stat st {};
    if (error == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return {};
    return QString::fromStdString(SystemErrorText(error == EEXIST ? ENOTDIR : error));
}

} // namespace

int BackupMonthsBetween(TDateTime now, TDateTime lastBackup)
{
    const double months = std::trunc(std::fabs(now - lastBackup) / kDaysPerMonth);
    return months > 1e9 ? 1000000000 : static_cast<int>(months);
}

bool BackupDue(TDateTime now, TDateTime lastBackup)
{
    return BackupMonthsBetween(now, lastBackup) > 1;
}

QString BackupFolderProblem(const QString& chosen)
{
    const QString choose = QStringLiteral(" Выберите папку кнопкой справа от поля.");
    if (chosen.trimmed().isEmpty())
        return QStringLiteral("Не указана папка для резервной копии.") + choose;
    if (!QDir::isAbsolutePath(chosen))
        return QStringLiteral("Укажите полный путь к папке, начиная с \"/\": \"%1\".").arg(chosen) + choose;
    const std::string path = Native(chosen);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        const QString why = QString::fromStdString(SystemErrorText(errno));
        return QStringLiteral("Папка \"%1\" недоступна: %2.").arg(chosen, why) + choose;
    }
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("\"%1\" - не папка.").arg(chosen) + choose;
    // Judged as the copying will be: with the effective rights.
    if (faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        const QString why = QString::fromStdString(SystemErrorText(errno));
        return QStringLiteral("В папку \"%1\" нельзя записать: %2. Выберите другую папку кнопкой справа от поля.")
            .arg(chosen, why);
    }
    return {};
}

QString BackupFolderName(const QString& chosen, const QDate& date, const QLocale& locale)
{
    QString day = locale.toString(date, QLocale::ShortFormat);
    day.replace(QLatin1Char('/'), QLatin1Char('.'));
    return chosen + QStringLiteral("/Tavik_zuzid backup ") + day;
}

QString TBackupResult::Problems() const
{
    QStringList lines;
    if (!FolderError.isEmpty())
        lines << QStringLiteral("Не удалось создать папку \"%1\": %2").arg(Folder, FolderError);
    for (const QString& failure : Failed)
        lines << QStringLiteral("Не удалось скопировать %1").arg(failure);
    if (lines.isEmpty())
        return {};
    return QStringLiteral("Резервная копия конфигурации сделана не полностью.\r\n") + lines.join(QStringLiteral("\r\n"));
}

TBackupResult MakeBackup(const QString& folder, const QStringList& files)
{
    TBackupResult result;
    result.Folder = folder;
    result.FolderError = MakeFolder(folder);
    for (const QString& file : files) {
        if (file.isEmpty())
            continue;
        std::string octets, error;
        const ReadResult read = ReadWholeFile(Native(file), octets, &error);
        if (read == ReadResult::Missing) {
            result.Missing << file;
            continue;
        }
        if (!result.FolderError.isEmpty()) {
            result.Failed << QStringLiteral("\"%1\": нет папки копии").arg(file);
            continue;
        }
        const QString target = folder + QLatin1Char('/') + QFileInfo(file).fileName();
        if (read == ReadResult::Failed || !WriteFileAtomically(Native(target), octets, &error))
            result.Failed << QStringLiteral("\"%1\": %2").arg(file, QString::fromStdString(error));
        else
            result.Copied << file;
    }
    return result;
}
