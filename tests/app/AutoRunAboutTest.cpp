// The start-at-logon switch of the main window and the about box.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/settings/AutoRun.h"
#include "app/dialogs/FAbout.h"
#include "MainWindowUnderTest.h"
#include "app/main/FMain.h"
#include "app/main/ProductInfo.h"
#include "base/Exception.h"
#include "platform/posix/AutoStart.h"
#include "support/Unprivileged.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace {

class AutoRunTest : public ::testing::Test {
protected:
    std::unique_ptr<TfmMain> Start()
    {
        auto window = std::make_unique<TMainWindowUnderTest>(QStringList{"Tavik_zuzid"}, modal);
        window->show();
        return window;
    }
    QString Entry() const { return folders.ConfigHome() + "/autostart/Tavik_zuzid.desktop"; }

    TAppFolders folders;
    TScriptedModal modal;
};

} // namespace

TEST_F(AutoRunTest, TheCheckShowsTheEntryAndTwoTogglesReturnToTheFirstState)
{
    auto window = Start();
    EXPECT_FALSE(window->acAutoRun->isChecked());

    window->acAutoRun->trigger();   // as from the menu, which flips the check first
    EXPECT_TRUE(QFileInfo(Entry()).isFile());
    EXPECT_TRUE(window->acAutoRun->isChecked());
    QFile entry(Entry());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains(QFile::encodeName(QCoreApplication::applicationFilePath())));
    entry.close();

    EXPECT_TRUE(window->Execute(window->acAutoRun));
    EXPECT_FALSE(QFileInfo::exists(Entry()));
    EXPECT_FALSE(window->acAutoRun->isChecked());
    window->close();
}

TEST_F(AutoRunTest, AnEntryMadeElsewhereIsCheckedAtTheFirstShowing)
{
    WriteAutoStartEntry("Tavik_zuzid", "/opt/tz/Tavik_zuzid");
    auto window = Start();
    EXPECT_TRUE(window->acAutoRun->isChecked());
    window->close();
}

TEST_F(AutoRunTest, AnEntryThatCannotBeWrittenRaisesAndTheCheckStays)
{
    auto window = Start();
    // A folder in the entry's place: nobody, the superuser included, can write the entry.
    ASSERT_TRUE(QDir().mkpath(Entry() + "/in the way"));
    window->acAutoRun->setChecked(false);
    EXPECT_THROW(window->Execute(window->acAutoRun), Exception);
    EXPECT_FALSE(window->acAutoRun->isChecked());
    window->close();
}

TEST_F(AutoRunTest, AnEntryThatCannotBeRemovedRaisesAndTheCheckStaysSet)
{
    QAction check;
    check.setCheckable(true);
    ToggleAutoRun(check, "/opt/tz/Tavik_zuzid");
    EXPECT_TRUE(check.isChecked());
    QFile::setPermissions(folders.ConfigHome() + "/autostart", QFile::ReadOwner | QFile::ExeOwner);
    {
        const Unprivileged unprivileged;
        EXPECT_THROW(ToggleAutoRun(check, "/opt/tz/Tavik_zuzid"), Exception);   // cannot be removed
    }
    EXPECT_TRUE(check.isChecked());
    QFile::setPermissions(folders.ConfigHome() + "/autostart", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(AboutBox, ShowsNameAndVersionAndRollsCreditsOnDoubleClicks)
{
    TAboutForm about;
    EXPECT_EQ(about.windowTitle(), "О программе");
    EXPECT_EQ(about.size(), QSize(240, 146));
    EXPECT_FALSE(about.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(about.ProductName->text(), "Tavik_zuzid");
    EXPECT_FALSE(ProductVersion().isEmpty());
    EXPECT_TRUE(about.Version->text().contains(ProductVersion()));
    EXPECT_EQ(about.OKButton->text(), "ОК");
    EXPECT_FALSE(about.AppIcon->pixmap().isNull());
    EXPECT_EQ(about.SecretPanel1->font().family(), "Times New Roman");
    EXPECT_EQ(about.SecretPanel1->font().pixelSize(), 13);
    about.show();

    about.AppIconDblClick();
    EXPECT_TRUE(about.SecretPanel1->Active());
    EXPECT_FALSE(about.OKButton->isVisible());
    EXPECT_EQ(about.SecretPanel1->toolTip(), "Выход - двойное нажатие мышки");
    QElapsedTimer waited;
    waited.start();
    while (about.SecretPanel1->Offset() == 0 && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GT(about.SecretPanel1->Offset(), 0);

    about.SecretPanel1DblClick();
    EXPECT_FALSE(about.SecretPanel1->Active());
    EXPECT_TRUE(about.OKButton->isVisible());
    EXPECT_TRUE(about.SecretPanel1->toolTip().isEmpty());
    EXPECT_EQ(TScriptedModal::Press(about, about.OKButton), QDialog::Accepted);
}

TEST_F(AutoRunTest, TheAboutActionShowsTheAboutBox)
{
    auto window = Start();
    modal.ThenDialog([](QDialog& d) {
        auto& about = dynamic_cast<TAboutForm&>(d);
        return TScriptedModal::Press(about, about.OKButton);
    });
    EXPECT_TRUE(window->Execute(window->acAbout));
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"AboutForm"});
    window->close();
}
