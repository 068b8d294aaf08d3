#pragma once
// The hardware tree and the counts the settings file keeps of it: the details given to a tree
// made to the counts, and the counts read back from a tree for writing them.
#include "app/settings/SettingsSections.h"

class THardConfig;

// The period and the air-temperature sensor go to the tree.
void ApplyHardwareDetails(THardConfig& config, const THardwareCounts& counts);

// The tree's own counts: the number of local blocks, the suspensions of block 0 and the sensors
// of its suspension 0. Without a tree (a load that never got to it) the defaults.
THardwareCounts HardwareCountsOf(const THardConfig* config);
