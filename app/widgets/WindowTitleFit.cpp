#include "app/widgets/WindowTitleFit.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace {

// The icon, the buttons and the padding of a title bar.
constexpr int kTitleBarRoom = 120;

} // namespace

// The title bar's font is the window manager's: the desktop's title font, bold, or the
// program's own, bold, whichever is wider.
int TitleBarWidth(const QString& title)
{
    int widest = 0;
    for (QFont font : {QFontDatabase::systemFont(QFontDatabase::TitleFont), QApplication::font()}) {
        font.setBold(true);
        widest = std::max(widest, QFontMetrics(font).horizontalAdvance(title));
    }
    return widest + kTitleBarRoom;
}

void FitWindowTitle(QWidget& window)
{
    const int needed = TitleBarWidth(window.windowTitle());
    QLayout* layout = window.layout();
    if (layout && layout->sizeConstraint() == QLayout::SetFixedSize) {
        // The layout sets the size: a strut across it widens it, once.
        auto* box = qobject_cast<QBoxLayout*>(layout);
        const QMargins margins = layout->contentsMargins();
        const int inside = needed - margins.left() - margins.right();
        if (box && box->direction() >= QBoxLayout::TopToBottom && layout->minimumSize().width() < inside)
            box->addStrut(inside);
        return;
    }
    if (window.minimumWidth() >= needed)
        return;
    const int contents = layout ? layout->totalMinimumSize().width() : 0;
    window.setMinimumWidth(std::max(needed, contents));
    if (window.maximumWidth() < needed)
        window.setMaximumWidth(needed);
}
