// The interface is Russian under any system locale: Qt's own buttons and dialogs, and the dates
// and numbers that widgets and the program's texts show.
#include "app/main/RussianInterface.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTreeView>

#include <map>
#include <string>
#include <vector>

namespace {

// Russian words and no English ones; blanks, digits, punctuation and mnemonic marks aside.
bool IsRussian(const QString& text)
{
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    return text.contains(cyrillic) && !text.contains(latin);
}

// The texts of a window's labels and buttons.
QStringList Captions(const QWidget& window)
{
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts << button->text();
    texts.removeAll(QString());
    return texts;
}

const QLocale kSystems[] = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
    QLocale(QLocale::German, QLocale::Germany)};

TEST(RussianInterfaceTest, DatesAndNumbersFollowARussianLocaleAndAreRussianOtherwise)
{
    for (const QLocale& system : kSystems) {
        SCOPED_TRACE(system.name().toStdString());
        EXPECT_EQ(InterfaceLocale(system), QLocale(QLocale::Russian, QLocale::Russia));
    }
    const QLocale ukraineRussian(QLocale::Russian, QLocale::Ukraine);
    EXPECT_EQ(InterfaceLocale(ukraineRussian), ukraineRussian);
}

// Qt's own widgets format with the system locale, which Qt reads from these variables.
TEST(RussianInterfaceTest, LocaleVariablesMadeRussianWhereTheyAreNot)
{
    using Variables = std::map<std::string, QByteArray>;
    const std::vector<std::string> everyCategory{"LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LC_MESSAGES", "LC_MEASUREMENT"};
    const struct {
        Variables environment;
        std::vector<std::string> set;
    } cases[] = {
        {{}, everyCategory},
        {{{"LANG", "C.UTF-8"}}, everyCategory},
        {{{"LANG", "POSIX"}}, everyCategory},
        {{{"LANG", "en_US.UTF-8"}}, everyCategory},
        {{{"LANG", "ru_RU.UTF-8"}}, {}},
        {{{"LANG", "ru_UA.UTF-8"}}, {}},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_TIME", "en_GB.UTF-8"}}, {"LC_TIME"}},
        {{{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "ru_RU.UTF-8"}, {"LC_MONETARY", "ru_RU.UTF-8"}},
            {"LC_TIME", "LC_MESSAGES", "LC_MEASUREMENT"}},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_ALL", "C"}}, {"LC_ALL"}},
        {{{"LANG", "en_US.UTF-8"}, {"LC_ALL", "ru_RU.UTF-8"}}, {}},
    };
    for (const auto& c : cases) {
        const auto lookup = [&](const char* name) {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? QByteArray() : found->second;
        };
        std::vector<std::string> set;
        for (const auto& [name, value] : RussianLocaleVariables(lookup)) {
            set.push_back(name.toStdString());
            EXPECT_EQ(value, "ru_RU.UTF-8");
        }
        EXPECT_EQ(set, c.set) << (c.environment.empty() ? "" : c.environment.begin()->second.toStdString());
    }
}

TEST(RussianInterfaceTest, QtButtonsAndDialogsSpeakRussianUnderAnEnglishSystem)
{
    for (const QLocale& system : kSystems) {
        SCOPED_TRACE(system.name().toStdString());
        const TRussianInterface russian(system);
        ASSERT_TRUE(russian.TranslationsLoaded());

        QMessageBox box(QMessageBox::Question, QStringLiteral("Вопрос"), QStringLiteral("Сохранить?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setFileMode(QFileDialog::ExistingFile);
        for (const QWidget* window : {static_cast<QWidget*>(&box), static_cast<QWidget*>(&files)}) {
            const QStringList texts = Captions(*window);
            EXPECT_GE(texts.size(), 5);
            for (const QString& text : texts)
                EXPECT_TRUE(IsRussian(text)) << text.toStdString();
        }
        const QAbstractItemModel* model = files.findChild<QTreeView*>()->model();
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString header = model->headerData(column, Qt::Horizontal).toString();
            EXPECT_TRUE(IsRussian(header)) << header.toStdString();
        }
        EXPECT_EQ(QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("Папка"));

        QDateEdit date(QDate(2024, 9, 1));
        EXPECT_EQ(date.text(), QStringLiteral("01.09.2024"));
        EXPECT_EQ(QLocale().toString(QDate(2024, 3, 5), QLocale::LongFormat), QStringLiteral("вторник, 5 марта 2024 г."));
        EXPECT_EQ(QLocale().toString(12.5), QStringLiteral("12,5"));
    }
    // The system's locale is back once the interface object is gone.
    EXPECT_EQ(QLocale(), QLocale::system());
}

} // namespace
