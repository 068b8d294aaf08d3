#include "core/ExchangeLog.h"

#include "core/WindowMessages.h"

#include <QCoreApplication>
#include <QObject>

void PostExchangeLog(const QString& text, TColor colour)
{
    PostExchangeLog(text.toStdString(), colour);
}

void SetExchangeLogReceiver(QObject* receiver)
{
    if (!receiver) {
        SetExchangeLogSink({});
        return;
    }
    // Qt keeps posted events for one receiver in the order they were posted, and the stream
    // posts one line at a time under its lock, so the receiver sees the stream's order.
    SetExchangeLogSink([receiver](const std::string& text, TColor colour) {
        QCoreApplication::postEvent(receiver, new TExchangeLogEvent(QString::fromStdString(text), colour));
    });
}
