#pragma once
// The backup of the settings, layout and data files: when it is due, the dated folder it goes
// into, and the copying. Each copy is whole or absent (a new file takes its name only once
// complete), and every file that could not be copied is named in the result, so that the
// operator learns of it instead of trusting a backup that is not there.
#include "base/DateTime.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

// Whole months (of 30.4375 days) between the two moments, whichever comes first.
int BackupMonthsBetween(TDateTime now, TDateTime lastBackup);
// Two whole months or more since the last backup (0: never made, so always due).
bool BackupDue(TDateTime now, TDateTime lastBackup);

// Why the chosen folder cannot take a backup, in words for the operator; empty when it can. The
// folder must be named in full (an empty or relative name would put the backup wherever the
// program happens to run, the file system's root included), exist, and take new entries.
QString BackupFolderProblem(const QString& chosen);

// "<chosen>/Tavik_zuzid backup <date>", the date in the locale's short format. A path separator
// inside the date would make nested folders that the single folder level never creates, so
// it becomes a dot.
QString BackupFolderName(const QString& chosen, const QDate& date, const QLocale& locale);

struct TBackupResult {
    QString Folder;
    QString FolderError;    // why the folder could not be made; empty when it was
    QStringList Copied;     // the files copied
    QStringList Missing;    // files that do not exist (a layout never saved): nothing to lose
    QStringList Failed;     // "<file>: <why>" for each copy that failed

    // The folder holds a copy of every file that exists.
    bool Complete() const { return FolderError.isEmpty() && Failed.isEmpty(); }
    // What the operator is told when the folder or a copy failed; empty otherwise.
    QString Problems() const;
};

// Makes the folder (one level; one that exists is used as it is) and copies each named file
// into it under its own name, replacing a file of that name. Empty names are not files of this
// installation and are passed over.
TBackupResult MakeBackup(const QString& folder, const QStringList& files);
