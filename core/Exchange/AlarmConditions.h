#pragma once
// The notification conditions judged for each sensor at the end of a pass, and their texts for
// the notification log ("overlay.log") and for the relay's log lines. Condition 1 (the
// commutator did not answer) belongs to the live pass itself and is never judged per sensor.
#include "core/Parameters.h"

#include <QString>

class TSilos;
class TTIT;

// Whether the condition holds for the sensor, whose pass value is `value` (TTIT::GetValue),
// against the set-points of the settings. The switches in the settings play no part here.
bool AlarmHolds(const Parameters& settings, TAlarmCondition condition, const TTIT& tit, double value);

// The line the condition writes to the notification log; `index` counts sensors from 0.
QString AlarmOverlayText(const Parameters& settings, TAlarmCondition condition, const TSilos& silos, int index,
                         double value);

// The text of the relay's log lines: as the notification text, but the missing local block's
// line also names the sensor.
QString AlarmRelayText(const Parameters& settings, TAlarmCondition condition, const TSilos& silos, int index,
                       double value);

// The line condition 1 writes to the notification log when the live pass raises it.
QString CommutatorNoReplyText();
