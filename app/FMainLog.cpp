// Log lines reaching the main window (WM_EXCHANGE_LOG). Here they are shown: on the debug page
// when it is in use, and the red ones in the error list when that is switched on. Rewriting
// device names, the debug log file and the list limits belong to the exchange control.
#include "app/FMain.h"

#include "app/UnhandledException.h"
#include "comm/ExchangeLog.h"
#include "core/LogFile.h"
#include "core/WindowMessages.h"

#include <QAction>
#include <QListWidget>

namespace {

void InsertLine(QListWidget& list, const QString& text, TColor colour)
{
    auto* item = new QListWidgetItem(LogLinePrefix(Now()) + text);
    // Colours are 0x00BBGGRR.
    item->setForeground(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    list.insertItem(0, item);
}

} // namespace

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
    if (acDebug->isVisible())
        InsertLine(*lbMsg, text, colour);
    if (colour == kLogError && acShowErr->isChecked())
        InsertLine(*lbErr, text, colour);
}
