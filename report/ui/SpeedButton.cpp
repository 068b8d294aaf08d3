#include "report/ui/SpeedButton.h"

#include <QEnterEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <qdrawutil.h>

namespace {

// 8 x 8 of button face with white where row and column have the same parity: the look of a
// button held down while the mouse is elsewhere.
QImage PatternImage(const QColor& face)
{
    QImage pattern(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.setPixel(x, y, (x + y) % 2 == 0 ? 0xFFFFFFFF : face.rgb());
    return pattern;
}

const int kTextFlags = Qt::TextShowMnemonic | Qt::TextSingleLine;

} // namespace

TButtonLayoutResult CalcButtonLayout(const QRect& client, QSize glyph, QSize caption, TButtonLayout layout,
                                     int margin, int spacing)
{
    if (glyph.isEmpty())
        glyph = QSize(0, 0);
    if (caption.isEmpty())
        caption = QSize(0, 0);
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const auto along = [horizontal](QSize size) { return horizontal ? size.width() : size.height(); };
    const auto across = [horizontal](QSize size) { return horizontal ? size.height() : size.width(); };
    const int length = along(client.size());
    const int glyphLength = along(glyph);
    const int textLength = along(caption);
    if (glyph.isNull() || caption.isNull())
        spacing = 0;
    if (margin == -1 && spacing == -1) {
        margin = (length - glyphLength - textLength) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (length - glyphLength - spacing - textLength + 1) / 2;
    } else if (spacing == -1) {
        spacing = (length - margin - glyphLength - textLength + 1) / 2;
    }
    int glyphAt = margin;
    int textAt = margin + glyphLength + spacing;
    if (layout == blGlyphRight || layout == blGlyphBottom) {
        glyphAt = length - margin - glyphLength;
        textAt = glyphAt - spacing - textLength;
    }
    const int glyphAcross = (across(client.size()) - across(glyph)) / 2;
    const int textAcross = (across(client.size()) - across(caption)) / 2;
    TButtonLayoutResult result;
    result.GlyphPos = horizontal ? QPoint(glyphAt, glyphAcross) : QPoint(glyphAcross, glyphAt);
    result.TextRect = QRect(horizontal ? QPoint(textAt, textAcross) : QPoint(textAcross, textAt), caption);
    result.GlyphPos += client.topLeft();
    result.TextRect.translate(client.topLeft());
    return result;
}

TrpSpeedButton::TrpSpeedButton(QWidget* parent) : QWidget(parent)
{
    resize(22, 22);
}

void TrpSpeedButton::SetAllowAllUp(bool value)
{
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TrpSpeedButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TrpSpeedButton::SetDown(bool value)
{
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = value;
    FState = value ? bsExclusive : bsUp;
    update();
    UpdateExclusive();
}

void TrpSpeedButton::SetFlat(bool value)
{
    FFlat = value;
    update();
}

void TrpSpeedButton::SetCaption(const QString& caption)
{
    FCaption = caption;
    if (FShortcutId != 0)
        releaseShortcut(FShortcutId);
    const QKeySequence accelerator = QKeySequence::mnemonic(caption);
    FShortcutId = accelerator.isEmpty() ? 0 : grabShortcut(accelerator);
    update();
}

void TrpSpeedButton::SetGlyph(const QImage& glyph)
{
    FGlyph.SetGlyph(glyph);
    update();
}

void TrpSpeedButton::SetNumGlyphs(int count)
{
    FGlyph.SetNumGlyphs(count);
    update();
}

void TrpSpeedButton::SetGrayedInactive(bool value)
{
    FGrayedInactive = value;
    update();
}

void TrpSpeedButton::SetLayout(TButtonLayout layout)
{
    FLayout = layout;
    update();
}

void TrpSpeedButton::SetMargin(int margin)
{
    if (margin < -1)
        return;
    FMargin = margin;
    update();
}

void TrpSpeedButton::SetSpacing(int spacing)
{
    FSpacing = spacing;
    update();
}

const QImage& TrpSpeedButton::GlyphImage(TButtonState state)
{
    return FGlyph.Image(state, Colours());
}

void TrpSpeedButton::Click()
{
    if (OnClick)
        OnClick(this);
}

TGlyphColours TrpSpeedButton::Colours() const
{
    return {palette().color(QPalette::Button), palette().color(QPalette::Light), palette().color(QPalette::Dark)};
}

void TrpSpeedButton::UpdateExclusive()
{
    if (!parentWidget())
        return;
    for (QWidget* sibling : parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (auto* button = dynamic_cast<TrpSpeedButton*>(sibling); button && button != this)
            button->ButtonPressed(*this);
}

void TrpSpeedButton::ButtonPressed(const TrpSpeedButton& sender)
{
    if (FGroupIndex == 0 || sender.FGroupIndex != FGroupIndex)
        return;
    if (sender.FDown && FDown) {
        FDown = false;
        FState = bsUp;
        update();
    }
    FAllowAllUp = sender.FAllowAllUp;
}

bool TrpSpeedButton::Inside(QPointF point) const
{
    // The bottom edge counts as inside, one pixel past the button.
    return point.x() >= 0 && point.x() < width() && point.y() >= 0 && point.y() <= height();
}

void TrpSpeedButton::UpdateHot(QPointF point)
{
    if (FFlat)
        FMouseInControl = isEnabled() && rect().contains(point.toPoint());
}

void TrpSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return QWidget::mousePressEvent(event);
    if (!FDown) {
        FState = bsDown;
        repaint();
    }
    FDragging = true;
}

void TrpSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!FDragging)
        return QWidget::mouseMoveEvent(event);
    const TButtonState state = FDown ? bsExclusive : Inside(event->position()) ? bsDown : bsUp;
    if (state != FState) {
        FState = state;
        update();
    }
}

void TrpSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!FDragging || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    FDragging = false;
    const bool inside = Inside(event->position());
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
    } else if (inside) {
        SetDown(!FDown);
    } else if (FDown) {
        FState = bsExclusive;
    }
    UpdateHot(event->position());
    update();
    if (inside)
        Click();
}

void TrpSpeedButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (FDown && OnDblClick)
        OnDblClick(this);
}

void TrpSpeedButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    if (!FFlat || !isEnabled() || FMouseInControl)
        return;
    if (OnMouseEnter)
        OnMouseEnter(this);
    FMouseInControl = true;
    update();
}

void TrpSpeedButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!FFlat || !isEnabled() || !FMouseInControl)
        return;
    if (OnMouseLeave)
        OnMouseLeave(this);
    FMouseInControl = false;
    update();
}

void TrpSpeedButton::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        GlyphImage(isEnabled() ? bsUp : bsDisabled);
        FMouseInControl = FFlat && isEnabled() && underMouse();
        update();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        FGlyph.FreeImages();   // made with the old colours
        update();
        break;
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

bool TrpSpeedButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == FShortcutId) {
        if (isEnabled())
            Click();
        return true;
    }
    return QWidget::event(event);
}

void TrpSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const TButtonState remembered = FState;
    const bool enabled = isEnabled();
    TButtonState state = FState;
    if (FGrayedInactive && enabled && FFlat && !FMouseInControl)
        state = bsInactive;
    if (!enabled) {
        state = bsDisabled;
        FDragging = false;
    } else if (state == bsDisabled) {
        state = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }

    const QColor face = palette().color(QPalette::Button);
    QRect content = rect();
    if (FFlat) {
        painter.fillRect(rect(), face);
        if (state == bsDown)
            content.translate(1, 1);
    } else {
        const bool pressed = state == bsDown || state == bsExclusive;
        const QBrush fill(face);
        qDrawWinButton(&painter, rect(), palette(), pressed, &fill);
        content = rect().adjusted(2, 2, -2, -2);
        if (pressed)
            content.translate(1, 1);
    }
    const bool pattern = FFlat
        ? enabled && !FMouseInControl && (state == bsExclusive || (state == bsInactive && remembered == bsExclusive))
        : state == bsExclusive;
    if (pattern)
        painter.fillRect(content, QBrush(PatternImage(face)));
    DrawGlyphAndCaption(painter, content, state);
    if (FFlat && enabled && (FMouseInControl || remembered == bsExclusive))
        qDrawShadePanel(&painter, rect(), palette(), remembered == bsDown || remembered == bsExclusive, 1);
}

void TrpSpeedButton::DrawGlyphAndCaption(QPainter& painter, const QRect& content, TButtonState state)
{
    const QSize textSize = FCaption.isEmpty() ? QSize() : fontMetrics().size(kTextFlags, FCaption);
    const TButtonLayoutResult place =
        CalcButtonLayout(content, FGlyph.ImageSize(), textSize, FLayout, FMargin, FSpacing);
    if (!FGlyph.IsEmpty())
        painter.drawImage(place.GlyphPos, GlyphImage(state));
    if (FCaption.isEmpty())
        return;
    painter.setFont(font());
    if (state == bsDisabled) {
        painter.setPen(Qt::white);
        painter.drawText(place.TextRect.translated(1, 1), Qt::AlignLeft | Qt::AlignTop | kTextFlags, FCaption);
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawText(place.TextRect, Qt::AlignLeft | Qt::AlignTop | kTextFlags, FCaption);
    } else {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(place.TextRect, Qt::AlignCenter | kTextFlags, FCaption);
    }
}

TrpTBButton::TrpTBButton(QWidget* parent) : TrpSpeedButton(parent)
{
    SetFlat(true);
    SetControlAlign(this, alLeft);
    AlignOnToolbar(this);
}

void TrpTBButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        AlignOnToolbar(this);
    TrpSpeedButton::changeEvent(event);
}

TrpTBSeparator::TrpTBSeparator(QWidget* parent) : QWidget(parent)
{
    resize(8, 8);
    SetControlAlign(this, alLeft);
    AlignOnToolbar(this);
}

void TrpTBSeparator::SetDrawBevel(bool value)
{
    FDrawBevel = value;
    update();
}

void TrpTBSeparator::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        AlignOnToolbar(this);
    QWidget::changeEvent(event);
}

void TrpTBSeparator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    if (!FDrawBevel)
        return;
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor highlight = palette().color(QPalette::Light);
    const TAlign align = ControlAlign(this);
    if (align == alTop || align == alBottom) {
        const int y = height() / 2;
        painter.setPen(shadow);
        painter.drawLine(2, y - 1, width() - 3, y - 1);
        painter.setPen(highlight);
        painter.drawLine(2, y, width() - 3, y);
    } else if (align == alLeft || align == alRight) {
        const int x = width() / 2;
        painter.setPen(shadow);
        painter.drawLine(x - 1, 2, x - 1, height() - 3);
        painter.setPen(highlight);
        painter.drawLine(x, 2, x, height() - 3);
    }
}
