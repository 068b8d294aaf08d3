#include "app/board/BinPanel.h"

#include <QChildEvent>
#include <QPainter>
#include <QPaintEvent>

namespace {

// Room left below and right of the last frame, so a frame can be dragged further out.
constexpr int kFitMargin = 20;

} // namespace

TBinPanel::TBinPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BinPanel"));
    setAutoFillBackground(true);
}

void TBinPanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Button), 1));
    const QRect area = event->rect();
    for (int x = kBoardGridStep; x < width(); x += kBoardGridStep)
        if (x >= area.left() && x <= area.right())
            painter.drawLine(x, 0, x, height());
    for (int y = kBoardGridStep; y < height(); y += kBoardGridStep)
        if (y >= area.top() && y <= area.bottom())
            painter.drawLine(0, y, width(), y);
}

void TBinPanel::FitToFrames()
{
    QRect extent;
    for (QObject* child : children())
        if (auto* frame = qobject_cast<QWidget*>(child); frame && !frame->isHidden())
            extent = extent.united(frame->geometry());
    setMinimumSize(extent.isEmpty() ? QSize(0, 0) : QSize(extent.right() + kFitMargin, extent.bottom() + kFitMargin));
}

// A frame added, moved or resized changes how large the board must be.
void TBinPanel::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    if (event->added() || event->removed())
        FitToFrames();
}

bool TBinPanel::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        FitToFrames();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
