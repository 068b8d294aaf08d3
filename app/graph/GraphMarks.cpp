#include "app/graph/GraphMarks.h"

#include <QPainter>
#include <QPolygonF>

namespace {

constexpr int kImageSize = 32;   // shown at a few pixels; drawn large so scaling stays sharp
constexpr double kEdge = 2;      // room for the outline inside the image

QPolygonF Triangle(double angle)
{
    const double c = kImageSize / 2.0, r = c - kEdge;
    QPolygonF up{QPointF(c, c - r), QPointF(c + r, c + r), QPointF(c - r, c + r)};
    QTransform turn;
    turn.translate(c, c).rotate(angle).translate(-c, -c);
    return turn.map(up);
}

void DrawCross(QPainter& painter, bool upright, bool diagonal)
{
    const double lo = kEdge, hi = kImageSize - kEdge, c = kImageSize / 2.0;
    if (upright) {
        painter.drawLine(QPointF(c, lo), QPointF(c, hi));
        painter.drawLine(QPointF(lo, c), QPointF(hi, c));
    }
    if (diagonal) {
        painter.drawLine(QPointF(lo, lo), QPointF(hi, hi));
        painter.drawLine(QPointF(lo, hi), QPointF(hi, lo));
    }
}

} // namespace

TPointStyle PointStyleOf(int number)
{
    return number >= psRectangle && number <= psRightTriangle ? static_cast<TPointStyle>(number) : psRectangle;
}

QImage PointMarkImage(TPointStyle style, const QColor& colour)
{
    QImage image(kImageSize, kImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (style == psNothing)
        return image;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(150), kEdge));
    painter.setBrush(colour);
    const QRectF box(kEdge, kEdge, kImageSize - 2 * kEdge, kImageSize - 2 * kEdge);
    const double c = kImageSize / 2.0;
    switch (style) {
    case psRectangle: painter.drawRect(box); break;
    case psCircle: painter.drawEllipse(box); break;
    case psTriangle: painter.drawPolygon(Triangle(0)); break;
    case psDownTriangle: painter.drawPolygon(Triangle(180)); break;
    case psLeftTriangle: painter.drawPolygon(Triangle(-90)); break;
    case psRightTriangle: painter.drawPolygon(Triangle(90)); break;
    case psDiamond:
        painter.drawPolygon(QPolygonF{QPointF(c, box.top()), QPointF(box.right(), c), QPointF(c, box.bottom()),
            QPointF(box.left(), c)});
        break;
    case psSmallDot: painter.drawEllipse(QPointF(c, c), c / 3, c / 3); break;
    case psCross:
    case psDiagCross:
    case psStar:
        painter.setPen(QPen(colour, 3 * kEdge));
        DrawCross(painter, style != psDiagCross, style != psCross);
        break;
    case psNothing: break;
    }
    return image;
}
