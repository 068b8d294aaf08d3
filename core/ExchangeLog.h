#pragma once
// The log stream as the Qt layers see it. It is the very stream of comm/ExchangeLog.h: lines
// posted here and lines posted by the communication layer reach the one sink in one order.
#include "comm/ExchangeLog.h"

#include <QString>

class QObject;

// Posts one line (cut to its first 250 characters). Returns at once; safe from any thread.
void PostExchangeLog(const QString& text, TColor colour);

// Delivers every line from now on to the receiver as a queued `TExchangeLogEvent`
// (WM_EXCHANGE_LOG), in the order the lines were posted. The receiver handles them on its own
// thread. nullptr stops the delivery; the receiver must do that before it is destroyed.
// Replaces any sink installed before (tests may install their own with SetExchangeLogSink).
void SetExchangeLogReceiver(QObject* receiver);
