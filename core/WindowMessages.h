#pragma once
// The events by which worker threads (and the board) reach the main window. They keep the
// numbers of the window messages they stand for, which sit in Qt's user event range.
#include "base/Colour.h"

#include <QEvent>
#include <QString>

inline constexpr QEvent::Type WM_EXCHANGE_LOG = static_cast<QEvent::Type>(2025);        // a log line
inline constexpr QEvent::Type WM_SCHEDULED_EXCHANGE = static_cast<QEvent::Type>(2026);  // run a full exchange
inline constexpr QEvent::Type WM_ARRANGE_SILOBINS = static_cast<QEvent::Type>(2027);    // rearrange the board
inline constexpr QEvent::Type WM_EXCHANGE_DONE = static_cast<QEvent::Type>(2028);       // a poll pass has ended

// `WM_EXCHANGE_LOG`: one log line and its colour. The event owns its text.
class TExchangeLogEvent : public QEvent {
public:
    TExchangeLogEvent(QString text, TColor colour)
        : QEvent(WM_EXCHANGE_LOG), Text(std::move(text)), Colour(colour) {}
    const QString Text;
    const TColor Colour;
};
