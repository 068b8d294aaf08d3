#pragma once
// The schedule plan in the settings file: section "Расписание", one key per entry in plan
// order, named by the entry's position and kind ("0_everyday", "1_period", "2_once"), holding
// the entry's value in decimal.
#include "app/schedule/SchedulePlan.h"

#include <vector>

class IniFile;

inline constexpr const char* kScheduleSection = "Расписание";

// The entries in the order of the keys in the file. Values that are not numbers (or are -1)
// are skipped; a key whose kind is missing or unknown is a once entry.
std::vector<TPlanItem> ReadPlanSection(const IniFile& ini);

// Replaces the section with the plan, keys numbered from 0. The file is left untouched when it
// already holds exactly this plan. Throws EIniFileError when the file cannot be written.
void WritePlanSection(IniFile& ini, const std::vector<TPlanItem>& items);
