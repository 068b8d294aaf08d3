// The display-precision and averaging-period dialogs: filled from the settings, written back
// only with OK.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "app/detail/FPrecision.h"
#include "app/detail/FTimePeriod.h"
#include "core/Parameters.h"
#include "platform/posix/IniFile.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace {

class DetailDialogsTest : public ::testing::Test {
protected:

    static int Press(QDialog& dialog, QDialogButtonBox* buttons, QDialogButtonBox::StandardButton which)
    {
        return TScriptedModal::Press(dialog, buttons->button(which));
    }
    static QStringList Labels(QDialog& dialog)
    {
        QStringList texts;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            texts << label->text();
        return texts;
    }

    Parameters Settings;
    TScriptedModal modal;
};

TEST_F(DetailDialogsTest, PrecisionRoundTrip)
{
    struct Case {
        int stored;
        bool checkedShown;
        int spinShown;
        std::function<void(TfmPrecision&)> edit;
        QDialogButtonBox::StandardButton button;
        int storedAfter;
    };
    const auto nothing = [](TfmPrecision&) {};
    const std::vector<Case> cases = {
        {5, true, 1, nothing, QDialogButtonBox::Ok, 5},
        {4, true, 1, nothing, QDialogButtonBox::Ok, 5},
        {2, false, 2, nothing, QDialogButtonBox::Ok, 2},
        {2, false, 2, [](TfmPrecision& d) { d.chPrecission05->setChecked(true); }, QDialogButtonBox::Ok, 5},
        {5, true, 1, [](TfmPrecision& d) { d.chPrecission05->setChecked(false); d.edPrecision->setValue(0); },
         QDialogButtonBox::Ok, 0},
        {3, false, 3, [](TfmPrecision& d) { d.chPrecission05->setChecked(true); }, QDialogButtonBox::Cancel, 3},
        {0, false, 0, [](TfmPrecision& d) { d.edPrecision->setValue(9); }, QDialogButtonBox::Ok, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("stored " + std::to_string(c.stored));
        Settings.Precision = c.stored;
        modal.ThenDialog([&](QDialog& dialog) {
            auto& precision = static_cast<TfmPrecision&>(dialog);
            EXPECT_EQ(precision.chPrecission05->isChecked(), c.checkedShown);
            EXPECT_EQ(precision.edPrecision->value(), c.spinShown);
            EXPECT_EQ(precision.edPrecision->isEnabled(), !c.checkedShown);
            c.edit(precision);
            EXPECT_EQ(precision.edPrecision->isEnabled(), !precision.chPrecission05->isChecked());
            EXPECT_EQ(Settings.Precision, c.stored);   // nothing written before closing
            return Press(dialog, precision.Buttons, c.button);
        });
        EXPECT_EQ(ShowPrecisionDialog(Settings, nullptr, &modal.Window), c.button == QDialogButtonBox::Ok);
        EXPECT_EQ(Settings.Precision, c.storedAfter);
    }
    EXPECT_EQ(modal.shownDialogs.front(), "TfmPrecision");
}

TEST_F(DetailDialogsTest, PrecisionDialogTexts)
{
    TfmPrecision dialog(Settings);
    EXPECT_EQ(dialog.chPrecission05->text(), "Точность отображения температуры 0.5 °С");
    EXPECT_EQ(dialog.edPrecision->objectName(), "edPrecision");
    EXPECT_EQ(dialog.chPrecission05->objectName(), "chPrecission05");
    EXPECT_EQ(dialog.edPrecision->minimum(), 0);
    EXPECT_EQ(dialog.edPrecision->maximum(), 3);
    EXPECT_TRUE(Labels(dialog).contains("Точность отображения темтературы"));
    EXPECT_TRUE(Labels(dialog).contains("знаков после запятой"));
}

TEST_F(DetailDialogsTest, AveragingPeriodRoundTrip)
{
    Settings.AveragePeriod = 15;
    modal.ThenDialog([](QDialog& dialog) {
        auto& period = static_cast<TfmTimePeriod&>(dialog);
        EXPECT_EQ(period.edAvarage->value(), 15);
        EXPECT_EQ(period.edAvarage->maximum(), 65535);
        EXPECT_EQ(period.edAvarage->minimum(), 0);
        EXPECT_TRUE(Labels(dialog).contains("Период усреднения"));
        EXPECT_TRUE(Labels(dialog).contains("мин."));
        period.edAvarage->setValue(60);
        return Press(dialog, period.Buttons, QDialogButtonBox::Cancel);
    });
    EXPECT_FALSE(ShowTimePeriodDialog(Settings, nullptr, &modal.Window));
    EXPECT_EQ(Settings.AveragePeriod, 15);

    modal.ThenDialog([](QDialog& dialog) {
        auto& period = static_cast<TfmTimePeriod&>(dialog);
        period.edAvarage->setValue(60);
        return Press(dialog, period.Buttons, QDialogButtonBox::Ok);
    });
    EXPECT_TRUE(ShowTimePeriodDialog(Settings, nullptr, &modal.Window));
    EXPECT_EQ(Settings.AveragePeriod, 60);
    EXPECT_EQ(modal.shownDialogs, (std::vector<QString>{"TfmTimePeriod", "TfmTimePeriod"}));
}

TEST_F(DetailDialogsTest, DialogsKeepTheirPlacementInTheSettingsFile)
{
    TAppFolders folders;
    IniFile settings(folders.SettingsFile().toStdString());
    {
        TfmTimePeriod period(Settings, &settings);
        period.setGeometry(40, 50, 300, 120);
        TfmPrecision precision(Settings, &settings);
        precision.setGeometry(60, 70, 320, 160);
    }
    EXPECT_EQ(settings.ReadInteger("TfmTimePeriod", "Width", 0), 300);
    EXPECT_EQ(settings.ReadInteger("TfmPrecision", "Height", 0), 160);
    TfmPrecision again(Settings, &settings);
    EXPECT_EQ(again.width(), 320);
}

} // namespace
