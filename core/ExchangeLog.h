#pragma once
// The log stream as the Qt layers see it: a Qt text posted to a sink, and the program's stream
// object, whose Line signal the main window's message log receives.
#include "comm/ExchangeLog.h"

#include <QObject>
#include <QString>

// Posts one line (cut to its first 250 characters) to the sink; without one it is dropped.
void PostExchangeLog(const ExchangeLogSink& sink, const QString& text, TColor colour);

// The program's log stream. Any thread posts; each line is emitted as Line on the posting
// thread, so a receiver on another thread gets the lines queued, in the order they were posted.
class TExchangeLog : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Posts one line (cut to its first 250 characters). Safe from any thread.
    void Post(const QString& text, TColor colour);
    // A sink that posts here, for the parts that are handed one; it must not outlive the stream.
    ExchangeLogSink Sink();

signals:
    void Line(const QString& text, TColor colour);
};
