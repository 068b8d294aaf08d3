#include "app/widgets/VSBPro.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSizeGrip>
#include <QToolTip>
#include <qdrawutil.h>

#include <algorithm>

// ---------------------------------------------------------------- panel

TVStatusPanelPro::TVStatusPanelPro(TVStatusBarPro* bar) : FBar(bar)
{
}

int TVStatusPanelPro::Index() const
{
    return FBar->Panels().IndexOf(this);
}

QString TVStatusPanelPro::DisplayName() const
{
    return FText.isEmpty() ? QStringLiteral("TVStatusPanelPro") : FText;
}

void TVStatusPanelPro::Redraw()
{
    FBar->RedrawPanel(*this);
}

void TVStatusPanelPro::ContentChanged()
{
    FBar->PanelContentChanged(*this);
}

void TVStatusPanelPro::Relayout()
{
    FBar->LayoutPanels();
}

void TVStatusPanelPro::SetText(const QString& text)
{
    if (FText == text)
        return;
    FText = text;
    ContentChanged();
}

void TVStatusPanelPro::SetAlignment(TAlignment alignment)
{
    FAlignment = alignment;
    Redraw();
}

void TVStatusPanelPro::SetBevel(TStatusPanelBevel bevel)
{
    FBevel = bevel;
    Redraw();
}

void TVStatusPanelPro::SetStyle(TStatusPanelStyle style)
{
    FStyle = style;
    ContentChanged();
}

void TVStatusPanelPro::SetHint(const QString& hint)
{
    FHint = hint;
    Redraw();
}

void TVStatusPanelPro::SetImageIndex(int index)
{
    FImageIndex = index;
    // An image moves the panel's control aside.
    if (FControl)
        FBar->PlaceControls();
    ContentChanged();
}

void TVStatusPanelPro::SetPopupMenu(QMenu* menu)
{
    FPopupMenu = menu;
    Redraw();
}

void TVStatusPanelPro::SetControl(QWidget* control)
{
    if (FControl == control)
        return;
    FBar->ReleaseControl(control, this);
    FControl = control;
    if (control)
        control->setParent(FBar);
    FBar->PlaceControls();
    ContentChanged();
}

void TVStatusPanelPro::SetWidth(int width)
{
    FWidth = width;
    Relayout();
}

void TVStatusPanelPro::SetColor(const QColor& color)
{
    FColor = color;
    Relayout();
}

// ---------------------------------------------------------------- panels

TVStatusPanelPro* TVStatusPanelsPro::Items(int index) const
{
    return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)].get() : nullptr;
}

TVStatusPanelPro* TVStatusPanelsPro::Add()
{
    return Insert(Count());
}

TVStatusPanelPro* TVStatusPanelsPro::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    auto* panel = new TVStatusPanelPro(FBar);
    FItems.emplace(FItems.begin() + index, panel);
    FBar->LayoutPanels();
    return panel;
}

void TVStatusPanelsPro::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FBar->PanelRemoved(FItems[static_cast<size_t>(index)].get());
    FItems.erase(FItems.begin() + index);
    FBar->LayoutPanels();
}

void TVStatusPanelsPro::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    auto panel = std::move(FItems[static_cast<size_t>(from)]);
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, std::move(panel));
    FBar->LayoutPanels();
}

void TVStatusPanelsPro::Clear()
{
    while (Count() > 0)
        Delete(Count() - 1);
}

int TVStatusPanelsPro::IndexOf(const TVStatusPanelPro* panel) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[static_cast<size_t>(i)].get() == panel)
            return i;
    return -1;
}

// ---------------------------------------------------------------- bar

TVStatusBarPro::TVStatusBarPro(QWidget* parent) : QStatusBar(parent), FPanels(this)
{
    setMouseTracking(true);
    setSizeGripEnabled(true);
    SetUseSystemFont(true);
    connect(this, &QStatusBar::messageChanged, this, [this](const QString& hint) { ApplicationHint(hint); });
}

TVStatusBarPro::~TVStatusBarPro() = default;

void TVStatusBarPro::SetImages(std::vector<QPixmap> images)
{
    FImages = std::move(images);
    LayoutPanels();
}

void TVStatusBarPro::SetSimplePanel(bool on)
{
    if (FSimplePanel == on)
        return;
    FSimplePanel = on;
    PlaceControls();
    update();
}

void TVStatusBarPro::SetSimpleText(const QString& text)
{
    if (FSimpleText == text)
        return;
    FSimpleText = text;
    if (FSimplePanel)
        update();
}

void TVStatusBarPro::SetUseSystemFont(bool on)
{
    FUseSystemFont = on;
    if (on)
        setFont(QApplication::font(this));
}

void TVStatusBarPro::SetColor(const QColor& color)
{
    FColor = color;
    update();
}

QString TVStatusBarPro::CurrentHint() const
{
    if (FHotPanel && !FHotPanel->Hint().isEmpty())
        return FHotPanel->Hint();
    return Hint;
}

int TVStatusBarPro::ShownCount() const
{
    return std::min(FPanels.Count(), kMaxParts);
}

std::vector<int> TVStatusBarPro::PartEdges() const
{
    const int shown = ShownCount();
    if (shown == 0)
        return {-1};
    std::vector<int> edges;
    int edge = 0;
    for (int i = 0; i < shown - 1; ++i) {
        edge += PartWidth(i);
        edges.push_back(edge);
    }
    edges.push_back(-1);
    return edges;
}

int TVStatusBarPro::ContentWidth(const TVStatusPanelPro& panel) const
{
    const bool hasImage = ValidImage(panel.ImageIndex());
    if (panel.Style() == psOwnerDraw || panel.Control() || (panel.Text().isEmpty() && !hasImage))
        return 0;
    // The border and the inset before the image or text on either side, and a little room.
    constexpr int kPadding = 8;
    const int image = hasImage ? FImages[static_cast<size_t>(panel.ImageIndex())].width() + 2 : 0;
    return kPadding + image + fontMetrics().horizontalAdvance(panel.Text());
}

int TVStatusBarPro::PartWidth(int index) const
{
    const TVStatusPanelPro* panel = FPanels[index];
    return panel ? std::max(panel->Width(), ContentWidth(*panel)) : 0;
}

QRect TVStatusBarPro::PanelRect(int index) const
{
    if (index < 0 || index >= ShownCount())
        return {};
    const std::vector<int> edges = PartEdges();
    const int left = index == 0 ? 0 : edges[static_cast<size_t>(index) - 1];
    const int right = edges[static_cast<size_t>(index)] == -1 ? width() : edges[static_cast<size_t>(index)];
    if (right <= left)
        return {};
    // Right to left, the panels run from the right edge: the mirror image.
    const int x = RightToLeft() ? width() - right : left;
    return QRect(x, 1, right - left, height() - 1).intersected(rect());
}

TVStatusPanelPro* TVStatusBarPro::PanelAt(const QPoint& point) const
{
    if (FSimplePanel)
        return nullptr;
    for (int i = 0; i < ShownCount(); ++i)
        if (PanelRect(i).contains(point))
            return FPanels[i];
    return nullptr;
}

QColor TVStatusBarPro::PanelColor(const TVStatusPanelPro& panel) const
{
    return panel.Color().isValid() ? panel.Color() : palette().color(QPalette::Button);
}

bool TVStatusBarPro::ValidImage(int index) const
{
    return index >= 0 && index < static_cast<int>(FImages.size()) && !FImages[static_cast<size_t>(index)].isNull();
}

TVStatusBarPro::TPanelDrawing TVStatusBarPro::PanelDrawing(int index) const
{
    TPanelDrawing drawing;
    const TVStatusPanelPro* panel = FPanels[index];
    const QRect part = PanelRect(index);
    if (!panel || part.isEmpty())
        return drawing;
    const QRect rect = part.adjusted(1, 1, -1, -1);
    drawing.Rect = rect;
    drawing.HasImage = ValidImage(panel->ImageIndex());
    const QPixmap image = drawing.HasImage ? FImages[static_cast<size_t>(panel->ImageIndex())] : QPixmap();
    const int imageWidth = drawing.HasImage ? image.width() : 0;
    const int imageTop = rect.top() + (rect.height() - image.height()) / 2;
    const QFontMetrics metrics = fontMetrics();
    drawing.TextY = rect.top() + (rect.height() - metrics.height()) / 2;

    if (panel->Control()) {
        drawing.ImageAt = QPoint(rect.left() + 1, imageTop);
        const int indent = drawing.HasImage ? imageWidth + 5 : 0;
        drawing.ControlRect = QRect(rect.left() + indent, rect.top(), rect.width() - indent, rect.height());
        return drawing;
    }

    TAlignment alignment = panel->Alignment();
    if (RightToLeft() && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    const int textWidth = metrics.horizontalAdvance(panel->Text());
    const int rectRight = rect.left() + rect.width();
    int x = rect.left() + 1;
    if (alignment == taRightJustify)
        x = rectRight - imageWidth - 1;
    else if (alignment == taCenter)
        x = RightToLeft() ? rect.left() + (textWidth + imageWidth + rect.width()) / 2 - imageWidth
                          : rect.left() + (rect.width() - textWidth - imageWidth) / 2;
    // Right-aligned text (and centred text read right to left) ends where the image begins.
    const bool textBeforeImage = alignment == taRightJustify || (alignment == taCenter && RightToLeft());
    drawing.ImageAt = QPoint(x, imageTop);
    if (drawing.HasImage)
        x = textBeforeImage ? x - 2 : x + imageWidth + 2;
    drawing.TextX = textBeforeImage ? x - textWidth : x;
    return drawing;
}

void TVStatusBarPro::LayoutPanels()
{
    if (FHotPanel && FPanels.IndexOf(FHotPanel) >= ShownCount())
        FHotPanel = nullptr;
    FShownEdges = PartEdges();
    PlaceControls();
    updateGeometry();   // the bar's preferred width follows its panels
    update();
}

void TVStatusBarPro::PanelContentChanged(const TVStatusPanelPro& panel)
{
    if (PartEdges() != FShownEdges)
        LayoutPanels();
    else
        RedrawPanel(panel);
}

void TVStatusBarPro::PlaceControls()
{
    for (int i = 0; i < FPanels.Count(); ++i) {
        QWidget* control = FPanels[i]->Control();
        if (!control)
            continue;
        const bool shown = !FSimplePanel && i < ShownCount() && !PanelRect(i).isEmpty();
        if (shown)
            control->setGeometry(PanelDrawing(i).ControlRect);
        control->setVisible(shown);
    }
}

void TVStatusBarPro::RedrawPanel(const TVStatusPanelPro& panel)
{
    const int index = FPanels.IndexOf(&panel);
    if (index >= 0 && !FSimplePanel)
        update(PanelRect(index));
}

void TVStatusBarPro::ReleaseControl(QWidget* control, const TVStatusPanelPro* keeper)
{
    if (!control)
        return;
    for (int i = 0; i < FPanels.Count(); ++i)
        if (FPanels[i] != keeper && FPanels[i]->Control() == control) {
            FPanels[i]->FControl = nullptr;
            RedrawPanel(*FPanels[i]);
        }
}

void TVStatusBarPro::PanelRemoved(const TVStatusPanelPro* panel)
{
    if (FHotPanel == panel)
        FHotPanel = nullptr;
}

void TVStatusBarPro::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), FColor.isValid() ? FColor : palette().color(QPalette::Button));
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    if (FSimplePanel) {
        const QFontMetrics metrics = fontMetrics();
        const int y = (height() - metrics.height()) / 2 + metrics.ascent();
        const QRect area = rect().adjusted(4, 0, -4, 0);
        const int x = RightToLeft() ? area.right() - metrics.horizontalAdvance(FSimpleText) : area.left();
        painter.drawText(QPoint(x, y), FSimpleText);
        return;
    }
    for (int i = 0; i < ShownCount(); ++i) {
        const QRect part = PanelRect(i);
        if (part.isEmpty())
            continue;
        const TStatusPanelBevel bevel = FPanels[i]->Bevel();
        if (bevel != pbNone)
            qDrawShadePanel(&painter, part, palette(), bevel == pbLowered, 1);
        DrawPanel(painter, i);
    }
}

void TVStatusBarPro::DrawPanel(QPainter& painter, int index)
{
    TVStatusPanelPro* panel = FPanels[index];
    const TPanelDrawing drawing = PanelDrawing(index);
    painter.save();
    painter.setClipRect(drawing.Rect);
    if (panel->Style() == psOwnerDraw && OnDrawPanel) {
        OnDrawPanel(this, panel, painter, drawing.Rect);
    } else {
        if (!panel->Control())
            painter.fillRect(drawing.Rect, PanelColor(*panel));
        if (drawing.HasImage)
            painter.drawPixmap(drawing.ImageAt, FImages[static_cast<size_t>(panel->ImageIndex())]);
        if (!panel->Control())
            painter.drawText(QPoint(drawing.TextX, drawing.TextY + fontMetrics().ascent()), panel->Text());
    }
    painter.restore();
}

void TVStatusBarPro::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    PlaceControls();
}

QSize TVStatusBarPro::sizeHint() const
{
    const QSize base = QStatusBar::sizeHint();
    // Wide enough for every panel, the last one's text included, beside the size grip.
    int width = base.width();
    if (const int shown = ShownCount(); shown > 0 && !FSimplePanel) {
        const std::vector<int> edges = PartEdges();
        const int before = shown > 1 ? edges[static_cast<size_t>(shown) - 2] : 0;
        const QSizeGrip* grip = isSizeGripEnabled() ? findChild<QSizeGrip*>() : nullptr;
        width = std::max(width, before + PartWidth(shown - 1) + (grip ? grip->sizeHint().width() : 0));
    }
    return {width, std::max({kDefaultHeight, fontMetrics().height() + 6, base.height()})};
}

QSize TVStatusBarPro::minimumSizeHint() const
{
    const QSize base = QStatusBar::minimumSizeHint();
    return {base.width(), std::max({kDefaultHeight, fontMetrics().height() + 6, base.height()})};
}

void TVStatusBarPro::SetHotPanel(TVStatusPanelPro* panel)
{
    if (FHotPanel == panel)
        return;
    FHotPanel = panel;
    // The hint of the panel left behind gives way to the new one's.
    if (QToolTip::isVisible() && QToolTip::text() != CurrentHint()) {
        QToolTip::hideText();
        if (!CurrentHint().isEmpty())
            QToolTip::showText(QCursor::pos(), CurrentHint(), this);
    }
}

bool TVStatusBarPro::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        if (!ShowHint)
            return true;
        auto* help = static_cast<QHelpEvent*>(event);
        SetHotPanel(PanelAt(help->pos()));
        const QString hint = CurrentHint();
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, this, FHotPanel ? PanelRect(FHotPanel->Index()) : QRect());
        return true;
    }
    return QStatusBar::event(event);
}

void TVStatusBarPro::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        SetHotPanel(PanelAt(event->position().toPoint()));
    QStatusBar::mousePressEvent(event);
}

void TVStatusBarPro::mouseMoveEvent(QMouseEvent* event)
{
    if (ShowHint)
        SetHotPanel(PanelAt(event->position().toPoint()));
    QStatusBar::mouseMoveEvent(event);
}

void TVStatusBarPro::mouseReleaseEvent(QMouseEvent* event)
{
    QStatusBar::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (std::exchange(FSwallowRelease, false))
        return;
    if (rect().contains(event->position().toPoint()))
        Click();
}

void TVStatusBarPro::mouseDoubleClickEvent(QMouseEvent* event)
{
    QStatusBar::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    FSwallowRelease = true;
    SetHotPanel(PanelAt(event->position().toPoint()));
    DblClick();
}

void TVStatusBarPro::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        SetHotPanel(PanelAt(event->pos()));
    QMenu* menu = FHotPanel && FHotPanel->PopupMenu() ? FHotPanel->PopupMenu() : PopupMenu.data();
    if (!menu) {
        event->ignore();
        return;
    }
    menu->setLayoutDirection(layoutDirection());
    menu->popup(event->globalPos());
    event->accept();
}

void TVStatusBarPro::changeEvent(QEvent* event)
{
    QStatusBar::changeEvent(event);
    if (event->type() == QEvent::ApplicationFontChange && FUseSystemFont)
        setFont(QApplication::font(this));
    if (event->type() == QEvent::LayoutDirectionChange || event->type() == QEvent::FontChange)
        LayoutPanels();
}

void TVStatusBarPro::Click()
{
    if (FHotPanel && FHotPanel->OnClick)
        FHotPanel->OnClick(FHotPanel);
    else if (OnClick)
        OnClick(this);
}

void TVStatusBarPro::DblClick()
{
    if (FHotPanel && FHotPanel->OnDblClick)
        FHotPanel->OnDblClick(FHotPanel);
    else if (OnDblClick)
        OnDblClick(this);
}

void TVStatusBarPro::ApplicationHint(const QString& hint)
{
    if (!AutoHint || (OnHint && OnHint(hint)))
        return;
    if (FSimplePanel || FPanels.Count() == 0)
        SetSimpleText(hint);
    else
        FPanels[0]->SetText(hint);
}
