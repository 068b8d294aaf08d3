// The notification settings dialog: filled from the settings, written back only on "Сохранить".
#include "ScriptedModal.h"

#include "app/dialogs/FOverlay.h"
#include "core/Parameters.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include <string>
#include <vector>

namespace {

// "on/level" of a condition, readable in a failure message.
std::string Text(const TAlarmSetting& alarm)
{
    return (alarm.Enabled ? "on/" : "off/") + std::to_string(alarm.Level);
}

std::vector<std::string> Texts(const NumberedArray<TAlarmSetting, kAlarmConditionCount>& alarms)
{
    std::vector<std::string> texts;
    for (const TAlarmSetting& alarm : alarms)
        texts.push_back(Text(alarm));
    return texts;
}

class OverlayDialogTest : public ::testing::Test {
protected:
    OverlayDialogTest()
    {
        // Every condition different, so that a value landing at the wrong index shows.
        for (size_t i = 1; i <= kAlarmConditionCount; ++i) {
            Settings.Alarms[i] = {i % 2 == 1, int32_t(i % 3)};
            Settings.Relays[i] = i % 3 == 0 || i == 1;
        }
        Settings.RelayDuration = 7;
    }

    static QAction* LevelItem(TfmOverlay& dialog, int level) { return dialog.pm1->actions().at(level); }
    // Chooses a level from a button's drop-down as the operator does.
    static void ChooseLevel(TfmOverlay& dialog, size_t index, int level)
    {
        dialog.LevelButtons[index]->click();
        LevelItem(dialog, level)->trigger();
        dialog.pm1->hide();
    }

    Parameters Settings;
};

TEST_F(OverlayDialogTest, ControlsCarryTheirNamesAndCaptions)
{
    TfmOverlay dialog(Settings);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Настройка уведомлений"));
    EXPECT_EQ(dialog.pg1->count(), 2);
    EXPECT_EQ(dialog.pg1->tabText(0), QStringLiteral("Уведомления"));
    EXPECT_EQ(dialog.pg1->tabText(1), QStringLiteral("Включение реле"));
    EXPECT_EQ(dialog.pg1->currentWidget(), dialog.tsOverlay);
    EXPECT_EQ(dialog.pg1->font().pixelSize(), 16);
    EXPECT_TRUE(dialog.pg1->font().bold());

    const char* captions[] = {
        "Нет ответа от коммутатора КС4",
        "Нет ответа от местного блока РЗ-22К",
        "Превышена уставка \"Максимально допустимая температура\"",
        "Превышена уставка \"Контроль скорости изменения температуры\"",
        "Превышена уставка №1",
        "Превышена уставка №2",
        "Превышена уставка №3",
        "Состояние \"Обрыв\"",
        "Состояние \"КЗ\"",
    };
    const char* levelButtons[] = {"bt3", "bt2", "bt4", "bt5", "bt6", "bt7", "bt8", "bt9", "bt10"};
    for (size_t i = 0; i < kAlarmConditionCount; ++i) {
        SCOPED_TRACE(i);
        const QString n = QString::number(i + 1);
        auto* chk = dialog.findChild<QCheckBox*>("chk" + n);
        auto* ch = dialog.findChild<QCheckBox*>("ch" + n);
        auto* bt = dialog.findChild<QToolButton*>(QString::fromLatin1(levelButtons[i]));
        ASSERT_TRUE(chk && ch && bt);
        EXPECT_EQ(chk, dialog.EnableBoxes[i]);
        EXPECT_EQ(ch, dialog.RelayBoxes[i]);
        EXPECT_EQ(bt, dialog.LevelButtons[i]);
        EXPECT_TRUE(dialog.tsOverlay->isAncestorOf(chk) && dialog.tsOverlay->isAncestorOf(bt));
        EXPECT_TRUE(dialog.tsRele->isAncestorOf(ch));
        EXPECT_EQ(chk->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(ch->text(), QString::fromUtf8(captions[i]));
    }

    QStringList items;
    for (QAction* item : dialog.pm1->actions())
        items << item->text();
    EXPECT_EQ(items, QStringList({"Норма", "Предупреждения", "Ошибки"}));
    auto* bt1 = dialog.findChild<QPushButton*>("bt1");
    ASSERT_TRUE(bt1);
    EXPECT_EQ(bt1->text(), QStringLiteral("Сохранить"));
    EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 1);   // no other button

    QStringList labels;
    for (QLabel* label : dialog.tsRele->findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels, QStringList({"Длительность включения реле", "с. (1-120)"}));
}

TEST_F(OverlayDialogTest, FilledFromTheSettings)
{
    TfmOverlay dialog(Settings);
    for (size_t i = 0; i < kAlarmConditionCount; ++i) {
        SCOPED_TRACE(i);
        const TAlarmSetting& alarm = Settings.Alarms[i + 1];
        EXPECT_EQ(dialog.EnableBoxes[i]->isChecked(), alarm.Enabled);
        EXPECT_EQ(Text(dialog.Alarm(i)), Text(alarm));
        EXPECT_EQ(dialog.LevelButtons[i]->icon().cacheKey(), dialog.iml1[alarm.Level].cacheKey());
        EXPECT_EQ(dialog.IsRelayChecked(i), Settings.Relays[i + 1]);
        EXPECT_EQ(dialog.RelayBoxes[i]->isHidden(), i < 2);   // the two no-reply conditions
    }
    EXPECT_EQ(dialog.GetRelayDuration(), 7);
}

// Every kind of change reaches the settings on "Сохранить", each at its own condition; the
// hidden relay boxes write back their unchanged states.
TEST_F(OverlayDialogTest, SaveWritesEveryChangeBack)
{
    Parameters expected = Settings;
    TfmOverlay dialog(Settings);
    dialog.EnableBoxes[0]->click();   // on -> off
    dialog.EnableBoxes[1]->click();   // off -> on
    ChooseLevel(dialog, 0, 2);
    ChooseLevel(dialog, 8, 1);
    dialog.RelayBoxes[2]->click();
    dialog.RelayBoxes[8]->click();
    dialog.edReleDelay->setValue(120);
    expected.Alarms[1] = {false, 2};
    expected.Alarms[2].Enabled = true;
    expected.Alarms[9].Level = 1;
    expected.Relays[3] = !expected.Relays[3];
    expected.Relays[9] = !expected.Relays[9];
    expected.RelayDuration = 120;

    EXPECT_EQ(TScriptedModal::Press(dialog, dialog.bt1), QDialog::Accepted);
    EXPECT_EQ(Texts(Settings.Alarms), Texts(expected.Alarms));
    EXPECT_EQ(Settings.Relays, expected.Relays);
    EXPECT_TRUE(Settings.Relays[1]);    // hidden, kept
    EXPECT_FALSE(Settings.Relays[2]);   // hidden, kept
    EXPECT_EQ(Settings.RelayDuration, 120);
}

// Closing in any other way leaves the settings as they were, whatever was changed.
TEST_F(OverlayDialogTest, ClosingOtherwiseChangesNothing)
{
    const Parameters before = Settings;
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way);
        TfmOverlay dialog(Settings);
        dialog.show();
        for (size_t i = 0; i < kAlarmConditionCount; ++i) {
            dialog.EnableBoxes[i]->click();
            ChooseLevel(dialog, i, 2 - int(i % 3));
            dialog.RelayBoxes[i]->setChecked(!dialog.RelayBoxes[i]->isChecked());
        }
        dialog.edReleDelay->setValue(60);
        if (way == 0)
            dialog.close();   // the window's close button
        else
            dialog.reject();  // Escape
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(Texts(Settings.Alarms), Texts(before.Alarms));
        EXPECT_EQ(Settings.Relays, before.Relays);
        EXPECT_EQ(Settings.RelayDuration, before.RelayDuration);
    }
}

// The level menu acts on the button it was dropped down from, and shows the chosen glyph.
TEST_F(OverlayDialogTest, LevelMenuActsOnItsButton)
{
    TfmOverlay dialog(Settings);
    dialog.show();
    ChooseLevel(dialog, 3, 0);
    ChooseLevel(dialog, 4, 2);
    EXPECT_EQ(dialog.Alarm(3).Level, 0);
    EXPECT_EQ(dialog.Alarm(4).Level, 2);
    EXPECT_EQ(dialog.LevelButtons[3]->icon().cacheKey(), dialog.iml1[0].cacheKey());
    EXPECT_EQ(dialog.LevelButtons[4]->icon().cacheKey(), dialog.iml1[2].cacheKey());
    for (size_t i : {0u, 1u, 2u, 5u, 6u, 7u, 8u})
        EXPECT_EQ(Text(dialog.Alarm(i)), Text(Settings.Alarms[i + 1])) << i;
    // A menu item chosen with no button behind it changes nothing.
    TfmOverlay fresh(Settings);
    LevelItem(fresh, 2)->trigger();
    for (size_t i = 0; i < kAlarmConditionCount; ++i)
        EXPECT_EQ(Text(fresh.Alarm(i)), Text(Settings.Alarms[i + 1])) << i;
}

TEST_F(OverlayDialogTest, RelayDurationStaysWithinOneToOneHundredTwenty)
{
    const struct {
        uint16_t stored;
        int shown;
    } cases[] = {{1, 1}, {120, 120}, {0, 1}, {121, 120}, {65535, 120}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Settings.RelayDuration = c.stored;
        TfmOverlay dialog(Settings);
        EXPECT_EQ(dialog.GetRelayDuration(), c.shown);
        dialog.edReleDelay->setValue(500);
        EXPECT_EQ(dialog.GetRelayDuration(), 120);
        dialog.edReleDelay->setValue(-3);
        EXPECT_EQ(dialog.GetRelayDuration(), 1);
    }
}

// A level outside 0..2 from a hand-edited settings file is kept as it is unless changed.
TEST_F(OverlayDialogTest, UnknownLevelIsKept)
{
    Settings.Alarms[OverMaxT].Level = 7;
    TfmOverlay dialog(Settings);
    EXPECT_TRUE(dialog.LevelButtons[2]->icon().isNull());
    TScriptedModal::Press(dialog, dialog.bt1);
    EXPECT_EQ(Settings.Alarms[OverMaxT].Level, 7);
}

// The main window's action runs the dialog modally on the record it is given.
TEST_F(OverlayDialogTest, ActionShowsTheDialogModally)
{
    TScriptedModal modal;
    QWidget owner;
    modal.Serve(owner);
    modal.ThenDialog([&](QDialog& shown) {
        auto& dialog = static_cast<TfmOverlay&>(shown);
        EXPECT_EQ(shown.parentWidget(), &owner);
        dialog.EnableBoxes[0]->click();
        return TScriptedModal::Press(shown, dialog.bt1);
    });
    ShowOverlaySettings(Settings, &owner);
    EXPECT_EQ(modal.shownDialogs, std::vector<QString>{"TfmOverlay"});
    EXPECT_FALSE(Settings.Alarms[1].Enabled);
}

} // namespace
