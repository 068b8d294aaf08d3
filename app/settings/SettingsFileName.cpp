#include "app/settings/SettingsFileName.h"

#include "platform/posix/ProgramFolder.h"

std::string SettingsFileName()
{
    return ProgramFile("Tavik_zuzid.INI");
}
