// The view's geometry on a canvas, its background, frame and clipping rectangle.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <numeric>

#include <QPagedPaintDevice>
#include <QPainter>

#include "base/Rounding.h"
#include "report/objects/View.h"
#include "report/runtime/RunContext.h"

namespace {

int RoundInt(double value)
{
    return int(Round(value));
}

// The dash patterns of the pen styles, in pixels of a one-pixel line.
QList<qreal> DashPattern(uint16_t style)
{
    switch (style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    default:
        return {9, 3, 3, 3, 3, 3};
    }
}

}  // namespace

void DrawReportLine(QPainter& painter, int x1, int y1, int x2, int y2)
{
    QPen pen = painter.pen();
    pen.setCapStyle(pen.width() <= 1 ? Qt::FlatCap : Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

QRect VisibleCanvasArea(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    if (!device || device->devType() == QInternal::Picture)
        return QRect(QPoint(INT_MIN / 2, INT_MIN / 2), QPoint(INT_MAX / 2, INT_MAX / 2));
    QRect extent(0, 0, device->width(), device->height());
    if (const auto* sheet = dynamic_cast<const QPagedPaintDevice*>(device)) {
        // A sheet's origin is its printable area's corner, yet its margins show what is drawn there.
        const QPageLayout layout = sheet->pageLayout();
        const int dpi = device->logicalDpiX();
        extent = layout.fullRectPixels(dpi).translated(-layout.paintRectPixels(dpi).topLeft());
    }
    bool invertible = false;
    const QTransform toLogical = painter.combinedTransform().inverted(&invertible);
    if (!invertible)
        return QRect();   // a canvas scaled to nothing shows nothing
    QRectF area = toLogical.mapRect(QRectF(extent));
    if (painter.hasClipping())
        area &= painter.clipBoundingRect();
    return area.toAlignedRect();
}

bool ClipReportLine(const QRect& area, int period, int& x1, int& y1, int& x2, int& y2)
{
    if (area.isEmpty())
        return false;
    const bool level = y1 == y2;
    int& from = level ? x1 : y1;
    int& to = level ? x2 : y2;
    const int across = level ? y1 : x1;
    const int low = level ? area.left() : area.top();
    const int high = level ? area.right() : area.bottom();
    if (level ? (across < area.top() || across > area.bottom()) : (across < area.left() || across > area.right()))
        return false;
    if (std::max(from, to) < low || std::min(from, to) > high)
        return false;
    const int64_t step = to >= from ? 1 : -1;
    const int edge = step > 0 ? low : high;
    int64_t cut = (int64_t(edge) - from) * step;
    if (cut > 0) {
        if (period > 0)
            cut -= cut % period;   // the dashes keep their places
        from = int(from + cut * step);
    }
    to = step > 0 ? std::min(to, high) : std::max(to, low);
    return true;
}

int TrpView::ScaledRight() const
{
    return RoundInt((saved_.Left + saved_.Width) * ZoomX + ShiftX);
}

int TrpView::ScaledBottom() const
{
    return RoundInt((saved_.Top + saved_.Height) * ZoomY + ShiftY);
}

void TrpView::SaveAndScaleCoords()
{
    saved_ = TSavedCoords{Left, Top, Width, Height, GapX, GapY, FrameWidth};
    if (!Context().PrintModeFlag) {
        ZoomX = ZoomY = 1;
        ShiftX = ShiftY = 0;
    }
    Left = RoundInt(Left * ZoomX) + ShiftX;
    Top = RoundInt(Top * ZoomY) + ShiftY;
    Width = RoundInt(Width * ZoomX);
    Height = RoundInt(Height * ZoomY);
    const double w = saved_.FrameWidth;
    const int a = RoundInt((w * ZoomX - 1) / 2);
    const int b = RoundInt(w * ZoomX / 2);
    const int c = RoundInt((w * ZoomY - 1) / 2);
    const int d = RoundInt(w * ZoomY / 2);
    FrameWidth = float(w * ZoomX);
    GapX = RoundInt(saved_.GapX * ZoomX) + b;
    GapY = RoundInt(saved_.GapY * ZoomY) + d / 2;
    TrpRect r{Left, Top, ScaledRight(), ScaledBottom()};
    if (FrameTyp & frRight)
        r.Right -= b;
    if (FrameTyp & frBottom)
        r.Bottom -= d;
    if (FrameTyp & frLeft)
        r.Left += a;
    if (FrameTyp & frTop)
        r.Top += c;
    DrawRect = TrpRect{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

void TrpView::RestoreCoords()
{
    Left = saved_.Left;
    Top = saved_.Top;
    Width = saved_.Width;
    Height = saved_.Height;
    GapX = saved_.GapX;
    GapY = saved_.GapY;
    FrameWidth = saved_.FrameWidth;
}

void TrpView::DrawBackground()
{
    const TrpRunContext& c = Context();
    if (c.FirstPassFlag || !Canvas)
        return;
    if (c.PrintModeFlag && !HasFill())
        return;
    const QColor colour = ReportQColor(HasFill() ? FillColor : clWhite);
    const TrpRect r = c.PrintModeFlag ? TrpRect{Left, Top, ScaledRight(), ScaledBottom()} : DrawRect;
    Canvas->fillRect(r.ToQRect(), colour);
}

void TrpView::DrawFrame()
{
    const TrpRunContext& c = Context();
    if (c.FirstPassFlag || !Canvas || (c.PrintModeFlag && (FrameTyp & frAllSides) == 0))
        return;
    QPainter& painter = *Canvas;
    const int width = RoundInt(FrameWidth);
    const bool dashed = FrameStyle >= psDash && FrameStyle <= psDashDotDot;
    // Only what can show is drawn: a frame may be far larger than any page, its lines far
    // wider. A line reaches half its pen's width (one pixel for the dashed ones) beyond its
    // ends and to its sides; a double line's outer lines lie a width away on either side.
    const int reach = (dashed ? 0 : (FrameStyle == psDouble ? width : 0) + width / 2) + 2;
    const QRect visible = VisibleCanvasArea(painter);
    if (visible.isEmpty())
        return;
    const QRect area = visible.adjusted(-reach, -reach, reach, reach);
    painter.save();
    const QColor fill = ReportQColor(HasFill() ? FillColor : clWhite);
    QPen pen(ReportQColor(FrameColor), width, Qt::SolidLine);
    int period = 0;
    if (dashed) {
        // Wide dashed sides are drawn as one-pixel lines side by side, so that the dashes stay.
        pen.setWidth(1);
        const QList<qreal> pattern = DashPattern(FrameStyle);
        pen.setDashPattern(pattern);
        period = int(std::accumulate(pattern.begin(), pattern.end(), qreal(0)));
        painter.setBackgroundMode(HasFill() ? Qt::OpaqueMode : Qt::TransparentMode);
        painter.setBackground(fill);
    }
    painter.setPen(pen);
    const int right = ScaledRight();
    const int bottom = ScaledBottom();
    const auto line = [&](int x1, int y1, int x2, int y2) {
        if (ClipReportLine(area, period, x1, y1, x2, y2))
            DrawReportLine(painter, x1, y1, x2, y2);
    };
    const auto side = [&](bool vertical, int x1, int y1, int x2, int y2) {
        if (dashed) {
            // The lines at offsets i - width / 2, i from 0, that fall within the area.
            const int count = std::max(width, 1);
            const int64_t at = vertical ? x1 : y1;
            const int64_t low = (vertical ? area.left() : area.top()) - at + width / 2;
            const int64_t high = (vertical ? area.right() : area.bottom()) - at + width / 2;
            const int first = int(std::clamp<int64_t>(low, 0, count));
            const int last = int(std::clamp<int64_t>(high + 1, 0, count));
            for (int i = first; i < last; ++i) {
                const int offset = i - width / 2;
                if (vertical)
                    line(x1 + offset, y1, x2 + offset, y2);
                else
                    line(x1, y1 + offset, x2, y2 + offset);
            }
        } else if (FrameStyle == psDouble) {
            const int dx = vertical ? width : 0;
            const int dy = vertical ? 0 : width;
            line(x1 - dx, y1 - dy, x2 - dx, y2 - dy);
            line(x1 + dx, y1 + dy, x2 + dx, y2 + dy);
            QPen between = painter.pen();
            painter.setPen(QPen(fill, between.widthF()));
            line(x1, y1, x2, y2);
            painter.setPen(between);
        } else {
            line(x1, y1, x2, y2);
        }
    };
    if (FrameTyp & frRight)
        side(true, right, Top, right, bottom);
    if (FrameTyp & frLeft)
        side(true, Left, Top, Left, bottom);
    if (FrameTyp & frBottom)
        side(false, Left, bottom, right, bottom);
    if (FrameTyp & frTop)
        side(false, Left, Top, right, Top);
    painter.restore();
}

TrpRect TrpView::GetClipRegion(bool extended)
{
    const double w = FrameWidth;
    const bool twin = FrameStyle == psDouble;
    const int outer = RoundInt(twin ? w * 1.5 : w / 2);
    const int inner = RoundInt(twin ? w + (w - 1) / 2 : (w - 1) / 2);
    TrpRect r{Left, Top, Left + Width + 1, Top + Height + 1};
    if (FrameTyp & frLeft)
        r.Left -= outer;
    if (FrameTyp & frTop)
        r.Top -= outer;
    if (FrameTyp & frRight)
        r.Right += inner;
    if (FrameTyp & frBottom)
        r.Bottom += inner;
    if (extended)
        r = TrpRect{r.Left - 10, r.Top - 10, r.Right + 10, r.Bottom + 10};
    return r;
}
