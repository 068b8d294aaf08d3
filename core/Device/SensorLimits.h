#pragma once
// The temperatures with a meaning of their own, shared by the sensors, the alarms and the views.
// -36 and 70 themselves are ordinary temperatures; only values beyond them are line faults.

// No value in the current pass (shown as an empty text).
inline constexpr double kNoData = -999.0;
// Below this the sensor's line is short-circuited.
inline constexpr double kShortCircuitBelow = -36.0;
// Above this the sensor's line is open.
inline constexpr double kOpenLineAbove = 70.0;

inline bool IsShortCircuit(double value) { return value < kShortCircuitBelow; }
inline bool IsOpenLine(double value) { return value > kOpenLineAbove; }
// Within the measuring range, both ends included.
inline bool IsInRange(double value) { return value >= kShortCircuitBelow && value <= kOpenLineAbove; }
