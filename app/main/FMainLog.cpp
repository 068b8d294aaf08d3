// Log lines reaching the main window (WM_EXCHANGE_LOG): the message log (MessageLog.h) names
// the devices, writes the debug log file and shows the lines on the debug page when it is in
// use and the red ones in the error list when that is switched on; the red lines of a failed
// line (a port that would not open, a controller that did not answer) always.
#include "app/main/FMain.h"

#include "app/exchange/MessageLog.h"
#include "app/main/UnhandledException.h"
#include "core/Monitor.h"

#include <QAction>

// The program's log stream and the passes' lines reach the window queued, in the order they
// were posted, even when posted from the window's own thread.
void TfmMain::ConnectLog()
{
    const auto line = [this](const QString& text, TColor colour, bool lineFailed = false) {
        RunGuarded(this, [&] { WMExchangeLog(text, colour, lineFailed); });
    };
    connect(&Monitor.Log, &TExchangeLog::Line, this, [line](const QString& text, TColor colour) { line(text, colour); },
            Qt::QueuedConnection);
    connect(&Monitor.Passes, &TPassRunner::LogLine, this, line, Qt::QueuedConnection);
    // What no handler caught becomes a red line too.
    FOuterExceptionSink = Interaction.SetExceptionSink(
        [this](const std::string& message) { Monitor.Log.Post(QString::fromStdString(message), kLogError); });
}

void TfmMain::WMExchangeLog(const QString& text, TColor colour, bool lineFailed)
{
    // A failed line is always told; the choice is for the other red lines.
    MessageLog->Add(text, colour, acDebug->isVisible(), lineFailed || acShowErr->isChecked());
    Tag = std::max(Tag, MessageLog->Widest());
}

void TfmMain::TellLineFailure(const std::string& text)
{
    WMExchangeLog(QString::fromStdString(CutUtf8(text, kExchangeLogMaxChars)), kLogError, true);
}
