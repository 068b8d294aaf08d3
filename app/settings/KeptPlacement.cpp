#include "app/settings/KeptPlacement.h"

#include "app/settings/FormPlacement.h"
#include "app/main/UnhandledException.h"
#include "platform/posix/IniFile.h"

#include <QWidget>

TKeptPlacement::TKeptPlacement(IniFile* settings, QWidget& window, const char* section)
    : FSettings(settings), FWindow(window), FSection(section)
{
    if (FSettings)
        RestoreFormPlacement(*FSettings, FWindow, FSection);
}

// A settings file that cannot be written loses the placement, never the dialog's work.
TKeptPlacement::~TKeptPlacement()
{
    if (!FSettings)
        return;
    RunGuarded(&FWindow, [this] {
        FSettings->BeginUpdate();
        SaveFormPlacement(*FSettings, FWindow, FSection);
        FSettings->EndUpdate();
    });
}
