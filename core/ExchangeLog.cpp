#include "core/ExchangeLog.h"

void PostExchangeLog(const ExchangeLogSink& sink, const QString& text, TColor colour)
{
    PostExchangeLog(sink, text.toStdString(), colour);
}

void TExchangeLog::Post(const QString& text, TColor colour)
{
    emit Line(QString::fromStdString(CutUtf8(text.toStdString(), kExchangeLogMaxChars)), colour);
}

ExchangeLogSink TExchangeLog::Sink()
{
    return [this](const std::string& text, TColor colour) { emit Line(QString::fromStdString(text), colour); };
}
