#pragma once
// The events by which the schedule thread and the board reach the main window (log lines and the
// end of a pass travel as signals; their numbers are kept with the others). They keep the
// numbers of the window messages they stand for, which sit in Qt's user event range.
#include <QEvent>

inline constexpr QEvent::Type WM_EXCHANGE_LOG = static_cast<QEvent::Type>(2025);        // a log line
inline constexpr QEvent::Type WM_SCHEDULED_EXCHANGE = static_cast<QEvent::Type>(2026);  // run a full exchange
inline constexpr QEvent::Type WM_ARRANGE_SILOBINS = static_cast<QEvent::Type>(2027);    // rearrange the board
inline constexpr QEvent::Type WM_EXCHANGE_DONE = static_cast<QEvent::Type>(2028);       // a poll pass has ended
