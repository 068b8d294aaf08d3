#pragma once
// The files of tests/report/data, which other programs made (see its README.md).
#include <QByteArray>
#include <QFile>
#include <QString>

inline QString TestDataPath(const char* name)
{
    return QStringLiteral(TZ_REPORT_TEST_DATA "/") + QString::fromLatin1(name);
}

// The file's octets; empty when it cannot be read.
inline QByteArray TestDataFile(const char* name)
{
    QFile file(TestDataPath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
