// The state reports' dialogs: the protocol's own time, the temperature range and the print
// colours.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/reports/FPrintColor.h"
#include "app/reports/FReportTime.h"
#include "app/reports/FSelTemperature.h"
#include "app/widgets/ColorPickerButton.h"
#include "base/DateTime.h"
#include "core/Parameters.h"
#include "platform/posix/IniFile.h"

#include <QDateEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

namespace {

class StateReportDialogs : public ::testing::Test, public TAppFolders {
protected:
    TScriptedModal modal;
};

TEST_F(StateReportDialogs, ReportTimeTakesTheDialogsDayAndTimeOnlyWithOk)
{
    const TDateTime poll = EncodeDateTime(2024, 3, 10, 14, 30, 15, 0);
    // Without the manual time no dialog shows.
    EXPECT_EQ(AskReportTime(poll, false, &modal.Window), poll);
    modal.ThenDialog([](QDialog& dialog) {
        auto& form = static_cast<TfmReportTime&>(dialog);
        EXPECT_EQ(form.windowTitle(), "Протокол температур на");
        EXPECT_EQ(form.edDate->date(), QDate(2024, 3, 10));
        EXPECT_EQ(form.edTime->time(), QTime(14, 30, 15));
        form.edDate->setDate(QDate(2024, 2, 29));
        form.edTime->setTime(QTime(0, 5, 0));
        return TScriptedModal::Press(form, form.btnOk);
    });
    EXPECT_EQ(AskReportTime(poll, true, &modal.Window), EncodeDateTime(2024, 2, 29, 0, 5, 0, 0));
    modal.ThenDialog([](QDialog& dialog) {
        auto& form = static_cast<TfmReportTime&>(dialog);
        form.edDate->setDate(QDate(2020, 1, 1));
        return TScriptedModal::Press(form, form.btnCancel);
    });
    EXPECT_EQ(AskReportTime(poll, true, &modal.Window), poll);
}

TEST_F(StateReportDialogs, TemperatureRangeIsWholeDegreesFrom0To100AndKeepsItsPlace)
{
    IniFile settings(SettingsFile().toStdString());
    const auto answer = [this](int min, int max, bool ok) {
        modal.ThenDialog([=](QDialog& dialog) {
            auto& form = static_cast<TfmSelTemperature&>(dialog);
            form.edMin->setValue(min);
            form.edMax->setValue(max);
            return TScriptedModal::Press(form, ok ? form.btnOk : form.btnCancel);
        });
    };
    answer(-5, 150, true);
    EXPECT_EQ(AskTemperatureRange(&settings, &modal.Window), std::make_pair(0, 100));
    // A minimum above the maximum is the operator's choice: the protocol then keeps no rows.
    answer(60, 20, true);
    EXPECT_EQ(AskTemperatureRange(&settings, &modal.Window), std::make_pair(60, 20));
    answer(10, 20, false);
    EXPECT_EQ(AskTemperatureRange(&settings, &modal.Window), std::nullopt);
    EXPECT_TRUE(settings.SectionExists("TfmSelTemperature"));
}

TEST_F(StateReportDialogs, PrintColoursAreStoredOnlyBySave)
{
    Parameters settings;
    const TColor before[] = {settings.PrintColorMaxT, settings.PrintColorCheckT1, settings.PrintColorCheckT2,
                             settings.PrintColorCheckT3, settings.PrintColorX, settings.PrintColorKz,
                             settings.PrintColorSpeed};
    const auto recolour = [](TfmPrintColor& form) {
        TColor colour = 0x010101;
        for (TColorPickerButton* picker : {form.cpMaxT, form.cpCheckT1, form.cpCheckT2, form.cpCheckT3,
                                           form.cpColorX, form.cpColorKz, form.cpColorSpeed})
            picker->SetColor(colour++);
    };
    {
        TfmPrintColor form(settings);
        EXPECT_EQ(form.windowTitle(), "Цвета печати");
        EXPECT_EQ(form.btnOk->text(), "Сохранить");
        recolour(form);
        form.reject();
    }
    EXPECT_EQ(settings.PrintColorMaxT, before[0]);
    EXPECT_EQ(settings.PrintColorSpeed, before[6]);
    {
        TfmPrintColor form(settings);
        recolour(form);
        TScriptedModal::Press(form, form.btnOk);
    }
    const TColor after[] = {settings.PrintColorMaxT, settings.PrintColorCheckT1, settings.PrintColorCheckT2,
                            settings.PrintColorCheckT3, settings.PrintColorX, settings.PrintColorKz,
                            settings.PrintColorSpeed};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(after[i], TColor(0x010101 + i)) << i;
}

}  // namespace
