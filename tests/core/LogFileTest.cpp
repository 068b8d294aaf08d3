#include "core/LogFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

TEST(LogFile, LineIsTimeStampedTextAndCrLf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteLogFile(dir.path(), QStringLiteral("Error"), QStringLiteral("<-:  01 02")));
    ASSERT_TRUE(WriteLogFile(dir.path(), QStringLiteral("Error"), QStringLiteral("->: ошибка")));

    QFile file(dir.filePath(QStringLiteral("Error.log")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[2].isEmpty());
    const QRegularExpression form(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d : (.*)$"));
    const auto first = form.match(lines[0]);
    ASSERT_TRUE(first.hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(first.captured(1), QStringLiteral("<-:  01 02"));
    EXPECT_EQ(form.match(lines[1]).captured(1), QStringLiteral("->: ошибка"));
}

TEST(LogFile, PrefixHasTheShortDateAndTimeToTheMillisecond)
{
    EXPECT_EQ(LogLinePrefix(EncodeDateTime(2024, 3, 5, 7, 8, 9, 12)), QStringLiteral("05.03.2024 07:08:09.012 : "));
}

TEST(LogFile, DefaultFolderIsTheProgramsFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray old = qgetenv("TAVIK_ZUZID_HOME");
    qputenv("TAVIK_ZUZID_HOME", dir.path().toUtf8());
    const bool written = WriteLogFile(QStringLiteral("speed"), QStringLiteral("1.1.1"));
    if (old.isNull())
        qunsetenv("TAVIK_ZUZID_HOME");
    else
        qputenv("TAVIK_ZUZID_HOME", old);
    EXPECT_TRUE(written);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("speed.log"))));
}
