#include "report/file/AtomicFile.h"

#include <QSaveFile>

#include "report/runtime/ReportErrors.h"

namespace {

EWriteError WriteFailure(const QString& fileName, const QString& why)
{
    return EWriteError(QStringLiteral("Не удалось записать файл \"%1\": %2").arg(fileName, why));
}

} // namespace

void WriteFileAtomically(const QString& fileName, const std::function<void(QIODevice& file)>& write)
{
    QSaveFile file(fileName);   // discards the temporary file unless committed
    if (!file.open(QIODevice::WriteOnly))
        throw WriteFailure(fileName, file.errorString());
    try {
        write(file);
    } catch (const EWriteError& error) {
        throw WriteFailure(fileName, QString::fromUtf8(error.what()));
    }
    if (!file.commit())
        throw WriteFailure(fileName, file.errorString());
}
