// The settings file of the main window.
#include "app/FMain.h"

#include "app/uUser.h"

#include <algorithm>

namespace {
bool noComSwitch = false;
}

void TfmMain::LoadSettings()
{
    AddFallbackAdministrator();
}

void TfmMain::FormStorage1SavePlacement()
{
}

// Without any administrator nobody could change the configuration: "Admin" with an empty
// password is added and logged in.
void TfmMain::AddFallbackAdministrator()
{
    if (std::any_of(Users.begin(), Users.end(), [](const auto& user) { return user->IsAdmin; }))
        return;
    Users.push_back(std::make_unique<TUser>(QStringLiteral("Admin"), QStringLiteral("1")));
    CurrentUser = Users.back().get();
}

bool TfmMain::NoComMode() const { return noComSwitch; }
void TfmMain::ApplyNoComSwitch(bool on) { noComSwitch = on; }
QString TfmMain::DataFilePath() const { return QString(); }
int TfmMain::MaxTemperature() const { return 30; }
