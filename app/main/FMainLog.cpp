// Log lines reaching the main window (WM_EXCHANGE_LOG): the message log (MessageLog.h) names
// the devices, writes the debug log file and shows the lines on the debug page when it is in
// use and the red ones in the error list when that is switched on.
#include "app/main/FMain.h"

#include "app/exchange/MessageLog.h"
#include "app/main/UnhandledException.h"
#include "comm/ExchangeLog.h"
#include "core/WindowMessages.h"

#include <QAction>

bool TfmMain::event(QEvent* event)
{
    if (event->type() == WM_EXCHANGE_LOG) {
        const auto* line = static_cast<TExchangeLogEvent*>(event);
        RunGuarded([&] { WMExchangeLog(line->Text, line->Colour); });
        return true;
    }
    return QMainWindow::event(event);
}

void TfmMain::WMExchangeLog(const QString& text, TColor colour)
{
    MessageLog->Add(text, colour, acDebug->isVisible(), acShowErr->isChecked());
    Tag = std::max(Tag, MessageLog->Widest());
}
