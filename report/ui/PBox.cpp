#include "report/ui/PBox.h"

#include <exception>

#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "base/Rounding.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/runtime/RunContext.h"
#include "report/ui/PreviewForm.h"

namespace {

const QColor kBackground(0x80, 0x80, 0x80);

int Scaled(int units, double scale)
{
    return int(Round(units * scale));
}

} // namespace

TrpPBox::TrpPBox(TrpPreviewForm& form, QWidget* parent) : QWidget(parent), form_(form)
{
    setObjectName(QStringLiteral("PBox"));
    setProperty("Tag", htPageBox);
    // The paint covers the whole box: no background is erased first, so the pages do not flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void TrpPBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    PaintPages(painter, event->region());
}

void TrpPBox::PaintPages(QPainter& painter, const QRegion& region)
{
    TrpPreviewForm& f = form_;
    if (!f.PaintEnabled)
        return;
    TrpEMFPages* pages = f.Pages();
    const std::vector<QRect>& rects = f.PageRects();
    if (!pages || pages->Count() == 0 || rects.size() != size_t(pages->Count())) {
        painter.fillRect(region.boundingRect(), palette().color(QPalette::Button));
        return;
    }
    const QPoint shift(f.ScrollOffsetX, f.ScrollOffsetY);
    // The grey goes round the pages only: their insides are left out of the fill.
    QRegion around = region;
    for (int i = 0; i < pages->Count(); ++i) {
        const QRect r = rects[size_t(i)].translated(shift);
        TrpEMFPage& page = pages->Page(i);
        page.Visible = r.top() < height() && r.bottom() >= 0 && region.intersects(r);
        if (page.Visible)
            around -= r.adjusted(1, 1, -1, -1);
    }
    painter.setClipRegion(around);
    painter.fillRect(rect(), kBackground);
    painter.setClipRegion(region);
    for (int i = 0; i < pages->Count(); ++i) {
        TrpEMFPage& page = pages->Page(i);
        if (!page.Visible) {
            pages->Draw(i, painter, QRect());   // releases its live objects
            continue;
        }
        const QRect r = rects[size_t(i)].translated(shift);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.drawLine(r.left() + 1, r.bottom() + 1, r.right() + 1, r.bottom() + 1);
        painter.drawLine(r.right() + 1, r.bottom() + 1, r.right() + 1, r.top() + 1);
        painter.save();
        try {
            pages->Draw(i, painter, PageDrawRect(page, r, f.Scale));
        } catch (const std::exception& error) {
            f.Context().Log(QString::fromUtf8(error.what()));
        }
        painter.restore();
    }
    if (f.Found && f.FoundPage < pages->Count() && pages->Page(f.FoundPage).Visible) {
        const QRect r = rects[size_t(f.FoundPage)].translated(shift);
        const QRect mark(r.left() + Scaled(f.FoundRect.left(), f.Scale), r.top() + Scaled(f.FoundRect.top(), f.Scale),
                         Scaled(f.FoundRect.width(), f.Scale), Scaled(f.FoundRect.height(), f.Scale) + 1);
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(mark, Qt::white);
    }
}

void TrpPBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    form_.FormResize();
}

int TrpPBox::PageUnderPoint(QPoint boxPoint, QPoint& pagePoint) const
{
    const TrpPreviewForm& f = form_;
    const QPoint layoutPoint = boxPoint - QPoint(f.ScrollOffsetX, f.ScrollOffsetY);
    const std::vector<QRect>& rects = f.PageRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        if (!rects[i].contains(layoutPoint))
            continue;
        pagePoint = QPoint(int(Round((layoutPoint.x() - rects[i].left()) / f.Scale)),
                           int(Round((layoutPoint.y() - rects[i].top()) / f.Scale)));
        return int(i);
    }
    return -1;
}

void TrpPBox::mousePressEvent(QMouseEvent* event)
{
    if (form_.PageCount() == 0)
        return;
    if (event->button() == Qt::LeftButton)
        LeftButtonDown(event->position().toPoint(), event->globalPosition().toPoint());
    else if (event->button() == Qt::RightButton)
        ShowPopupMenu(event->globalPosition().toPoint());
}

void TrpPBox::LeftButtonDown(QPoint boxPoint, QPoint globalPos)
{
    TrpPreviewForm& f = form_;
    ClickedPage = f.CurPage;
    QPoint pagePoint;
    const int page = PageUnderPoint(boxPoint, pagePoint);
    if (page >= 0) {
        ClickedPage = page + 1;
        TrpObjectHit hit;
        bool handled = false;
        try {
            handled = f.Pages()->ObjectAt(page, pagePoint, true, hit);
        } catch (const std::exception& error) {
            f.Context().Log(QString::fromUtf8(error.what()));
        }
        if (handled) {
            // Only addresses the pages' one check lets through are ever opened.
            if (!hit.OpenUrl.isEmpty())
                QDesktopServices::openUrl(hit.OpenUrl);
            f.GoToLinkedPage(hit.Text);
            return;
        }
    }
    Dragging = true;
    LastMousePos = globalPos;
    f.CurPage = ClickedPage;
    f.ShowPageNumber();
}

void TrpPBox::ShowPopupMenu(QPoint globalPos)
{
    QMenu* menu = form_.HostPopupMenu ? form_.HostPopupMenu.data() : form_.ProcMenu;
    menu->popup(globalPos);
}

void TrpPBox::mouseMoveEvent(QMouseEvent* event)
{
    if (form_.PageCount() == 0)
        return;
    if (!Dragging) {
        Hover(event->position().toPoint());
        return;
    }
    const QPoint now = event->globalPosition().toPoint();
    const QPoint moved = LastMousePos - now;
    form_.HScrollBar->setValue(form_.HScrollBar->value() + moved.x());
    form_.VScrollBar->setValue(form_.VScrollBar->value() + moved.y());
    LastMousePos = now;
}

void TrpPBox::Hover(QPoint boxPoint)
{
    TrpPreviewForm& f = form_;
    QPoint pagePoint;
    const int page = PageUnderPoint(boxPoint, pagePoint);
    if (page < 0 || !f.Report())
        return;
    TrpObjectHit hit;
    bool handled = false;
    try {
        handled = f.Pages()->ObjectAt(page, pagePoint, false, hit);
    } catch (const std::exception&) {
        // A page that cannot be read has no objects to point at; painting tells why.
    }
    setCursor(handled ? hit.Cursor : Qt::ArrowCursor);
    f.Label2->setText(f.LinkCaption(hit.Text));
}

void TrpPBox::mouseReleaseEvent(QMouseEvent*)
{
    Dragging = false;
}

void TrpPBox::mouseDoubleClickEvent(QMouseEvent*)
{
    // Qt sends the double click instead of the second press: it neither clicks nor drags.
    Dragging = false;
    if (form_.PageCount() == 0)
        return;
    form_.CurPage = ClickedPage;
    form_.ShowPageNumber();
}
