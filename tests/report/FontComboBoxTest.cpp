// The font name combo box: the five recently used fonts, newest first, kept in the user's
// store; fonts no longer installed dropped; the flat combo's read-only switch.
#include "report/ui/FontComboBox.h"

#include "platform/qt/KeyValueStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

const QString kKey = QStringLiteral("Software\\ReportEngine\\MRUFont");

class FontComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        installed = QFontDatabase::families();
        installed.sort(Qt::CaseInsensitive);
        if (installed.size() < 6)
            GTEST_SKIP() << "fewer than six font families installed";
    }

    QStringList Recent(const TrpFontComboBox& combo) const
    {
        QStringList names;
        for (int i = 0; i < combo.RecentCount(); ++i)
            names << combo.itemText(i);
        return names;
    }

    QStringList Stored() const
    {
        QStringList names;
        for (int n = 0; n < 5; ++n)
            names << store.ReadString(kKey, QStringLiteral("Font%1").arg(n), QStringLiteral("<missing>"));
        return names;
    }

    void StoreRecent(const QStringList& names)
    {
        for (int n = 0; n < names.size(); ++n) {
            store.WriteString(kKey, QStringLiteral("Font%1").arg(n), names[n]);
            store.WriteInteger(kKey, QStringLiteral("FontType%1").arg(n), kTrueTypeFontType);
        }
    }

    // The user picks a font from the list at or after row from, as the open list reports it.
    static void Choose(TrpFontComboBox& combo, const QString& name, int from = 0)
    {
        int at = from;
        while (at < combo.count() && combo.itemText(at) != name)
            ++at;
        ASSERT_LT(at, combo.count()) << name.toStdString();
        combo.setCurrentIndex(at);
        emit combo.activated(at);
    }

    QByteArray StoreFile() const
    {
        QFile file(store.FileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    KeyValueStore store{dir.filePath(QStringLiteral("user.ini"))};
    QStringList installed;
};

} // namespace

TEST_F(FontComboBoxTest, EmptyStoreGetsFiveEmptyEntriesAndTheListIsAlphabetical)
{
    TrpFontComboBox combo(nullptr, &store);
    EXPECT_EQ(combo.RecentCount(), 0);
    EXPECT_EQ(Stored(), QStringList(5, QString()));
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(store.ReadInteger(kKey, QStringLiteral("FontType%1").arg(n), -1), 0);
    ASSERT_EQ(combo.count(), installed.size());
    for (int i = 0; i < combo.count(); ++i)
        EXPECT_EQ(combo.itemText(i), installed[i]);
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_TRUE(combo.lineEdit()->isReadOnly());
}

TEST_F(FontComboBoxTest, RecentFontsComeFirstAndUninstalledOnesAreDropped)
{
    StoreRecent({installed[3], QStringLiteral("Шрифт, которого нет"), installed[1]});
    TrpFontComboBox combo(nullptr, &store);
    EXPECT_EQ(Recent(combo), (QStringList{installed[3], installed[1]}));
    EXPECT_EQ(combo.itemText(2), installed[0]);   // then the whole list
    EXPECT_EQ(combo.count(), installed.size() + 2);
    EXPECT_EQ(combo.FontType(0), kTrueTypeFontType);
    EXPECT_EQ(Stored(), (QStringList{installed[3], QString(), installed[1], QString(), QString()}));
    EXPECT_EQ(store.ReadInteger(kKey, QStringLiteral("FontType1"), -1), 0);
}

TEST_F(FontComboBoxTest, ChoosingKeepsFiveNewestFirst)
{
    StoreRecent({installed[0], installed[1], installed[2], installed[3], installed[4]});
    TrpFontComboBox combo(nullptr, &store);
    ASSERT_EQ(combo.RecentCount(), 5);
    int clicks = 0;
    combo.OnClick = [&](QObject*) { ++clicks; };

    Choose(combo, installed[5], 5);   // a sixth font: the oldest goes
    EXPECT_EQ(Recent(combo), (QStringList{installed[5], installed[0], installed[1], installed[2], installed[3]}));
    EXPECT_EQ(Stored(), Recent(combo));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(combo.count(), installed.size() + 5);
    EXPECT_EQ(store.ReadInteger(kKey, QStringLiteral("FontType0"), -1), combo.FontType(0));

    Choose(combo, installed[2], 2);   // a recent one moves to the top
    EXPECT_EQ(Recent(combo), (QStringList{installed[2], installed[5], installed[0], installed[1], installed[3]}));
    Choose(combo, installed[1], 5);   // picked from the full list, but recent already: moved, not doubled
    EXPECT_EQ(Recent(combo), (QStringList{installed[1], installed[2], installed[5], installed[0], installed[3]}));
    EXPECT_EQ(Stored(), Recent(combo));
    EXPECT_EQ(clicks, 3);

    const QByteArray before = StoreFile();
    Choose(combo, installed[1], 0);   // the first item: nothing changes
    EXPECT_EQ(StoreFile(), before);

    TrpFontComboBox reopened(nullptr, &store);   // the next window starts where this one ended
    EXPECT_EQ(Recent(reopened), Recent(combo));
}

TEST_F(FontComboBoxTest, FewerThanFiveGrowAndWithoutMruNothingMoves)
{
    TrpFontComboBox combo(nullptr, &store);
    Choose(combo, installed[4]);
    Choose(combo, installed[2], 1);
    EXPECT_EQ(Recent(combo), (QStringList{installed[2], installed[4]}));
    EXPECT_EQ(Stored(), (QStringList{installed[2], installed[4], QString(), QString(), QString()}));

    combo.SetShowMRU(false);   // the list is filled again, without recent fonts
    EXPECT_EQ(combo.RecentCount(), 0);
    EXPECT_EQ(combo.count(), installed.size());
    EXPECT_EQ(combo.currentText(), installed[2]);   // the current font stays chosen
    Choose(combo, installed[5]);
    EXPECT_EQ(combo.itemText(0), installed[0]);
    EXPECT_EQ(Stored(), (QStringList{installed[2], installed[4], QString(), QString(), QString()}));
}

TEST_F(FontComboBoxTest, KeyDefaultsAndReadOnlySwitch)
{
    TrpFontComboBox combo(nullptr, &store);
    EXPECT_EQ(combo.MRURegKey(), QStringLiteral("\\Software\\ReportEngine\\MRUFont"));
    combo.SetMRURegKey(QStringLiteral("\\Software\\Other"));
    EXPECT_EQ(combo.MRURegKey(), QStringLiteral("\\Software\\Other"));
    combo.SetMRURegKey(QString());
    EXPECT_EQ(combo.MRURegKey(), QStringLiteral("\\Software\\ReportEngine\\MRUFont"));

    TrpComboBox sizes;
    EXPECT_FALSE(sizes.ReadOnly());
    EXPECT_FALSE(sizes.lineEdit()->isReadOnly());
    sizes.SetReadOnly(true);
    EXPECT_TRUE(sizes.lineEdit()->isReadOnly());
}
