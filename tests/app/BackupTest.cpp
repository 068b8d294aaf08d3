// The backup of the settings, layout and data files: when it is offered, the dated folder, the
// copying and its failures, and the offer at the main window's first showing.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/files/BackupCopy.h"
#include "app/files/FBackup.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/settings/SettingsDateTime.h"
#include "platform/posix/IniFile.h"
#include "support/Unprivileged.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

void WriteFile(const QString& path, const QByteArray& octets)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(octets);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(BackupMonths, WholeMonthsOfThirtyAndAQuarterDaysEitherWay)
{
    const TDateTime now = 46000.5;
    const struct {
        double daysAgo;
        int months;
        bool due;
    } cases[] = {
        {0, 0, false},
        {30.4, 0, false},
        {30.4375, 1, false},
        {60, 1, false},
        {60.874, 1, false},
        {60.875, 2, true},   // two whole months exactly
        {61, 2, true},
        {400, 13, true},
        {-60, 1, false},    // a clock set back: the span counts without sign
        {-61, 2, true},
        {now, 1511, true},  // never made (0)
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BackupMonthsBetween(now, now - c.daysAgo), c.months) << c.daysAgo;
        EXPECT_EQ(BackupDue(now, now - c.daysAgo), c.due) << c.daysAgo;
    }
}

TEST(BackupFolder, ChosenFolderThenTheShortDateWithoutPathSeparators)
{
    const QDate date(2026, 12, 10);
    EXPECT_EQ(BackupFolderName("/media/usb", date, QLocale(QLocale::Russian, QLocale::Russia)),
        "/media/usb/Tavik_zuzid backup 10.12.2026");
    // A short format with slashes would make nested folders that are never created.
    const QString american = BackupFolderName("/media/usb", date, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(american.startsWith("/media/usb/Tavik_zuzid backup 12.10."));
    EXPECT_EQ(american.count('/'), 3);
    EXPECT_EQ(BackupFolderName("", date, QLocale(QLocale::Russian, QLocale::Russia)),
        "/Tavik_zuzid backup 10.12.2026");
}

class BackupCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(dir.filePath("src")));
        WriteFile(Source("Tavik_zuzid.INI"), "[Общие]\nТмах=30\n");
        WriteFile(Source("SiloBins.xml"), "<SiloBins/>");
        WriteFile(Source("data.dxml"), QByteArray(100000, 'd'));
    }
    QString Source(const QString& name) const { return dir.filePath("src/" + name); }
    QString Target() const { return dir.filePath("backup"); }
    QStringList Files() const { return {Source("Tavik_zuzid.INI"), Source("SiloBins.xml"), Source("data.dxml")}; }

    QTemporaryDir dir;
};

TEST_F(BackupCopyTest, EveryFileIsCopiedUnderItsOwnNameReplacingAnOlderCopy)
{
    ASSERT_TRUE(QDir().mkpath(Target()));   // a folder that exists is used as it is
    WriteFile(Target() + "/SiloBins.xml", "old copy, much longer than the new one");
    const TBackupResult result = MakeBackup(Target(), Files());
    EXPECT_TRUE(result.Complete());
    EXPECT_TRUE(result.Problems().isEmpty());
    EXPECT_EQ(result.Copied, Files());
    for (const QString name : {"Tavik_zuzid.INI", "SiloBins.xml", "data.dxml"})
        EXPECT_EQ(ReadFile(Target() + "/" + name), ReadFile(Source(name))) << name.toStdString();
    EXPECT_EQ(QDir(Target()).entryList(QDir::Files | QDir::Hidden).size(), 3);   // no temporary files left
}

TEST_F(BackupCopyTest, AMissingFileOrNoDataFileIsPassedOverAndTheRestCopied)
{
    QFile::remove(Source("data.dxml"));
    const TBackupResult result = MakeBackup(Target(), {Source("Tavik_zuzid.INI"), "", Source("SiloBins.xml"), Source("data.dxml")});
    EXPECT_TRUE(result.Complete());
    EXPECT_EQ(result.Missing, QStringList{Source("data.dxml")});
    EXPECT_EQ(result.Copied.size(), 2);
    EXPECT_EQ(QDir(Target()).entryList(QDir::Files).size(), 2);
}

// /proc takes no new folders or files, whoever asks, so these failures bind the superuser too.
TEST_F(BackupCopyTest, AFolderThatCannotBeMadeIsReportedAndNothingCounts)
{
    const TBackupResult result = MakeBackup("/proc/self/tz backup", Files());
    EXPECT_FALSE(result.Complete());
    EXPECT_FALSE(result.FolderError.isEmpty());
    EXPECT_EQ(result.Failed.size(), 3);
    EXPECT_TRUE(result.Copied.isEmpty());
    EXPECT_TRUE(result.Problems().contains("Не удалось создать папку"));

    // A file in the folder's place is no folder either.
    WriteFile(Target(), "not a folder");
    const TBackupResult onFile = MakeBackup(Target(), Files());
    EXPECT_FALSE(onFile.Complete());
    EXPECT_EQ(ReadFile(Target()), "not a folder");
}

TEST_F(BackupCopyTest, AnUnwritableFolderFailsEachCopy)
{
    const TBackupResult result = MakeBackup("/proc/self", Files());   // exists, takes no files
    EXPECT_TRUE(result.FolderError.isEmpty());
    EXPECT_FALSE(result.Complete());
    EXPECT_EQ(result.Failed.size(), 3);
    EXPECT_TRUE(result.Problems().contains("Не удалось скопировать"));
}

TEST_F(BackupCopyTest, AReadOnlyFolderKeepsItsOldCopiesWhole)
{
    ASSERT_TRUE(QDir().mkpath(Target()));
    WriteFile(Target() + "/SiloBins.xml", "old copy");
    QFile::setPermissions(Target(), QFile::ReadOwner | QFile::ExeOwner);
    const TBackupResult result = [this] {
        const Unprivileged unprivileged;
        return MakeBackup(Target(), Files());
    }();
    QFile::setPermissions(Target(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(result.Failed.size(), 3);
    EXPECT_EQ(ReadFile(Target() + "/SiloBins.xml"), "old copy");
    EXPECT_EQ(QDir(Target()).entryList(QDir::Files | QDir::Hidden), QStringList{"SiloBins.xml"});
}

TEST_F(BackupCopyTest, AnUnreadableFileIsAFailureNotAMissingOne)
{
    QFile::remove(Source("data.dxml"));
    ASSERT_TRUE(QDir().mkpath(Source("data.dxml")));   // a folder where the data file should be
    const TBackupResult result = MakeBackup(Target(), Files());
    EXPECT_FALSE(result.Complete());
    ASSERT_EQ(result.Failed.size(), 1);
    EXPECT_TRUE(result.Failed.first().contains("data.dxml"));
    EXPECT_TRUE(result.Missing.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(Target() + "/data.dxml"));
    EXPECT_EQ(result.Copied.size(), 2);
}

TEST(BackupDialog, StartsEmptyAndTakesTheFolderFromTheChooser)
{
    TScriptedModal modal;
    TfmBackup dialog(&modal.Window);
    EXPECT_EQ(dialog.windowTitle(), "Сохранение конфигурации");
    EXPECT_TRUE(dialog.BackupDir().isEmpty());
    EXPECT_EQ(dialog.btSave->text(), "Сохранить");
    EXPECT_EQ(dialog.btCancel->text(), "Отмена");

    const QTemporaryDir usb;
    modal.ThenDialog([&usb](QDialog& d) {
        auto& chooser = dynamic_cast<QFileDialog&>(d);
        EXPECT_EQ(chooser.fileMode(), QFileDialog::Directory);
        chooser.selectFile(usb.path());
        return static_cast<int>(QDialog::Accepted);
    });
    dialog.acChooseDir->trigger();
    EXPECT_EQ(dialog.BackupDir(), usb.path());

    modal.ThenDialog([](QDialog&) { return static_cast<int>(QDialog::Rejected); });
    dialog.acChooseDir->trigger();   // a chooser closed without a choice keeps the folder
    EXPECT_EQ(dialog.BackupDir(), usb.path());

    EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btSave), QDialog::Accepted);
    EXPECT_EQ(TScriptedModal::Press(dialog, dialog.btCancel), QDialog::Rejected);
}

// "Сохранить" stays refused, with the reason and what to do, until the folder is one the backup
// can go into: never wherever an empty or relative name would put it.
TEST(BackupDialog, RefusesAFolderTheBackupCannotGoInto)
{
    TScriptedModal modal;
    const QTemporaryDir dir;
    WriteFile(dir.filePath("file"), "not a folder");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("read-only")));
    QFile::setPermissions(dir.filePath("read-only"), QFile::ReadOwner | QFile::ExeOwner);
    const struct {
        QString folder;
        const char* told;   // empty: accepted
    } cases[] = {
        {"", "Не указана папка для резервной копии. Выберите папку кнопкой справа от поля."},
        {"   ", "Не указана папка для резервной копии."},
        {"backup", "Укажите полный путь к папке, начиная с \"/\": \"backup\"."},
        {dir.filePath("missing"), "недоступна: Нет такого файла или каталога."},
        {dir.filePath("file"), "\" - не папка."},
        {dir.filePath("read-only"), "нельзя записать: Отказано в доступе. Выберите другую папку"},
        {dir.path(), ""},
    };
    const Unprivileged unprivileged;   // the superuser too is refused a folder it may not write
    for (const auto& c : cases) {
        TfmBackup dialog(&modal.Window);
        dialog.edBackupDir->setText(c.folder);
        if (*c.told)
            modal.ThenAnswer(QMessageBox::Ok);
        const int result = TScriptedModal::Press(dialog, dialog.btSave);
        if (!*c.told) {
            EXPECT_EQ(result, QDialog::Accepted) << c.folder.toStdString();
            continue;
        }
        EXPECT_EQ(result, QDialog::Rejected) << c.folder.toStdString();
        ASSERT_FALSE(modal.questions.empty());
        EXPECT_TRUE(modal.questions.back().contains(QString::fromUtf8(c.told))) << modal.questions.back().toStdString();
        EXPECT_EQ(modal.icons.back(), QMessageBox::Warning);
    }
    EXPECT_EQ(modal.questions.size(), std::size(cases) - 1);
}

class BackupOfferTest : public ::testing::Test {
protected:
    BackupOfferTest() { modal.standingResults.clear(); }

    std::unique_ptr<TfmMain> Start()
    {
        auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"Tavik_zuzid"}, modal);
        window->show();
        return window;
    }
    void WriteLastBackup(TDateTime when) const
    {
        IniFile(folders.SettingsFile().toStdString()).WriteString("Общие", "Последний бэкап", DateTimeToSettingsText(when));
    }
    // Answers the offer with "Сохранить" into folder.
    void SaveInto(const QString& folder)
    {
        modal.ThenDialog([folder](QDialog& d) {
            auto& offer = dynamic_cast<TfmBackup&>(d);
            EXPECT_TRUE(offer.BackupDir().isEmpty());
            offer.edBackupDir->setText(folder);
            return TScriptedModal::Press(offer, offer.btSave);
        });
    }
    QString BackupFolder(const QString& chosen) const
    {
        return BackupFolderName(chosen, QDate::currentDate(), QLocale());
    }

    TAppFolders folders;
    TScriptedModal modal;
    QTemporaryDir target;
};

TEST_F(BackupOfferTest, NeverMadeOfferedAtOnceAndSavingCopiesAndRemembersIt)
{
    WriteFile(folders.SettingsFile(), "[Общие]\nТмах=31\n");
    SaveInto(target.path());
    const TDateTime before = Now();
    auto window = Start();
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"fmBackup"});
    EXPECT_TRUE(modal.questions.empty());   // no layout or data file yet is nothing to report
    EXPECT_GE(window->LastBackup, before);
    EXPECT_LE(window->LastBackup, Now());
    EXPECT_EQ(ReadFile(BackupFolder(target.path()) + "/Tavik_zuzid.INI"), "[Общие]\nТмах=31\n");

    window->close();
    const auto stored = SettingsTextToDateTime(
        IniFile(folders.SettingsFile().toStdString()).ReadString("Общие", "Последний бэкап", ""));
    ASSERT_TRUE(stored.has_value());
    EXPECT_FALSE(BackupDue(Now(), *stored));
}

TEST_F(BackupOfferTest, CancelChangesNothingAndARecentBackupIsNotOffered)
{
    modal.ThenDialog([](QDialog& d) {
        auto& offer = dynamic_cast<TfmBackup&>(d);
        return TScriptedModal::Press(offer, offer.btCancel);
    });
    auto window = Start();
    EXPECT_EQ(window->LastBackup, 0);
    window->close();
    window.reset();

    WriteLastBackup(Now() - 60);
    window = Start();
    EXPECT_EQ(modal.shownDialogs.size(), 1u);   // only the first start's offer
    window->close();
}

TEST_F(BackupOfferTest, AFailedBackupIsReportedAndOfferedAgain)
{
    const TDateTime last = Now() - 100;
    WriteLastBackup(last);
    WriteFile(BackupFolder(target.path()), "a file where the dated folder goes");
    SaveInto(target.path());   // a folder that takes new entries, but not the dated folder
    modal.ThenAnswer(QMessageBox::Ok);
    auto window = Start();
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_TRUE(modal.questions[0].contains("не полностью"));
    EXPECT_EQ(modal.icons[0], QMessageBox::Warning);
    EXPECT_NEAR(window->LastBackup, last, 1.0 / 86400);   // unchanged (the file keeps whole seconds)
    window->close();
}

// An empty folder field once put the backup at the file system's root and counted it as made;
// now the offer waits for a real folder, and only that folder receives anything.
TEST_F(BackupOfferTest, AnEmptyFolderIsRefusedAndTheChosenOneAloneReceivesTheBackup)
{
    const QString atRoot = BackupFolder("");
    ASSERT_FALSE(QFileInfo::exists(atRoot)) << "left over from an earlier run: " << atRoot.toStdString();
    WriteFile(folders.SettingsFile(), "[Общие]\nТмах=31\n");
    modal.ThenDialog([this](QDialog& d) {
        auto& offer = dynamic_cast<TfmBackup&>(d);
        EXPECT_EQ(TScriptedModal::Press(offer, offer.btSave), QDialog::Rejected);
        offer.edBackupDir->setText(target.path());
        return TScriptedModal::Press(offer, offer.btSave);
    });
    modal.ThenAnswer(QMessageBox::Ok);
    auto window = Start();
    ASSERT_EQ(modal.questions.size(), 1u);
    EXPECT_TRUE(modal.questions[0].startsWith("Не указана папка"));
    EXPECT_FALSE(QFileInfo::exists(atRoot));
    EXPECT_TRUE(QFileInfo::exists(BackupFolder(target.path()) + "/Tavik_zuzid.INI"));
    EXPECT_GT(window->LastBackup, 0);
    window->close();
}
