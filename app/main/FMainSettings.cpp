// The main window and the settings file: its own placement section at the first showing and
// at closing, and every section of the settings (SettingsSections.h, UserStorage.h).
#include "app/main/FMain.h"

#include "app/detail/DetailControl.h"
#include "app/exchange/PortPlacement.h"
#include "app/settings/DemoConfiguration.h"
#include "app/settings/HardConfigCounts.h"
#include "app/dialogs/FExecProc.h"
#include "app/users/FPasswordDlg.h"
#include "app/settings/FormPlacement.h"
#include "app/main/ModalRunner.h"
#include "app/users/UserStorage.h"
#include "app/users/User.h"
#include "core/Device/HardConfig.h"
#include "core/Parameters.h"

#include <QAction>
#include <QGroupBox>
#include <QSplitter>

namespace {

constexpr const char* kMainPlacement = "TfmMain";
constexpr const char* kPasswordDlgPlacement = "TfmPasswordDlg";

// The groups of settings in the order they are read; saving writes back only the groups that
// were read whole, so a load that failed part-way never overwrites the rest with defaults.
enum TSettingsStage { GeneralRead = 1, SiteRead, ConfigurationRead, UsersRead, PrintingRead, AlarmsRead };

} // namespace

// The window's position and the port's settings, restored before the settings are loaded.
void TfmMain::RestoreMainPlacement()
{
    const IniFile& ini = *FormStorage1;
    RestoreFormPlacement(ini, *this, kMainPlacement);
    ReadPortPlacement(ini, kMainPlacement, *Port);
    const char* s = kMainPlacement;
    acShowErr->setChecked(ini.ReadBool(s, "acShowErr.Checked", acShowErr->isChecked()));
    const int detailWidth = ini.ReadInteger(s, "gbDetal.Width", 0);
    if (detailWidth > 0 && detailWidth < width())
        Splitter1->setSizes({width() - detailWidth, detailWidth});
    ac485->setChecked(Port->is485());
    acEcho->setChecked(Port->Echo());
}

void TfmMain::SaveMainPlacement()
{
    IniFile& ini = *FormStorage1;
    SaveFormPlacement(ini, *this, kMainPlacement);
    WritePortPlacement(ini, kMainPlacement, *Port);
    const char* s = kMainPlacement;
    ini.WriteBool(s, "acShowErr.Checked", acShowErr->isChecked());
    ini.WriteInteger(s, "gbDetal.Width", gbDetal->width());
}

void TfmMain::RebuildHardConfig(const THardwareCounts& counts)
{
    HardConfig.reset();
    HardConfig = std::make_unique<THardConfig>(counts.Blocks, counts.Suspensions, counts.Sensors);
}

void TfmMain::LoadSettings()
{
    IniFile& ini = *FormStorage1;
    if (Settings.NoCom)
        CreateDemoConfiguration(ini);
    FLoadedStages = 0;
    TWindowSettings window;

    ReadGeneralSection(ini, Settings, window);
    LastBackup = window.LastBackup;
    acReport2Col->setChecked(Settings.Print2Column);
    FLoadedStages = GeneralRead;

    ReadSiteSection(ini, Settings);
    FLoadedStages = SiteRead;

    THardwareCounts hardware = ReadHardwareCounts(ini, Settings);
    RebuildHardConfig(hardware);
    ReadHardwareDetails(ini, hardware);
    ApplyHardwareDetails(*HardConfig, hardware);
    ReadConfigurationKeys(ini, Settings, window);
    acColorPrint->setChecked(window.ColorPrint);
    Detail->HistorySortOrder = window.HistorySortOrder;
    FLoadedStages = ConfigurationRead;

    CurrentUser = nullptr;
    Users = ReadUsers(ini);
    if (TUser* fallback = AddFallbackAdministrator(Users))
        CurrentUser = fallback;
    FLoadedStages = UsersRead;

    ReadPrintingKeys(ini, Settings, window);
    acSortBySilos->setChecked(window.SortBySilos);
    acSortByBin->setChecked(!window.SortBySilos);
    FLoadedStages = PrintingRead;

    ReadAlarmSection(ini, Settings);
    FLoadedStages = AlarmsRead;
}

void TfmMain::FormStorage1SavePlacement()
{
    IniFile& ini = *FormStorage1;
    ini.BeginUpdate();
    try {
        SaveMainPlacement();
        TWindowSettings window;
        window.LastBackup = LastBackup;
        window.ColorPrint = acColorPrint->isChecked();
        window.SortBySilos = acSortBySilos->isChecked();
        window.HistorySortOrder = Detail->HistorySortOrder;
        window.Hardware = HardwareCountsOf(HardConfig.get());
        if (FLoadedStages >= GeneralRead)
            WriteGeneralSection(ini, Settings, window);
        if (FLoadedStages >= SiteRead)
            WriteSiteSection(ini, Settings);
        if (FLoadedStages >= ConfigurationRead)
            WriteConfigurationKeys(ini, Settings, window);
        if (FLoadedStages >= UsersRead)
            WriteUsers(ini, Users);
        if (FLoadedStages >= PrintingRead)
            WritePrintingKeys(ini, Settings, window);
        if (FLoadedStages >= AlarmsRead)
            WriteAlarmSection(ini, Settings);
    } catch (...) {
        ini.EndUpdate();
        throw;
    }
    ini.EndUpdate();
}

// The login dialog preselects the user chosen last time, kept in its placement section.
TfmPasswordDlg::TMemory TfmMain::PasswordDlgMemory()
{
    return {
        [this] { return static_cast<int>(FormStorage1->ReadInteger(kPasswordDlgPlacement, "ItemIndex", -1)); },
        [this](int index) { FormStorage1->WriteInteger(kPasswordDlgPlacement, "ItemIndex", index); },
    };
}

// The calculation procedure editor: the text is used from the next conversion on and written
// to the settings file at closing.
void TfmMain::acExecProcExecute()
{
    TfmExecProc editor(*FormStorage1, this);
    editor.SetProcedure(Settings.CalcProc);
    if (ExecModal(editor) == QDialog::Accepted)
        Settings.CalcProc = editor.Procedure();
}
