// The view's geometry on a canvas, its background, frame and clipping rectangle.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <numeric>
#include <span>
#include <vector>

#include <QPagedPaintDevice>
#include <QPainter>
#include <QVarLengthArray>

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

struct TFrameSide {
    QLine Line;
    bool Upright = false;
};

// Each dashed side as one-pixel lines side by side, at offsets i - width / 2 for i from 0 (only
// those in the area), so that the dashes stay on wide sides; with a fill, the gaps between the
// dashes take its colour.
void DrawDashedSides(QPainter& painter, std::span<const TFrameSide> sides, const QRect& area, const QColor& colour,
                     int width, const QColor* fill, uint16_t style)
{
    QPen pen(colour, 1, Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    const QList<qreal> pattern = DashPattern(style);
    pen.setDashPattern(pattern);
    const int period = int(std::accumulate(pattern.begin(), pattern.end(), qreal(0)));
    const Qt::BGMode mode = painter.backgroundMode();
    const QBrush background = painter.background();
    painter.setBackgroundMode(fill ? Qt::OpaqueMode : Qt::TransparentMode);
    if (fill)
        painter.setBackground(*fill);
    const int count = std::max(width, 1);
    std::vector<QLine> lines;
    for (const TFrameSide& side : sides) {
        const int64_t at = side.Upright ? side.Line.x1() : side.Line.y1();
        const int64_t low = (side.Upright ? area.left() : area.top()) - at + width / 2;
        const int64_t high = (side.Upright ? area.right() : area.bottom()) - at + width / 2;
        const int first = int(std::clamp<int64_t>(low, 0, count));
        const int last = int(std::clamp<int64_t>(high + 1, 0, count));
        lines.clear();
        for (int i = first; i < last; ++i) {
            const int offset = i - width / 2;
            lines.push_back(side.Upright ? side.Line.translated(offset, 0) : side.Line.translated(0, offset));
        }
        DrawReportLines(painter, pen, lines, area, period);
    }
    painter.setBackgroundMode(mode);
    painter.setBackground(background);
}

// Each double side as two lines a width away on either side of it, and a line of the fill's
// colour between them.
void DrawDoubleSides(QPainter& painter, std::span<const TFrameSide> sides, const QRect& area, const QColor& colour,
                     const QColor& fill, int width)
{
    const QPen outer = ReportLinePen(colour, width);
    const QPen between = ReportLinePen(fill, width);
    for (const TFrameSide& side : sides) {
        const QPoint apart = side.Upright ? QPoint(width, 0) : QPoint(0, width);
        const std::array<QLine, 2> pair{side.Line.translated(-apart), side.Line.translated(apart)};
        DrawReportLines(painter, outer, pair, area);
        DrawReportLines(painter, between, std::span(&side.Line, 1), area);
    }
}

}  // namespace

QPen ReportLinePen(const QColor& colour, int width)
{
    QPen pen(colour, width, Qt::SolidLine);
    pen.setCapStyle(width <= 1 ? Qt::FlatCap : Qt::RoundCap);
    return pen;
}

void DrawReportLines(QPainter& painter, const QPen& pen, std::span<const QLine> lines, const QRect& area, int period)
{
    // Through pixel centres, in one call: a printer's page takes them as one path.
    QVarLengthArray<QLineF, 8> shown;
    for (QLine line : lines) {
        int x1 = line.x1(), y1 = line.y1(), x2 = line.x2(), y2 = line.y2();
        if (ClipReportLine(area, period, x1, y1, x2, y2))
            shown.append(QLineF(x1 + 0.5, y1 + 0.5, x2 + 0.5, y2 + 0.5));
    }
    if (shown.isEmpty())
        return;
    painter.setPen(pen);
    painter.drawLines(shown.data(), int(shown.size()));
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
    const QColor colour = ReportQColor(FrameColor);
    const QColor fill = ReportQColor(HasFill() ? FillColor : clWhite);
    const int right = ScaledRight();
    const int bottom = ScaledBottom();
    // The sides in drawing order: right, left, bottom, top.
    std::array<TFrameSide, 4> sides;
    size_t count = 0;
    if (FrameTyp & frRight)
        sides[count++] = {QLine(right, Top, right, bottom), true};
    if (FrameTyp & frLeft)
        sides[count++] = {QLine(Left, Top, Left, bottom), true};
    if (FrameTyp & frBottom)
        sides[count++] = {QLine(Left, bottom, right, bottom), false};
    if (FrameTyp & frTop)
        sides[count++] = {QLine(Left, Top, right, Top), false};
    const std::span<const TFrameSide> drawn(sides.data(), count);
    // The pen stays on the canvas: the next frame mostly takes the same, and a printer's page
    // then takes it once.
    if (dashed) {
        DrawDashedSides(painter, drawn, area, colour, width, HasFill() ? &fill : nullptr, FrameStyle);
    } else if (FrameStyle == psDouble) {
        DrawDoubleSides(painter, drawn, area, colour, fill, width);
    } else {
        // Sides that share a pen go as one path.
        std::array<QLine, 4> lines;
        for (size_t i = 0; i < count; ++i)
            lines[i] = sides[i].Line;
        DrawReportLines(painter, ReportLinePen(colour, width), std::span(lines.data(), count), area);
    }
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
