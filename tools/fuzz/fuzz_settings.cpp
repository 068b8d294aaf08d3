// The settings file read as the main window reads it at its first showing: its placement, the
// sections of the record, the hardware tree made to the counts read, the users, the printer
// keys and the set-points. Reading never fails (a bad value gives the default); a crash,
// undefined behaviour, an escaping error, a hang or memory without bound is a fault.
#include <QWidget>

#include "app/settings/FormPlacement.h"
#include "app/settings/HardConfigCounts.h"
#include "app/settings/SettingsSections.h"
#include "app/users/User.h"
#include "app/users/UserStorage.h"
#include "core/Device/HardConfig.h"
#include "core/Parameters.h"
#include "platform/posix/IniFile.h"
#include "tools/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = ScratchPath(QStringLiteral("Tavik_zuzid.INI"));
    WriteScratchFile(path, FuzzInput(data, size));
    const IniFile ini(path.toStdString());
    QWidget window;
    RestoreFormPlacement(ini, window, "TfmMain");

    Parameters settings;
    TWindowSettings windowSettings;
    ReadGeneralSection(ini, settings, windowSettings);
    ReadSiteSection(ini, settings);
    THardwareCounts counts = ReadHardwareCounts(ini, settings);
    THardConfig tree(counts.Blocks, counts.Suspensions, counts.Sensors);
    ReadHardwareDetails(ini, counts);
    ApplyHardwareDetails(tree, counts);
    ReadConfigurationKeys(ini, settings, windowSettings);
    TUserList users = ReadUsers(ini);
    AddFallbackAdministrator(users);
    ReadPrintingKeys(ini, settings, windowSettings);
    ReadAlarmSection(ini, settings);
    return 0;
}
