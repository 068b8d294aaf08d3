// The user's store of remembered values: where it lives, what survives a restart, and that a
// damaged file or a failing disk never costs the program more than the values themselves.
#include "platform/qt/KeyValueStore.h"

#include "support/ScopedEnv.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kKey = QStringLiteral("Software\\ReportEngine\\Form\\TrpPreviewForm");

void WriteFile(const QString& path, const QByteArray& octets)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(octets);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(KeyValueStore, LivesInTheUserConfigFolderWhichIsMadeOnFirstWrite)
{
    QTemporaryDir config;
    ScopedEnv env("XDG_CONFIG_HOME", config.path().toStdString() + "/nested/");
    const QString expected = config.path() + QStringLiteral("/nested/Tavik_zuzid/user.ini");
    EXPECT_EQ(KeyValueStore::DefaultPath(), expected);

    KeyValueStore store;
    EXPECT_EQ(store.FileName(), expected);
    EXPECT_FALSE(QFile::exists(expected));   // reading alone creates nothing
    EXPECT_EQ(store.ReadString(kKey, QStringLiteral("Width"), QStringLiteral("none")), QStringLiteral("none"));
    store.WriteString(kKey, QStringLiteral("Width"), QStringLiteral("600"));
    EXPECT_TRUE(QFile::exists(expected));
}

TEST(KeyValueStore, ValuesSurviveARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("user.ini"));
    {
        KeyValueStore store(path);
        store.WriteString(QStringLiteral("Software\\ReportEngine\\MRUFont"), QStringLiteral("Font0"),
                          QStringLiteral("Liberation Sans"));
        store.WriteInteger(QStringLiteral("Software\\ReportEngine\\MRUFont"), QStringLiteral("FontType0"), 4);
        store.WriteString(kKey, QStringLiteral("Caption"), QStringLiteral("Предпросмотр = печать"));
    }
    const KeyValueStore store(path);
    // Key paths and names compare without regard to case, as registry paths do.
    EXPECT_EQ(store.ReadString(QStringLiteral("software\\reportengine\\mrufont"), QStringLiteral("font0")),
              QStringLiteral("Liberation Sans"));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("Software\\ReportEngine\\MRUFont"), QStringLiteral("FontType0"), -1), 4);
    EXPECT_EQ(store.ReadString(kKey, QStringLiteral("Caption")), QStringLiteral("Предпросмотр = печать"));
    EXPECT_TRUE(store.ValueExists(kKey, QStringLiteral("Caption")));
    EXPECT_FALSE(store.ValueExists(kKey, QStringLiteral("Width")));
    EXPECT_EQ(store.ReadInteger(kKey, QStringLiteral("Caption"), -1), -1);   // no number: the default
}

TEST(KeyValueStore, DamagedFileReadsAsEmptyAndIsReplacedWhole)
{
    const QByteArray damaged[] = {
        QByteArray("\x00\xff\xfe[\x01\x02=\n\x00\x00", 10),   // binary garbage
        QByteArray("[Software\\ReportEngine\\Form\\TrpPreviewFo"),  // cut off in the key path
        QByteArray(4096, '\0'),
    };
    for (const QByteArray& octets : damaged) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("user.ini"));
        WriteFile(path, octets);
        KeyValueStore store(path);
        EXPECT_EQ(store.ReadString(kKey, QStringLiteral("Width"), QStringLiteral("-")), QStringLiteral("-"));
        EXPECT_EQ(store.ReadInteger(kKey, QStringLiteral("Width"), 7), 7);
        store.WriteString(kKey, QStringLiteral("Width"), QStringLiteral("600"));
        EXPECT_EQ(KeyValueStore(path).ReadString(kKey, QStringLiteral("Width")), QStringLiteral("600"));
    }
}

TEST(KeyValueStore, FailedWriteThrowsAndLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    // The store's folder cannot be made: a plain file stands where it should be.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    WriteFile(blocker, "not a folder");
    KeyValueStore blocked(blocker + QStringLiteral("/user.ini"));
    EXPECT_THROW(blocked.WriteString(kKey, QStringLiteral("Width"), QStringLiteral("1")), EIniFileError);
    EXPECT_EQ(ReadFile(blocker), QByteArray("not a folder"));

    // An update that fails keeps its values for the next try.
    const QString path = dir.filePath(QStringLiteral("later/user.ini"));
    KeyValueStore store(path);
    WriteFile(dir.filePath(QStringLiteral("later")), "in the way");
    store.BeginUpdate();
    store.WriteString(kKey, QStringLiteral("Width"), QStringLiteral("640"));
    EXPECT_THROW(store.EndUpdate(), EIniFileError);
    QFile::remove(dir.filePath(QStringLiteral("later")));
    store.WriteString(kKey, QStringLiteral("Height"), QStringLiteral("480"));
    const KeyValueStore reread(path);
    EXPECT_EQ(reread.ReadString(kKey, QStringLiteral("Width")), QStringLiteral("640"));
    EXPECT_EQ(reread.ReadString(kKey, QStringLiteral("Height")), QStringLiteral("480"));
}
