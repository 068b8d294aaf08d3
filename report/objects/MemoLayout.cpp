// The memo's wrapping, layout and drawing.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include <QFontMetrics>
#include <QPainter>

#include "base/Rounding.h"
#include "report/engine/Report.h"
#include "report/export/ExportFilter.h"
#include "report/objects/MemoView.h"
#include "report/objects/TextMeasure.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

// The quotient rounded down, for a positive divisor.
int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QChar(0xA0);
}

// A line's blanks, which justified text widens.
int CountBlanks(const QString& text)
{
    int count = 0;
    for (const QChar c : text)
        count += IsBlank(c) ? 1 : 0;
    return count;
}

// Draws the line with its top-left at origin, spreading extra pixels over its blanks (the first
// blanks take one more while the remainder lasts).
void DrawLine(QPainter& painter, QPoint origin, const TrpTextMeasure& measure, const QString& text, int extra)
{
    const int baseline = origin.y() + measure.Ascent();
    const int blanks = extra > 0 ? CountBlanks(text) : 0;
    if (blanks == 0) {
        painter.drawText(QPoint(origin.x(), baseline), text);
        return;
    }
    int x = origin.x();
    int blank = 0;
    qsizetype runStart = 0;
    for (qsizetype k = 0; k <= text.size(); ++k) {
        if (k < text.size() && !IsBlank(text[k]))
            continue;
        const QString run = text.mid(runStart, k - runStart);
        painter.drawText(QPoint(x, baseline), run);
        x += measure.Width(run);
        if (k < text.size()) {
            x += measure.CharWidth(text[k]) + extra / blanks + (blank < extra % blanks ? 1 : 0);
            ++blank;
        }
        runStart = k + 1;
    }
}

// Text takes its colour from the pen. A solid pen of that colour already set (a frame's) is
// kept, so that a printer's page of framed cells takes its pen once.
void UseTextColour(QPainter& painter, const QColor& colour)
{
    const QPen& pen = painter.pen();
    if (pen.style() != Qt::SolidLine || pen.brush().style() != Qt::SolidPattern || pen.color() != colour)
        painter.setPen(colour);
}

// The pixels a line of text of that advance width may ink around its origin, turned or not:
// glyphs reach past their advances by the font's bearings at most.
QRect LineInk(const QFontMetrics& metrics, QPoint origin, int width, bool turned)
{
    const int before = std::max(0, -metrics.minLeftBearing());
    const int after = std::max(0, -metrics.minRightBearing());
    const int height = metrics.ascent() + metrics.descent();
    if (turned)
        return QRect(QPoint(origin.x(), origin.y() - width - after), QPoint(origin.x() + height, origin.y() + before));
    return QRect(QPoint(origin.x() - before, origin.y()), QPoint(origin.x() + width + after, origin.y() + height));
}

}  // namespace

int TrpMemoView::CanvasFontPixels() const
{
    if (OnPrinter && Canvas)
        return int(Round(Font.Size * Canvas->device()->logicalDpiY() / 72.0));
    return FontPixelHeight(Font.Size, ZoomY);
}

TrpTextMeasure TrpMemoView::CanvasMeasure(int pixels) const
{
    TrpRunContext& c = Context();
    const QPaintDevice* device = Canvas ? Canvas->device() : &c.ScratchBitmap;
    return c.TextMeasures.Measure(Font, pixels, device, int(Round(CharSpacing * ZoomX)));
}

QStringList TrpMemoView::WrapMemo()
{
    TrpRunContext& c = Context();
    const int pixels = FontPixelHeight(Font.Size);
    const TrpTextMeasure measure = c.TextMeasures.Measure(Font, pixels, &c.ScratchBitmap, CharSpacing);
    const bool turned = Alignment & taVertical;
    LineHeight = LineSpacing + pixels;
    const int available = turned ? Height - 2 * GapY : Width - 2 * GapX;
    QStringList lines;
    lines.reserve(WorkText.size());
    const bool fieldLine = !turned && !c.PrintModeFlag && WorkText.size() == 1 &&
                           WorkText.first().startsWith(QLatin1Char('[')) && measure.Width(WorkText.first()) > available;
    if (fieldLine) {
        // A designer shows an unexpanded field reference on one line.
        lines.append(WorkText.first() + kParagraphEnd);
    } else {
        for (const QString& line : WorkText) {
            if (AlreadyWrapped)
                lines.append(line);
            else if (Flags & mfWordWrap)
                WrapLine(line, measure, available, Flags & mfWordBreak, lines);
            else
                lines.append(line + kParagraphEnd);
        }
    }
    TextHeight = int(lines.size()) * LineHeight + 2 * (turned ? GapX : GapY);
    return lines;
}

void TrpMemoView::ShowMemo()
{
    const int pixels = CanvasFontPixels();
    const TrpTextMeasure measure = CanvasMeasure(pixels);
    TextHeight = int(Round(TextHeight * ZoomY));
    const int savedLeft = Left;
    const int savedTop = Top;
    const int32_t savedAlignment = Alignment;
    const int vertical = Alignment & (taMiddle | taDown);
    if (vertical)
        Alignment &= 7;
    const bool turned = Alignment & taVertical;
    if (turned) {
        if (vertical == taMiddle)
            Left += (DrawRect.Width() - TextHeight) / 2;
        else if (vertical == taDown)
            Left = DrawRect.Right - TextHeight;
    } else if (!StopAtBottom) {
        if (vertical == taMiddle)
            Top += (DrawRect.Height() - TextHeight) / 2;
        else if (vertical == taDown)
            Top = DrawRect.Bottom - TextHeight - 1;
    }
    const bool drawing = Canvas && !Exporting;
    const Qt::LayoutDirection direction = drawing ? Canvas->layoutDirection() : Qt::LeftToRight;
    if (drawing) {
        // The font and the pen stay on the canvas for the next memo, which mostly takes the same.
        textClip_ = TrpRect{DrawRect.Left + 1, DrawRect.Top, DrawRect.Right - 2, DrawRect.Bottom - 1};
        textClipped_ = false;
        QFont font = ReportQFont(Font, pixels);
        if (measure.CharExtra() != 0)
            font.setLetterSpacing(QFont::AbsoluteSpacing, measure.CharExtra());
        if (Canvas->font() != font)
            Canvas->setFont(font);
        UseTextColour(*Canvas, ReportQColor(Font.Color));
        Canvas->setLayoutDirection(Flags & mfRtlReading ? Qt::RightToLeft : Qt::LeftToRight);
    }
    if (turned)
        ShowTurned(measure);
    else
        ShowHorizontal(measure);
    if (drawing) {
        if (std::exchange(textClipped_, false))
            Canvas->restore();
        Canvas->setLayoutDirection(direction);
    }
    Alignment = savedAlignment;
    Left = savedLeft;
    Top = savedTop;
}

void TrpMemoView::ShowHorizontal(const TrpTextMeasure& measure)
{
    int y = Top + GapY;
    LineHeight = int(Round(LineSpacing * ZoomY)) + CanvasFontPixels();
    LinesShown = 0;
    int align = Alignment & 3;
    const TrpRect clip{DrawRect.Left + 1, DrawRect.Top, DrawRect.Right - 2, DrawRect.Bottom - 1};
    if (!Context().PrintModeFlag && WorkText.size() == 1 && WorkText.first().startsWith(QLatin1Char('[')) &&
        measure.Width(WorkText.first()) > clip.Width())
        align = taRight;
    const int count = int(WorkText.size());
    for (int index = 0; index < count; ++index) {
        if (StopAtBottom && y + LineHeight > DrawRect.Bottom)
            break;
        QString text = WorkText[index];
        const bool paragraphEnd = text.endsWith(kParagraphEnd);
        if (paragraphEnd)
            text.chop(1);
        const int w = measure.Width(text);
        int x = Left + GapX;
        int extra = 0;
        if (align == taRight)
            x = DrawRect.Width() + Left - 1 - GapX - w;
        else if (align == taCenter)
            x = (DrawRect.Width() - 2 * GapX - w) / 2 + Left + GapX;
        else if (align == taJustify && !Exporting && !paragraphEnd)
            extra = DrawRect.Width() - 2 * GapX - w;
        // An exported line carries the frame sides that belong to it.
        int sides = FrameTyp;
        if (count > 1) {
            if (index > 0)
                sides &= ~frTop;
            if (index < count - 1)
                sides &= ~frBottom;
        }
        OutputLine(measure, text, x, y, extra, false, sides);
        ++LinesShown;
        y += LineHeight;
    }
}

void TrpMemoView::ShowTurned(const TrpTextMeasure& measure)
{
    int x = Left + GapX;
    LineHeight = int(Round(LineSpacing * ZoomX)) + CanvasFontPixels();
    LinesShown = 0;
    for (QString text : WorkText) {
        const bool paragraphEnd = text.endsWith(kParagraphEnd);
        if (paragraphEnd)
            text.chop(1);
        const int w = measure.Width(text);
        int y = DrawRect.Bottom - GapY;
        int extra = 0;
        switch (Alignment & 7) {
        case taVertical | taRight:
            y = w + Top + GapY;
            break;
        case taVertical | taCenter:
            y = DrawRect.Bottom - GapY - (DrawRect.Height() - 2 * GapY - w) / 2 - 1;
            break;
        case taVertical | taJustify:
            y = DrawRect.Bottom + Top - DrawRect.Top - GapY;
            if (!Exporting && !paragraphEnd)
                extra = DrawRect.Height() - 2 * GapY - w;
            break;
        default:
            break;
        }
        OutputLine(measure, text, x, y, extra, true, 0);
        ++LinesShown;
        x += LineHeight;
    }
}

void TrpMemoView::OutputLine(const TrpTextMeasure& measure, const QString& text, int x, int y, int extra,
                             bool turned, int frameSides)
{
    if (Exporting) {
        if (TrpExportFilter* filter = OwnerReport().CurrentFilter)
            filter->OnText(DrawRect, x, y, text, frameSides, this);
        return;
    }
    if (!Canvas)
        return;
    if (!textClipped_ &&
        !textClip_.ToQRect().contains(LineInk(Canvas->fontMetrics(), {x, y}, measure.Width(text) + extra, turned))) {
        Canvas->save();
        Canvas->setClipRect(textClip_.ToQRect(), Qt::IntersectClip);
        textClipped_ = true;
    }
    if (!turned) {
        DrawLine(*Canvas, QPoint(x, y), measure, text, extra);
        return;
    }
    Canvas->save();
    Canvas->translate(x, y);
    Canvas->rotate(-90);
    DrawLine(*Canvas, QPoint(), measure, text, extra);
    Canvas->restore();
}

void TrpMemoView::Draw(QPainter* canvas)
{
    Canvas = canvas;
    const bool printMode = Context().PrintModeFlag;
    const bool autoWidth = (Flags & mfAutoWidth) && printMode;
    if (autoWidth && !Memo.isEmpty()) {
        const int w = CalcWidth(Memo);
        if (Alignment & taVertical) {
            Height = w;
        } else {
            if (Alignment & taRight)
                Left = Left + Width - w;
            Width = w;
        }
    }
    const TrpViewScope current = BeginDraw(canvas);
    StopAtBottom = false;
    WorkText = Memo;
    if (!WorkText.isEmpty()) {
        AlreadyWrapped = std::any_of(WorkText.cbegin(), WorkText.cend(),
                                     [](const QString& line) { return line.contains(kParagraphEnd); });
        if (WorkText.last().size() == 1 && WorkText.last().front() == kParagraphEnd)
            WorkText.removeLast();
        // Lines break at zoom 1, so that they break alike at every zoom and on the printer.
        const double zoomX = ZoomX;
        const double zoomY = ZoomY;
        ZoomX = ZoomY = 1;
        SaveAndScaleCoords();
        if (autoWidth)
            Width += 100;   // the lines CalcWidth measured must not wrap
        QStringList wrapped = WrapMemo();
        ZoomX = zoomX;
        ZoomY = zoomY;
        RestoreCoords();
        WorkText = std::move(wrapped);
    }
    SaveAndScaleCoords();
    if (!Exporting) {
        DrawBackground();
        DrawFrame();
        DrawUnderlines();
    }
    if (!WorkText.isEmpty())
        ShowMemo();
    RestoreCoords();
}

void TrpMemoView::ExportData()
{
    TrpView::ExportData();
    Exporting = true;
    try {
        Draw(nullptr);
    } catch (...) {
        Exporting = false;
        throw;
    }
    Exporting = false;
}

int TrpMemoView::CalcWidth(const QStringList& lines)
{
    QString text = LinesToText(lines);
    text.remove(kParagraphEnd);
    const TrpTextMeasure measure = CanvasMeasure(CanvasFontPixels());
    int widest = 0;
    for (const QString& line : TextToLines(text))
        widest = std::max(widest, measure.Width(line));
    const double zoom = ZoomX > 0 ? ZoomX : 1.0;   // a page drawn into no room at all
    return int(Round(widest / zoom + FrameWidth + 2 * GapX + 1));
}

void TrpMemoView::DrawUnderlines()
{
    if (!(Flags & mfUnderlines) || !Canvas)
        return;
    const int step = int(Round(LineSpacing * ZoomY)) + CanvasFontPixels();
    if (step <= 0)
        return;   // lines that take no room have nothing to rule
    const int64_t count = Height / step;
    // A memo may be far taller than any page: only the rules that can show are drawn. Every
    // rule has the same pen and ends, so a point that any rule covers is covered by the rule
    // nearest to it too; the rules nearest to the visible rows are enough, however wide.
    const QRect visible = VisibleCanvasArea(*Canvas);
    if (count <= 0 || visible.isEmpty())
        return;
    const int width = int(Round(FrameWidth));
    const int reach = width / 2 + 2;
    const QRect area = visible.adjusted(-reach, -reach, reach, reach);
    const int first = Top + GapY + int(Round(2 * ZoomY)) + CanvasFontPixels();
    const auto nearest = [&](int64_t y) { return std::clamp(FloorDiv(y - first, step), int64_t(0), count - 1); };
    const int64_t from = nearest(visible.top());
    const int64_t to = nearest(int64_t(visible.bottom()) + step - 1);
    std::vector<QLine> rules;
    for (int64_t i = from; i <= to; ++i) {
        const int y = int(first + step * i);
        rules.emplace_back(Left, y, Left + Width - 1, y);
    }
    DrawReportLines(*Canvas, ReportLinePen(ReportQColor(FrameColor), width), rules, area);
}
