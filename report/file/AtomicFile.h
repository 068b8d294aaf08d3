#pragma once
// A file written whole or not at all: the content goes into a temporary file beside it, which
// replaces the file only once all of it is written, so a failure never leaves half a file. The
// file in place keeps the mode of the one it replaces, or a new one takes the user's umask.
#include <functional>

#include <QIODevice>
#include <QString>

// Calls write with the temporary file, then puts it in place. A file that cannot be made or
// written raises EWriteError "Не удалось записать файл "<name>": <reason>", an EWriteError out
// of write is raised again with that frame, any other exception passes on as it is; in every
// failure the old file stays as it was.
void WriteFileAtomically(const QString& fileName, const std::function<void(QIODevice& file)>& write);
