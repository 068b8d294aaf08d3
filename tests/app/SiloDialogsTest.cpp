// The silo-block settings dialog, the record card and the silo picker, opened from a frame's
// pop-up commands and answered by script.
#include "AppTestEnvironment.h"
#include "BoardFixture.h"
#include "ScriptedModal.h"

#include "app/dialogs/FSelectSilos.h"
#include "app/dialogs/FSiloBinParam.h"
#include "app/dialogs/FSilosParam.h"
#include "platform/posix/IniFile.h"

#include <QAction>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {

class SiloDialogsTest : public ::testing::Test {
protected:
    SiloDialogsTest() { modal.Serve(board.panel); }
    IniFile Settings() const { return IniFile(folders.SettingsFile().toStdString()); }

    TAppFolders folders;
    TScriptedModal modal;
    TBoardFixture board{3, 4, 6};
};

// The texts of the picker's nodes: blocks with their children in brackets.
QString TreeText(const QTreeWidget& tree)
{
    QStringList blocks;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* block = tree.topLevelItem(i);
        QStringList children;
        for (int j = 0; j < block->childCount(); ++j)
            children << block->child(j)->text(0);
        blocks << block->text(0) + "[" + children.join(",") + "]";
    }
    return blocks.join(" ");
}

} // namespace

TEST_F(SiloDialogsTest, SettingsDialogShowsTheBlockAndAppliesItOnlyOnOk)
{
    TfrSiLoBin* frame = board.AddFrame(2, 1, 8);
    modal.ThenDialog([](QDialog& dialog) {
        auto& param = static_cast<TfmSiloBinParam&>(dialog);
        EXPECT_EQ(param.windowTitle(), QStringLiteral("Параметры силкорпуса"));
        EXPECT_EQ(param.edBinNo->value(), 2);
        EXPECT_EQ(param.edName->text(), QStringLiteral("Силкорпус 2"));
        EXPECT_EQ(param.edRow->value(), 1);
        EXPECT_EQ(param.edCol->value(), 8);
        EXPECT_EQ(param.edColWidth->value(), 50);
        EXPECT_EQ(param.edHeigthTD->value(), 8);
        param.edName->setText(QStringLiteral("Новый"));
        param.edRow->setValue(3);
        return TScriptedModal::Press(dialog, param.btnCancel);
    });
    frame->acParam->trigger();
    EXPECT_EQ(frame->GetCaption(), QStringLiteral("Силкорпус 2"));
    EXPECT_EQ(frame->RowCount(), 1);

    modal.ThenDialog([](QDialog& dialog) {
        auto& param = static_cast<TfmSiloBinParam&>(dialog);
        param.edBinNo->setValue(7);
        param.edName->setText(QStringLiteral("Новый"));
        param.edRow->setValue(3);
        param.edCol->setValue(5);
        param.edColWidth->setValue(20);   // below the bound: kept at 50
        param.edHeigthTD->setValue(4);
        EXPECT_EQ(param.edColWidth->value(), 50);
        return TScriptedModal::Press(dialog, param.btnOk);
    });
    frame->acParam->trigger();
    EXPECT_EQ(frame->BinNo, 7);
    EXPECT_EQ(frame->GetCaption(), QStringLiteral("Новый"));
    EXPECT_EQ(frame->RowCount(), 3);
    EXPECT_EQ(frame->ColCount(), 5);
    EXPECT_EQ(frame->HeighTD, 4);
    EXPECT_EQ(frame->RowHeight(), 26);
    EXPECT_EQ(frame->size(), QSize(5 * 50 + 8, 3 * 26 + 20));
}

TEST_F(SiloDialogsTest, RecordCardOfAnUndatedSiloShowsNowAndStoresItOnlyOnSave)
{
    TfrSiLoBin* frame = board.AddFrame(3, 1, 2);
    TSilos* silos = board.Silos(1, 1);
    silos->TypeCorn = QStringLiteral("Ячмень");
    silos->Weight = 14.125;   // more digits than the card shows
    frame->SetSilo(0, 1, silos);
    frame->SetFocusedCell(0, 1);

    modal.ThenDialog([](QDialog& dialog) {
        auto& card = static_cast<TfmSilosParam&>(dialog);
        EXPECT_EQ(card.windowTitle(), QStringLiteral("Парамеры силоса"));
        EXPECT_EQ(card.edBinNo->text(), "3");
        EXPECT_EQ(card.edMBAddr->text(), "2");
        EXPECT_EQ(card.edTURNo->text(), "2");
        EXPECT_EQ(card.edSilosName->text(), "2-2");
        EXPECT_FALSE(card.edSilosName->isEnabled());   // edit mode off
        EXPECT_EQ(card.edCornName->text(), QStringLiteral("Ячмень"));
        EXPECT_EQ(card.edDate->date(), QDate::currentDate());
        return TScriptedModal::Press(dialog, card.btnCancel);
    });
    frame->acSilosParam->trigger();
    EXPECT_EQ(silos->LoadData, 0);
    EXPECT_EQ(silos->SilosName(), QString());

    const TDateTime before = Now();
    modal.ThenDialog([](QDialog& dialog) {
        auto& card = static_cast<TfmSilosParam&>(dialog);
        card.edWet->setValue(250.5);
        card.edOperName->setText(QStringLiteral("Петров"));
        return TScriptedModal::Press(dialog, card.btnOk);
    });
    frame->acSilosParam->trigger();
    EXPECT_NEAR(silos->LoadData, before, 2.0 / 86400);
    // The displayed name became the own name; the untouched moisture kept its digits.
    EXPECT_EQ(silos->SilosName(), QStringLiteral("2-2"));
    EXPECT_DOUBLE_EQ(silos->Weight, 14.125);
    EXPECT_DOUBLE_EQ(silos->Wet, 250.5);
    EXPECT_EQ(silos->OperName, QStringLiteral("Петров"));
    EXPECT_EQ(silos->TypeCorn, QStringLiteral("Ячмень"));

    // In edit mode the name can be changed; moisture stops at 100, weight does not.
    frame->SetEditMode(true);
    modal.ThenDialog([](QDialog& dialog) {
        auto& card = static_cast<TfmSilosParam&>(dialog);
        EXPECT_TRUE(card.edSilosName->isEnabled());
        card.edSilosName->setText(QStringLiteral("Силос 9"));
        card.edWeight->setValue(140);
        card.edWet->setValue(5000);
        card.edDate->setDate(QDate(2024, 9, 15));
        card.edTime->setTime(QTime(8, 30, 0));
        return TScriptedModal::Press(dialog, card.btnOk);
    });
    frame->acSilosParam->trigger();
    EXPECT_EQ(silos->SilosName(), QStringLiteral("Силос 9"));
    EXPECT_DOUBLE_EQ(silos->Weight, 100);
    EXPECT_DOUBLE_EQ(silos->Wet, 5000);
    EXPECT_NEAR(silos->LoadData, EncodeDateTime(2024, 9, 15, 8, 30, 0, 0), 1e-9);
}

TEST_F(SiloDialogsTest, PickerListsOnlyUnplacedSuspensionsAndOffersTheNextOne)
{
    TfrSiLoBin* first = board.AddFrame(1, 1, 4);
    TfrSiLoBin* second = board.AddFrame(2, 1, 4);
    for (int i = 0; i < 4; ++i)
        first->SetSilo(0, i, board.Silos(0, i));   // block 1 wholly placed
    second->SetSilo(0, 0, board.Silos(1, 0));
    second->SetFocusedCell(0, 1);

    modal.ThenDialog([](QDialog& dialog) {
        auto& picker = static_cast<TfmSelectSilos&>(dialog);
        EXPECT_EQ(picker.windowTitle(), QStringLiteral("Выбор силоса"));
        EXPECT_EQ(TreeText(*picker.vtSilos), QStringLiteral("МБ 1[] МБ 2[2-2,2-3,2-4] МБ 3[3-1,3-2,3-3,3-4]"));
        // A block node does not close the picker with OK.
        picker.vtSilos->setCurrentItem(picker.vtSilos->topLevelItem(1));
        EXPECT_EQ(TScriptedModal::Press(dialog, picker.btnOk), QDialog::Rejected);
        picker.vtSilos->setCurrentItem(picker.vtSilos->topLevelItem(1)->child(1));   // suspension 2 of block 1
        EXPECT_EQ(picker.GetSelectedSilos()->No(), 2);
        return TScriptedModal::Press(dialog, picker.btnOk);
    });
    second->acConnect->trigger();
    EXPECT_EQ(second->GetSilo(0, 1), board.Silos(1, 2));
    EXPECT_EQ(Settings().ReadInteger("Tree", "MB", -9), 1);
    EXPECT_EQ(Settings().ReadInteger("Tree", "TUR", -9), 3);

    second->SetFocusedCell(0, 2);
    modal.ThenDialog([this](QDialog& dialog) {
        auto& picker = static_cast<TfmSelectSilos&>(dialog);
        EXPECT_EQ(TreeText(*picker.vtSilos), QStringLiteral("МБ 1[] МБ 2[2-2,2-4] МБ 3[3-1,3-2,3-3,3-4]"));
        EXPECT_EQ(picker.GetSelectedSilos(), board.Silos(1, 3));
        // Cancel remembers the focused node as it is; a block node has no suspension.
        picker.vtSilos->setCurrentItem(picker.vtSilos->topLevelItem(2));
        return TScriptedModal::Press(dialog, picker.btnCancel);
    });
    second->acConnect->trigger();
    EXPECT_EQ(second->GetSilo(0, 2), nullptr);
    EXPECT_EQ(Settings().ReadInteger("Tree", "MB", -9), 2);
    EXPECT_EQ(Settings().ReadInteger("Tree", "TUR", -9), -1);
}
