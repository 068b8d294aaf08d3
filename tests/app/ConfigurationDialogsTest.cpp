// The configuration dialogs opened from the main window's actions on the demonstration
// configuration: what each shows, what OK writes back and that Cancel writes nothing.
#include "AppTestEnvironment.h"
#include "ScriptedModal.h"

#include "MainWindowUnderTest.h"
#include "app/board/BinPanel.h"
#include "app/board/BoardHost.h"
#include "app/board/FrameSiloBin.h"
#include "app/board/SiloBinGrid.h"
#include "app/detail/DetailTree.h"
#include "app/detail/DetailView.h"
#include "app/dialogs/FDetalTIT.h"
#include "app/dialogs/FGraphParam.h"
#include "app/dialogs/FHardCfg.h"
#include "app/dialogs/FProperties.h"
#include "app/dialogs/FSetMaxT.h"
#include "app/graph/SiloGraph.h"
#include "app/widgets/ColorPickerButton.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QChart>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QValueAxis>

namespace {

class ConfigurationDialogsTest : public ::testing::Test {
protected:
    ConfigurationDialogsTest()
    {
        window = std::make_unique<TMainWindowUnderTest>(QStringList{"/opt/Tavik_zuzid/Tavik_zuzid", "no_com"}, modal);
        window->show();
        QCoreApplication::processEvents();
        window->aList.UpdateAll();
    }
    ~ConfigurationDialogsTest() override
    {
        window->Modified = false;
        window->close();
        window.reset();
    }

    TAppFolders folders;
    TScriptedModal modal;
    std::unique_ptr<TfmMain> window;
};

template <class Dialog>
void ThenDialog(TScriptedModal& modal, std::function<QPushButton*(Dialog&)> script)
{
    modal.ThenDialog([script](QDialog& shown) {
        auto& dialog = static_cast<Dialog&>(shown);
        return TScriptedModal::Press(dialog, script(dialog));
    });
}

} // namespace

TEST_F(ConfigurationDialogsTest, HardwareDialogReplacesTheTreeOnlyOnOkAndAlwaysRebuildsTheBoard)
{
    const THardConfig* before = window->HardConfig.get();
    window->HardConfig->Period = 1234;
    const QString layout = window->Settings.SiloBinsFile;
    QFile::remove(layout);
    ThenDialog<TfmHardCfg>(modal, [](TfmHardCfg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Конфигурация"));
        EXPECT_EQ(dialog.edBinCount->value(), 2);
        EXPECT_EQ(dialog.edDevCount->value(), 6);
        EXPECT_EQ(dialog.edTITCount->value(), 6);
        EXPECT_EQ(dialog.edSilBinCount->value(), 2);
        EXPECT_EQ(dialog.edTITCount->maximum(), 6);
        EXPECT_EQ(dialog.edDevCount->maximum(), 12);
        EXPECT_EQ(dialog.edBinCount->maximum(), 256);
        EXPECT_EQ(dialog.edSilBinCount->maximum(), 32);
        dialog.edBinCount->setValue(5);
        return dialog.btnCancel;
    });
    ASSERT_TRUE(window->Execute(window->acHardCnfg));
    EXPECT_TRUE(QFileInfo::exists(layout)) << "the layout is saved before the board is cleared";
    EXPECT_EQ(window->HardConfig.get(), before);
    EXPECT_EQ(window->Board->SiloBinCount(), 2);
    EXPECT_FALSE(window->Board->Suspensions().empty());

    ThenDialog<TfmHardCfg>(modal, [](TfmHardCfg& dialog) {
        dialog.edSilBinCount->setValue(3);
        dialog.edBinCount->setValue(4);
        dialog.edDevCount->setValue(3);
        dialog.edTITCount->setValue(5);
        return dialog.btnOk;
    });
    ASSERT_TRUE(window->Execute(window->acHardCnfg));
    EXPECT_EQ(window->Settings.SiloBinCount, 3);
    EXPECT_EQ(window->HardConfig->MBCount(), 4);
    EXPECT_EQ(window->HardConfig->SilosPerMB(), 3);
    EXPECT_EQ(window->HardConfig->TITPerSilos(), 5);
    EXPECT_EQ(window->HardConfig->Period, 1234);
    EXPECT_EQ(window->Board->SiloBinCount(), 3);
}

// The air sensor's page: the lists offer the positions of the counts in the edits; what is
// chosen is kept even when the counts are lowered afterwards; unchecking removes the sensor.
TEST_F(ConfigurationDialogsTest, AirSensorPositionsAsChosen)
{
    struct Case {
        const char* name;
        bool use;
        int mb, dev, tit;          // items chosen (-1: none)
        int lowerTITCount;         // 0: the counts stay
        int airMB, airSilos, airTIT;
        bool airSensor;
    } cases[] = {
        {"chosen", true, 1, 2, 3, 0, 1, 2, 3, true},
        {"unchecked", false, 1, 2, 3, 0, -1, -1, -1, false},
        {"counts lowered after", true, 0, 0, 5, 2, 0, 0, 5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window->HardConfig->AirMB = window->HardConfig->AirSilos = window->HardConfig->AirTIT = -1;
        ThenDialog<TfmHardCfg>(modal, [&c](TfmHardCfg& dialog) {
            EXPECT_FALSE(dialog.chUseAirTemp->isChecked());
            dialog.edDevCount->setValue(4);
            dialog.PageControl1->setCurrentWidget(dialog.taAir);
            EXPECT_EQ(dialog.cbAirMB->count(), 2);
            EXPECT_EQ(dialog.cbAirDev->count(), 4);
            EXPECT_EQ(dialog.cbAirTIT->itemText(5), QStringLiteral("№ 6"));
            EXPECT_FALSE(dialog.cbAirMB->isEnabled());
            dialog.chUseAirTemp->click();
            EXPECT_TRUE(dialog.cbAirMB->isEnabled());
            for (auto [list, item] : {std::pair{dialog.cbAirMB, c.mb}, {dialog.cbAirDev, c.dev}, {dialog.cbAirTIT, c.tit}}) {
                list->setCurrentIndex(item);
                emit list->activated(item);
            }
            if (!c.use)
                dialog.chUseAirTemp->click();
            dialog.PageControl1->setCurrentIndex(0);
            if (c.lowerTITCount)
                dialog.edTITCount->setValue(c.lowerTITCount);
            return dialog.btnOk;
        });
        ASSERT_TRUE(window->Execute(window->acHardCnfg));
        EXPECT_EQ(window->HardConfig->AirMB, c.airMB);
        EXPECT_EQ(window->HardConfig->AirSilos, c.airSilos);
        EXPECT_EQ(window->HardConfig->AirTIT, c.airTIT);
        EXPECT_EQ(window->HardConfig->GetAirTIT() != nullptr, c.airSensor);
    }
}

TEST_F(ConfigurationDialogsTest, SetPointsAndSiteDetailsAreWrittenOnlyOnSave)
{
    Parameters& s = window->Settings;
    s.MaxT = 30;
    s.ColorCheckT2 = clBlack;
    s.TextBreak = "X";
    s.UseCheckSpeed = false;
    s.CheckSpeed = 0.5;
    s.Elevator = {};
    s.Elevator.Town = "Город";
    const auto edit = [](TfmSetMaxT& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Параметры уставок"));
        EXPECT_EQ(dialog.edMaxT->value(), 30);
        EXPECT_EQ(dialog.edBrake->text(), "X");
        EXPECT_EQ(dialog.edCheckSpeed->minimum(), 0.5);
        EXPECT_EQ(dialog.edCheckSpeed->maximum(), 5);
        dialog.edMaxT->setValue(35);
        dialog.edCheckT1->setValue(0);
        dialog.edCheckT2->setValue(22);
        dialog.cpCheckT2->SetColor(0x00FFFF);
        dialog.edKz->setText("K3");
        dialog.cpColorKz->SetColor(0x800080);
        dialog.chUseSpeed->setChecked(true);
        dialog.edCheckSpeed->setValue(1.7);
        dialog.edCheckSpeed->setValue(9);   // above the range: 5
    };
    ThenDialog<TfmSetMaxT>(modal, [&](TfmSetMaxT& dialog) {
        edit(dialog);
        return dialog.btnCancel;
    });
    ASSERT_TRUE(window->Execute(window->acMaxT));
    EXPECT_EQ(s.MaxT, 30);
    EXPECT_EQ(s.TextShort, QStringLiteral("КЗ"));
    EXPECT_FALSE(s.UseCheckSpeed);

    ThenDialog<TfmSetMaxT>(modal, [&](TfmSetMaxT& dialog) {
        edit(dialog);
        return dialog.btnOk;
    });
    ASSERT_TRUE(window->Execute(window->acMaxT));
    EXPECT_EQ(s.MaxT, 35);
    EXPECT_EQ(s.CheckT1, 0);
    EXPECT_EQ(s.CheckT2, 22);
    EXPECT_EQ(s.ColorCheckT2, 0x00FFFFu);
    EXPECT_EQ(s.TextShort, "K3");
    EXPECT_EQ(s.ColorKz, 0x800080u);
    EXPECT_TRUE(s.UseCheckSpeed);
    EXPECT_DOUBLE_EQ(s.CheckSpeed, 5);

    for (bool save : {false, true}) {
        ThenDialog<TfmProperties>(modal, [save](TfmProperties& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Ввод реквизитов"));
            EXPECT_EQ(dialog.edCity->text(), QStringLiteral("Город"));
            dialog.edRegion->setText("Область 1");
            dialog.edArea->setText("Район 2");
            dialog.edElevator->setText("Элеватор 3");
            return save ? dialog.btnOk : dialog.btnCancel;
        });
        ASSERT_TRUE(window->Execute(window->acSetProp));
        EXPECT_EQ(s.Elevator.Region, save ? "Область 1" : "");
        EXPECT_EQ(s.Elevator.District, save ? "Район 2" : "");
        EXPECT_EQ(s.Elevator.Elevator, save ? "Элеватор 3" : "");
        EXPECT_EQ(s.Elevator.Town, QStringLiteral("Город"));
    }
}

// A sensor without R0 shows the 53-ohm type and gets it on saving; with "Применить ко всем
// выбранным силосам" the selected suspensions of both blocks take the calibration.
TEST_F(ConfigurationDialogsTest, CalibrationInstallsTheShownSensorsAndCopiesToTheSelected)
{
    const std::vector<TSilos*> first = window->Board->FrameSuspensions(0);
    const std::vector<TSilos*> second = window->Board->FrameSuspensions(1);
    ASSERT_GE(first.size(), 3u);
    ASSERT_GE(second.size(), 2u);
    TSilos* shown = first[0];
    shown->GetTIT(0)->SetOff(0);
    shown->GetTIT(1)->SetOff(50);
    for (TSilos* selected : {first[0], first[1], second[0], second[1]})
        selected->Selected = selected != second[1];
    first[2]->Selected = false;
    second[1]->GetTIT(5)->SetTk(0.5);
    DetalViewOf(*window->vtDetal)->ShowSilosDetail("Силос", shown);

    // Rows: the top sensor first.
    ThenDialog<TfmDetalTIT>(modal, [&](TfmDetalTIT& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Корректировка температур"));
        EXPECT_EQ(dialog.Silos(), shown);
        EXPECT_EQ(dialog.R0Lists.size(), 6u);
        EXPECT_EQ(dialog.R0Lists[5]->currentText(), QStringLiteral("53 Ом"));
        EXPECT_EQ(dialog.Coefficients[5]->text(), "4.4084");
        EXPECT_EQ(dialog.R0Lists[4]->currentText(), QStringLiteral("50 Ом"));
        EXPECT_EQ(dialog.Coefficients[4]->text(), "4.6729");
        dialog.R0Lists[4]->setCurrentIndex(1);
        EXPECT_EQ(dialog.Coefficients[4]->text(), "4.4084");
        dialog.Corrections[0]->setValue(-1.25);
        dialog.chAllDev->setChecked(true);
        return dialog.btnCancel;
    });
    ASSERT_TRUE(window->Execute(window->acTITParam));
    EXPECT_EQ(shown->GetTIT(0)->Off(), 0);
    EXPECT_EQ(shown->GetTIT(1)->Off(), 50);

    ThenDialog<TfmDetalTIT>(modal, [&](TfmDetalTIT& dialog) {
        dialog.Corrections[0]->setValue(-1.25);   // the top sensor: index 5
        dialog.chAllDev->setChecked(true);
        return dialog.btnOk;
    });
    ASSERT_TRUE(window->Execute(window->acTITParam));
    EXPECT_EQ(shown->GetTIT(0)->Off(), 53);
    EXPECT_DOUBLE_EQ(shown->GetTIT(0)->Mult(), 4.4084);
    EXPECT_EQ(shown->GetTIT(1)->Off(), 50);
    EXPECT_DOUBLE_EQ(shown->GetTIT(1)->Mult(), 4.6729);
    EXPECT_DOUBLE_EQ(shown->GetTIT(5)->Tk(), -1.25);
    for (TSilos* selected : {first[1], second[0]}) {
        EXPECT_EQ(selected->GetTIT(0)->Off(), 53);
        EXPECT_DOUBLE_EQ(selected->GetTIT(0)->Mult(), 4.4084);
        EXPECT_DOUBLE_EQ(selected->GetTIT(5)->Tk(), -1.25);
    }
    EXPECT_DOUBLE_EQ(second[1]->GetTIT(5)->Tk(), 0.5);
    EXPECT_NE(first[2]->GetTIT(5)->Tk(), -1.25);
}

// Each header stands over its column (the corrections, the coefficients, the R0 lists), and the
// coefficients are written with the system's decimal separator, as the corrections are.
TEST_F(ConfigurationDialogsTest, CalibrationHeadersStandOverTheirColumnsAndNumbersShareOneSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TSilos* shown = window->Board->FrameSuspensions(0)[0];
    shown->GetTIT(0)->SetOff(0);
    shown->GetTIT(1)->SetOff(50);
    shown->GetTIT(1)->SetTk(0);
    DetalViewOf(*window->vtDetal)->ShowSilosDetail("Силос", shown);
    ThenDialog<TfmDetalTIT>(modal, [](TfmDetalTIT& dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        const auto centreOf = [&dialog](const QWidget* widget) {
            return widget->mapTo(&dialog, widget->rect().center()).x();
        };
        const auto header = [&dialog](const char* text) {
            for (const QLabel* label : dialog.findChildren<QLabel*>())
                if (label->text() == QString::fromUtf8(text))
                    return static_cast<const QWidget*>(label);
            ADD_FAILURE() << "no header " << text;
            return static_cast<const QWidget*>(&dialog);
        };
        const struct {
            const char* header;
            const QWidget* column;
        } columns[] = {{"Т коэф.", dialog.Corrections[5]}, {"Коэффициент", dialog.Coefficients[5]},
                       {"R нуля", dialog.R0Lists[5]}};
        for (const auto& c : columns)
            EXPECT_NEAR(centreOf(header(c.header)), centreOf(c.column), 2) << c.header;
        EXPECT_EQ(dialog.Coefficients[5]->text(), "4,4084");
        EXPECT_EQ(dialog.Coefficients[4]->text(), "4,6729");
        EXPECT_EQ(dialog.Corrections[4]->text(), "0,00");
        return dialog.btnCancel;
    });
    const bool ran = window->Execute(window->acTITParam);
    QLocale::setDefault(saved);
    EXPECT_TRUE(ran);
}

// The calibration of silo 12 (second block) given up: nothing changes, the operator's place
// included. As the dialog goes, the mouse comes back over the board; the detail and the chart
// stay on silo 12 instead of moving to the first block's focused silo.
TEST_F(ConfigurationDialogsTest, CancellingTheCalibrationKeepsTheOperatorsPlace)
{
    TfrSiLoBin& first = *window->Board->GetSiloBin(0);
    TfrSiLoBin& second = *window->Board->GetSiloBin(1);
    first.SetFocusedCell(0, 2);   // silo 3
    second.SetFocusedCell(1, 2);
    second.vtTree->setFocus();
    ASSERT_EQ(second.FocusedSilos()->GetName(), "12");
    const QString detail = window->gbDetal->title();
    ASSERT_TRUE(detail.endsWith(QStringLiteral(" силос 12"))) << detail.toStdString();
    ASSERT_EQ(window->Chart->chart()->title(), QStringLiteral("Температура силоса 12"));
    const double tk = second.FocusedSilos()->GetTIT(0)->Tk();

    window->vtDetal->setFocus();   // the dialog is opened from the detail's pop-up menu
    ThenDialog<TfmDetalTIT>(modal, [](TfmDetalTIT& dialog) {
        dialog.Corrections[5]->setValue(3.5);
        return dialog.btnCancel;
    });
    ASSERT_TRUE(window->Execute(window->acTITParam));
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(window->BinPanel, &enter);

    EXPECT_EQ(window->gbDetal->title(), detail);
    EXPECT_EQ(window->Chart->chart()->title(), QStringLiteral("Температура силоса 12"));
    EXPECT_EQ(first.FocusedSilos()->GetName(), "3");
    EXPECT_EQ(second.FocusedSilos()->GetName(), "12");
    EXPECT_EQ(second.FocusedSilos()->GetTIT(0)->Tk(), tk);
}

TEST_F(ConfigurationDialogsTest, ChartSettingsEditACopyAndApplyItOnSave)
{
    Parameters& s = window->Settings;
    s.ScaleMinT = 0;
    s.ScaleMaxT = 0;
    s.Lines[1].Width = 1;
    s.Lines[3].PointStyle = 9;   // no mark: a style the dialog does not offer
    s.Lines[3].ShowPoints = true;
    ThenDialog<TfmGraphParam>(modal, [](TfmGraphParam& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Параметры графиков"));
        EXPECT_EQ(dialog.tcSeries->count(), 6);
        EXPECT_EQ(dialog.tcSeries->tabText(1), QStringLiteral("Датчик №2"));
        EXPECT_TRUE(dialog.AxisAutoCheck->isChecked());
        EXPECT_FALSE(dialog.AxisMinEdit->isEnabled());
        dialog.AxisAutoCheck->click();
        EXPECT_EQ(dialog.AxisMinEdit->value(), -1);
        EXPECT_EQ(dialog.AxisMaxEdit->value(), 1);
        EXPECT_TRUE(dialog.AxisMaxEdit->isEnabled());
        dialog.AxisMinEdit->setValue(10);
        dialog.AxisMaxEdit->setValue(40);
        dialog.tcSeries->setCurrentIndex(3);
        EXPECT_TRUE(dialog.chPoint->isChecked());
        EXPECT_EQ(dialog.rgPointItems->checkedId(), -1);
        dialog.tcSeries->setCurrentIndex(1);
        dialog.edLine->setValue(4);
        dialog.chPoint->setChecked(true);
        dialog.rgPointItems->button(6)->click();
        return dialog.btnCancel;
    });
    ASSERT_TRUE(window->Execute(window->acGraphParam));
    EXPECT_EQ(s.ScaleMaxT, 0);
    EXPECT_EQ(s.Lines[1].Width, 1);

    // Changing the width on the second tab and saving without leaving it stores it.
    ThenDialog<TfmGraphParam>(modal, [](TfmGraphParam& dialog) {
        dialog.AxisAutoCheck->click();
        dialog.AxisMinEdit->setValue(10);
        dialog.AxisMaxEdit->setValue(40);
        dialog.tcSeries->setCurrentIndex(3);
        dialog.tcSeries->setCurrentIndex(1);
        dialog.edLine->setValue(4);
        dialog.chPoint->setChecked(true);
        dialog.rgPointItems->button(6)->click();
        return dialog.btnOk;
    });
    ASSERT_TRUE(window->Execute(window->acGraphParam));
    EXPECT_EQ(s.ScaleMinT, 10);
    EXPECT_EQ(s.ScaleMaxT, 40);
    EXPECT_EQ(s.Lines[1].Width, 4);
    EXPECT_TRUE(s.Lines[1].ShowPoints);
    EXPECT_EQ(s.Lines[1].PointStyle, 6);
    EXPECT_EQ(s.Lines[3].PointStyle, 9);
    EXPECT_FALSE(window->Chart->AutoScaleT());
    EXPECT_EQ(window->Chart->AxisT()->min(), 10);
    EXPECT_EQ(window->Chart->AxisT()->max(), 40);

    // Minimum 0 and maximum 0: automatic at the next opening; a minimum above the maximum is
    // brought down to it.
    s.ScaleMinT = 50;
    s.ScaleMaxT = 20;
    ThenDialog<TfmGraphParam>(modal, [](TfmGraphParam& dialog) {
        EXPECT_EQ(dialog.AxisMinEdit->value(), 20);
        dialog.AxisMinEdit->setValue(0);
        dialog.AxisMaxEdit->setValue(0);
        return dialog.btnOk;
    });
    ASSERT_TRUE(window->Execute(window->acGraphParam));
    ThenDialog<TfmGraphParam>(modal, [](TfmGraphParam& dialog) {
        EXPECT_TRUE(dialog.AxisAutoCheck->isChecked());
        EXPECT_FALSE(dialog.AxisMinEdit->isEnabled());
        EXPECT_FALSE(dialog.AxisMaxEdit->isEnabled());
        return dialog.btnCancel;
    });
    ASSERT_TRUE(window->Execute(window->acGraphParam));
    EXPECT_TRUE(window->Chart->AutoScaleT());
}
