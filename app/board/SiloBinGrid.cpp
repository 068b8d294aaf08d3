#include "app/board/SiloBinGrid.h"

#include "app/board/FrameSiloBin.h"
#include "platform/qt/QtColour.h"
#include "app/board/SiloCellGeometry.h"
#include "app/widgets/TextContrast.h"
#include "core/Device/Silos.h"
#include "core/Monitor.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace {

constexpr int kTableFontPixels = 16;
constexpr int kNameWidthReserve = 10;
const QColor kMarkerColour(Qt::yellow);

} // namespace

TSiloBinGrid::TSiloBinGrid(TfrSiLoBin& frame, QWidget* parent) : QWidget(parent), frame_(frame)
{
    setObjectName(QStringLiteral("vtTree"));
    setFont(TableFont());
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QFont TSiloBinGrid::TableFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kTableFontPixels);
    font.setBold(true);
    return font;
}

void TSiloBinGrid::SetShape(int rows, int rowHeight, int colWidth, int visibleCols)
{
    if (colWidth != colWidth_)
        fullNames_.clear();   // elided to the old width
    rows_ = rows;
    rowHeight_ = rowHeight;
    colWidth_ = colWidth;
    visibleCols_ = visibleCols;
    if (focusedRow_ >= rows_ || focusedCol_ >= visibleCols_) {
        focusedRow_ = -1;
        focusedCol_ = -1;
    }
    update();
}

QRect TSiloBinGrid::CellRect(int row, int col) const
{
    return QRect(col * colWidth_, row * rowHeight_, colWidth_, rowHeight_);
}

bool TSiloBinGrid::CellAt(const QPoint& point, int& row, int& col) const
{
    if (point.x() < 0 || point.y() < 0 || colWidth_ <= 0 || rowHeight_ <= 0)
        return false;
    row = point.y() / rowHeight_;
    col = point.x() / colWidth_;
    return row < rows_ && col < visibleCols_;
}

void TSiloBinGrid::SetFocusedCell(int row, int col)
{
    if (row < 0 || col < 0 || row >= rows_ || col >= visibleCols_)
        row = col = -1;
    if (row == focusedRow_ && col == focusedCol_)
        return;
    const QRect old = focusedRow_ >= 0 ? CellRect(focusedRow_, focusedCol_) : QRect();
    focusedRow_ = row;
    focusedCol_ = col;
    update(old);
    if (row >= 0)
        update(CellRect(row, col));
    frame_.vtTreeFocusChanged();
}

void TSiloBinGrid::RepaintRow(int row)
{
    update(QRect(0, row * rowHeight_, width(), rowHeight_));
}

QFont TSiloBinGrid::NameFont(bool& lowered) const
{
    QFont font = TableFont();
    lowered = false;
    const QString probe = QStringLiteral("WWWW");
    while (font.pixelSize() > kMinNameFontPixels
           && QFontMetrics(font).horizontalAdvance(probe) > colWidth_ - kNameWidthReserve) {
        font.setPixelSize(font.pixelSize() - 1);
        lowered = true;
    }
    return font;
}

void TSiloBinGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    if (rows_ <= 0 || visibleCols_ <= 0)
        return;
    if (smallFontWidth_ != colWidth_) {
        smallFont_ = NameFont(smallFontLowered_);
        smallFontWidth_ = colWidth_;
        smallNames_.clear();
    }
    nameColour_ = TextColourOn(palette().color(QPalette::Base));
    const QRect area = event->rect();
    const int firstRow = std::max(0, area.top() / rowHeight_);
    const int lastRow = std::min(rows_ - 1, area.bottom() / rowHeight_);
    const int firstCol = std::max(0, area.left() / colWidth_);
    const int lastCol = std::min(visibleCols_ - 1, area.right() / colWidth_);
    for (int row = firstRow; row <= lastRow; ++row)
        for (int col = firstCol; col <= lastCol; ++col)
            PaintCell(painter, row, col, smallFont_, smallFontLowered_);
}

void TSiloBinGrid::PaintCell(QPainter& painter, int row, int col, const QFont& nameFont, bool nameFontLowered)
{
    const QRect cell = CellRect(row, col);
    const QRect content = CellContentRect(cell);
    TSilos* silos = frame_.GetSilo(row, col);
    // What the name will lie on, in painting order: the bands, then the marker.
    TNameGrounds grounds;
    if (!silos) {
        painter.fillRect(content, palette().color(QPalette::Button));
    } else {
        const int n = silos->TITCount();
        for (int k = 0; k < n; ++k)
            if (const TTIT* tit = silos->GetTIT(n - 1 - k)) {
                const QRect band = SensorBandRect(content, n, k);
                const QColor colour = ToQColor(tit->GetColor(frame_.Monitor.Settings));
                painter.fillRect(band, colour);
                grounds.push_back({band, colour});
            }
        if (silos->Selected) {
            painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter.setBrush(kMarkerColour);
            const QRect marker = SelectionMarkerRect(cell, content);
            painter.drawRect(QRectF(marker).adjusted(0.5, 0.5, -0.5, -0.5));
            painter.setBrush(Qt::NoBrush);
            grounds.push_back({marker, kMarkerColour});
        }
    }

    // The grid lines on the cell's right and bottom edges.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(cell.topRight(), cell.bottomRight());
    painter.drawLine(cell.bottomLeft(), cell.bottomRight());

    if (silos) {
        const QString name = silos->GetName();
        const bool small = name.size() > kFullSizeNameLength && nameFontLowered;
        painter.setFont(small ? nameFont : font());
        DrawName(painter, small ? cell : content, name, small, grounds);
    }

    if (row == focusedRow_ && col == focusedCol_ && hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = cell.adjusted(0, 0, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TSiloBinGrid::DrawName(QPainter& painter, const QRect& rect, const QString& text, bool small,
                            const TNameGrounds& grounds)
{
    QHash<QString, QStaticText>& cache = small ? smallNames_ : fullNames_;
    auto found = cache.find(text);
    if (found == cache.end()) {
        // A short name is cut to three characters and two dots; a full-size one that is still
        // too wide for the cell ends with an ellipsis.
        const QString shown = small ? ShortSiloName(text)
                                    : painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width());
        QStaticText laidOut(shown);
        laidOut.setTextFormat(Qt::PlainText);
        laidOut.prepare(QTransform(), painter.font());
        found = cache.insert(text, laidOut);
    }
    const QSizeF size = found->size();
    const QPointF at(rect.left() + (rect.width() - size.width()) / 2.0, rect.top() + (rect.height() - size.height()) / 2.0);
    // The name may cross bands of any colours. Each piece of it is black or white, whichever
    // stands out from what lies under it: the grounds it crosses, neighbouring bands that want
    // the same colour taken together with the row between them (where the table shows through
    // and the piece goes on in the band's colour), and the table's own background around them.
    // A name within one such piece, the usual case, is drawn once.
    const QRect box = QRectF(at, size).toAlignedRect();
    TNameGrounds pieces;
    for (const TNameGround& ground : grounds) {
        if (!box.intersects(ground.Rect))
            continue;
        const QColor colour = TextColourOn(ground.Colour);
        TNameGround* last = pieces.empty() ? nullptr : &pieces.back();
        if (last && last->Colour == colour && last->Rect.left() == ground.Rect.left() &&
            last->Rect.right() == ground.Rect.right() && ground.Rect.top() <= last->Rect.bottom() + 2)
            last->Rect |= ground.Rect;
        else
            pieces.push_back({ground.Rect, colour});
    }
    const bool onePiece = pieces.size() == 1 && pieces.front().Rect.contains(box);
    if (!onePiece) {
        painter.setPen(nameColour_);
        painter.drawStaticText(at, *found);
    }
    QRect overdrawn;   // pieces in the other colour, which later grounds on top must cover again
    for (const TNameGround& piece : pieces) {
        if (!onePiece && piece.Colour == nameColour_ && !overdrawn.intersects(piece.Rect))
            continue;
        if (!onePiece)
            painter.setClipRect(piece.Rect);
        painter.setPen(piece.Colour);
        painter.drawStaticText(at, *found);
        painter.setClipping(false);
        if (piece.Colour != nameColour_)
            overdrawn |= piece.Rect;
    }
}

QColor TSiloBinGrid::TextColourOn(const QColor& background)
{
    const QRgb key = background.rgb();
    auto found = textColours_.constFind(key);
    if (found == textColours_.cend())
        found = textColours_.insert(key, ReadableTextColour(background));
    return *found;
}

void TSiloBinGrid::mousePressEvent(QMouseEvent* event)
{
    int row = -1, col = -1;
    if (CellAt(event->position().toPoint(), row, col))
        SetFocusedCell(row, col);
    QWidget::mousePressEvent(event);
}

void TSiloBinGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        frame_.vtTreeDblClick();
}

void TSiloBinGrid::contextMenuEvent(QContextMenuEvent* event)
{
    int row = -1, col = -1;
    if (event->reason() == QContextMenuEvent::Mouse && CellAt(event->pos(), row, col))
        SetFocusedCell(row, col);
    frame_.PopupMenu(event->globalPos());
}

void TSiloBinGrid::keyPressEvent(QKeyEvent* event)
{
    int row = std::max(focusedRow_, 0), col = std::max(focusedCol_, 0);
    switch (event->key()) {
    case Qt::Key_Left: col = std::max(col - 1, 0); break;
    case Qt::Key_Right: col = std::min(col + 1, visibleCols_ - 1); break;
    case Qt::Key_Up: row = std::max(row - 1, 0); break;
    case Qt::Key_Down: row = std::min(row + 1, rows_ - 1); break;
    case Qt::Key_Home: col = 0; break;
    case Qt::Key_End: col = visibleCols_ - 1; break;
    default: QWidget::keyPressEvent(event); return;
    }
    SetFocusedCell(row, col);
}

void TSiloBinGrid::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (focusedRow_ >= 0)
        update(CellRect(focusedRow_, focusedCol_));
    frame_.vtTreeFocusChanged();
}

void TSiloBinGrid::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (focusedRow_ >= 0)
        update(CellRect(focusedRow_, focusedCol_));
}
