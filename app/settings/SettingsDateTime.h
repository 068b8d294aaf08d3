#pragma once
// Date-time values in the settings file. They are written in one form whatever the machine's
// locale ("2024-03-01 14:05:00"), and read in that form or in the day-first form with dots
// that files written under a Russian locale hold ("01.03.2024 14:05:00", "01.03.2024").
#include "base/DateTime.h"

#include <optional>
#include <string>

std::string DateTimeToSettingsText(TDateTime value);
std::optional<TDateTime> SettingsTextToDateTime(const std::string& text);
