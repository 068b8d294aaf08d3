#include "report/ui/RichRuler.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kHalfMarker = TrpRichRuler::kMarkerWidth / 2;
constexpr int kRulerHeight = 22;

// A point is 4/3 pixel; integer division truncates as the ruler's conversions do.
int PixelsOf(int points)
{
    return points * 4 / 3;
}

int PointsOf(int pixels)
{
    return pixels * 3 / 4;
}

// A marker's triangle: pointing down from the top edge or up from the bottom edge.
void DrawMarker(QPainter& painter, int x, int top, bool down)
{
    const int tip = down ? top + kHalfMarker : top;
    const int base = down ? top : top + kHalfMarker;
    const QPoint corners[] = {{x, base}, {x + TrpRichRuler::kMarkerWidth - 1, base}, {x + kHalfMarker, tip}};
    painter.drawPolygon(corners, 3);
}

}  // namespace

int FirstIndentX(int first)
{
    return PixelsOf(first) + 2;
}

int LeftIndentX(int left, int first)
{
    return PixelsOf(left + first) + 2;
}

int RightIndentX(int right, int clientWidth)
{
    return clientWidth - PixelsOf(right + 6) - 6;
}

int FirstIndentAt(int x)
{
    return PointsOf(x + kHalfMarker - 6);
}

int LeftIndentAt(int x, int first)
{
    return FirstIndentAt(x) - first;
}

int RightIndentAt(int x, int clientWidth)
{
    return PointsOf(clientWidth + kHalfMarker - x - 2) - 12;
}

TrpRichRuler::TrpRichRuler(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Ruler"));
    PlaceMarkers();
}

QSize TrpRichRuler::sizeHint() const
{
    return {400, kRulerHeight};
}

void TrpRichRuler::SetIndents(const TParaIndents& indents)
{
    indents_ = indents;
    if (grabbed_ < 0)
        PlaceMarkers();
}

void TrpRichRuler::PlaceMarkers()
{
    x_[rmFirst] = FirstIndentX(indents_.First);
    x_[rmLeft] = LeftIndentX(indents_.Left, indents_.First);
    x_[rmRight] = RightIndentX(indents_.Right, width());
    update();
}

TParaIndents TrpRichRuler::DroppedIndents(TRulerMarker marker) const
{
    TParaIndents indents = indents_;
    switch (marker) {
    case rmFirst:
        indents.First = FirstIndentAt(x_[rmFirst]);
        indents.Left = LeftIndentAt(x_[rmLeft], indents.First);
        break;
    case rmLeft: indents.Left = LeftIndentAt(x_[rmLeft], indents.First); break;
    case rmRight: indents.Right = RightIndentAt(x_[rmRight], width()); break;
    }
    return indents;
}

void TrpRichRuler::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.fillRect(rect().adjusted(0, 4, 0, -4), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(rect().adjusted(0, 4, 0, -4), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs,
                     QStringLiteral("\t|").repeated(100));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(palette().color(QPalette::Button));
    DrawMarker(painter, x_[rmFirst], 0, true);
    DrawMarker(painter, x_[rmLeft], height() - 1 - kHalfMarker, false);
    DrawMarker(painter, x_[rmRight], height() - 1 - kHalfMarker, false);
}

void TrpRichRuler::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    const bool upper = at.y() < height() / 2;
    for (const TRulerMarker marker : {rmFirst, rmLeft, rmRight}) {
        if ((marker == rmFirst) != upper)
            continue;
        if (at.x() >= x_[marker] && at.x() < x_[marker] + kMarkerWidth) {
            grabbed_ = marker;
            x_[marker] = at.x() - kHalfMarker;
            update();
            return;
        }
    }
}

void TrpRichRuler::mouseMoveEvent(QMouseEvent* event)
{
    if (grabbed_ < 0)
        return QWidget::mouseMoveEvent(event);
    x_[grabbed_] = event->position().toPoint().x() - kHalfMarker;
    update();
}

void TrpRichRuler::mouseReleaseEvent(QMouseEvent* event)
{
    if (grabbed_ < 0 || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const auto marker = TRulerMarker(grabbed_);
    grabbed_ = -1;
    indents_ = DroppedIndents(marker);
    PlaceMarkers();
    if (OnIndentsChanged)
        OnIndentsChanged(indents_);
}

void TrpRichRuler::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (grabbed_ < 0)
        PlaceMarkers();
}
