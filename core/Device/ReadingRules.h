#pragma once
// What a sensor's new readings depend on outside the sensor: the settings in force (the rate
// check, the averaging period), the step from raw words to ohms, and where the raw-reading
// trace and rate notes go. A pass hands rules made from its own copy of the settings, so the
// sensors it fills never read the record the main window edits.
#include "comm/ExchangeLog.h"
#include "core/Device/ResistanceCalc.h"
#include "core/Parameters.h"

struct TReadingRules {
    const Parameters& Settings;
    TResistanceCalc Calc;
    ExchangeLogSink Log;
};

// Rules that run the settings' own calculation procedure.
inline TReadingRules MakeReadingRules(const Parameters& settings, ExchangeLogSink log = {})
{
    return {settings, CalcProcResistance(settings), std::move(log)};
}
