#include "report/ui/FlatComboBox.h"

#include <QAbstractItemView>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <qdrawutil.h>

namespace {

// Items one line of the control's item height.
class TItemHeightDelegate : public QStyledItemDelegate {
public:
    explicit TItemHeightDelegate(TrpCustomComboBox* combo) : QStyledItemDelegate(combo), combo_(combo) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), combo_->ItemHeight()};
    }

private:
    TrpCustomComboBox* combo_;
};

} // namespace

TrpCustomComboBox::TrpCustomComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setItemDelegate(new TItemHeightDelegate(this));
    lineEdit()->setFrame(false);
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { update(); });
    // A long name shows its beginning, not the end where the cursor went.
    connect(this, &QComboBox::currentIndexChanged, this, [this] { lineEdit()->setCursorPosition(0); });
    resize(100, sizeHint().height());
}

void TrpCustomComboBox::SetReadOnly(bool value)
{
    FReadOnly = value;
    lineEdit()->setReadOnly(value);
}

int TrpCustomComboBox::ItemHeight() const
{
    return fontMetrics().height();
}

bool TrpCustomComboBox::IsActive() const
{
    return FDroppedDown || lineEdit()->hasFocus() || underMouse();
}

void TrpCustomComboBox::SetImageIndent(int indent)
{
    FImageIndent = indent;
    PlaceEdit();
    update();
}

QRect TrpCustomComboBox::EditRect() const
{
    return {FImageIndent + 3, 3, width() - kButtonWidth - FImageIndent - 7, height() - 6};
}

void TrpCustomComboBox::PlaceEdit()
{
    lineEdit()->setGeometry(EditRect());
}

void TrpCustomComboBox::showPopup()
{
    QComboBox::showPopup();
    FDroppedDown = true;
    // The list as wide as the control less a pixel, and as high as its visible items.
    QWidget* popup = view()->window();
    const int rows = qMin(maxVisibleItems(), count());
    const int listHeight = rows > 0 ? ItemHeight() * rows + 4 : ItemHeight() + 4;
    const QPoint top = mapToGlobal(QPoint(0, 0));
    FDropsUpward = popup->y() < top.y();
    popup->setGeometry(top.x(), FDropsUpward ? top.y() - listHeight : top.y() + height(), width() - 1, listHeight);
    update();
}

void TrpCustomComboBox::hidePopup()
{
    QComboBox::hidePopup();
    FDroppedDown = false;
    update();
}

void TrpCustomComboBox::DrawImage(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, palette().color(QPalette::Base));
}

void TrpCustomComboBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    const QColor face = colours.color(QPalette::Button);
    const QRect whole = rect();
    const QRect button(width() - kButtonWidth - 2, 2, kButtonWidth, height() - 4);
    if (!isEnabled()) {
        painter.fillRect(whole, face);
        painter.setPen(colours.color(QPalette::Base));
        painter.drawRect(whole.adjusted(2, 2, -3, -3));
        DrawArrow(painter, button, false);
        return;
    }
    painter.fillRect(whole.adjusted(2, 2, -2 - kButtonWidth, -2), colours.color(QPalette::Base));
    if (FImageIndent > 0)
        DrawImage(painter, QRect(3, 3, FImageIndent, height() - 6));
    const bool active = IsActive();
    painter.setPen(face);
    painter.drawRect(whole.adjusted(1, 1, -2, -2));
    painter.setPen(colours.color(QPalette::Base));
    painter.drawRect(whole.adjusted(2, 2, -3 - kButtonWidth, -3));
    if (active) {
        qDrawShadePanel(&painter, whole, colours, true, 1);
    } else {
        painter.setPen(face);
        painter.drawRect(whole.adjusted(0, 0, -1, -1));
    }

    painter.fillRect(button, face);
    if (active || FDroppedDown) {
        qDrawShadePanel(&painter, button, colours, FDroppedDown, 1);
    } else {
        painter.setPen(colours.color(QPalette::Base));
        painter.drawRect(button.adjusted(0, 0, -1, -1));
    }
    DrawArrow(painter, button, FDroppedDown);
}

void TrpCustomComboBox::DrawArrow(QPainter& painter, const QRect& button, bool pressed) const
{
    // A small downward triangle of three black lines, 5, 3 and 1 pixels long.
    const QPoint centre = button.center() + (pressed ? QPoint(1, 1) : QPoint());
    painter.setPen(Qt::black);
    for (int row = 0; row < 3; ++row)
        painter.drawLine(centre.x() - 2 + row, centre.y() - 1 + row, centre.x() + 2 - row, centre.y() - 1 + row);
}

void TrpCustomComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    PlaceEdit();
}

void TrpCustomComboBox::enterEvent(QEnterEvent* event)
{
    QComboBox::enterEvent(event);
    update();
}

void TrpCustomComboBox::leaveEvent(QEvent* event)
{
    QComboBox::leaveEvent(event);
    update();
}

void TrpCustomComboBox::changeEvent(QEvent* event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        PlaceEdit();
    update();
}

bool TrpCustomComboBox::eventFilter(QObject* watched, QEvent* event)
{
    const bool handled = QComboBox::eventFilter(watched, event);
    if (watched == lineEdit()) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            update();
            break;
        case QEvent::Resize:
        case QEvent::Move:
            // The style places the edit field by its own rules; ours wins.
            if (lineEdit()->geometry() != EditRect())
                PlaceEdit();
            break;
        default:
            break;
        }
    }
    return handled;
}
