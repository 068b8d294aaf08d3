#include "report/ui/ContextHelp.h"

#include <QApplication>
#include <QMouseEvent>
#include <QVariant>
#include <QWhatsThis>
#include <QWidget>

#include "report/ui/FormRoutines.h"

TrpContextHelp::TrpContextHelp(QWidget& window, QWidget& button) : QObject(&window), window_(window), button_(button) {}

TrpContextHelp::~TrpContextHelp()
{
    if (active_) {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
}

void TrpContextHelp::Start()
{
    if (active_)
        return;
    active_ = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
}

bool TrpContextHelp::eventFilter(QObject* watched, QEvent* event)
{
    // The press that ends the mode reaches the window system's window first.
    if (active_ && event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        auto* pressed = static_cast<QWidget*>(watched);
        End(pressed->window() == &window_ ? pressed : nullptr, static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TrpContextHelp::End(QWidget* pressed, QPoint globalPos)
{
    active_ = false;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    if (!pressed)
        return;
    QWidget* control = FindControlAt(&window_, window_.mapFromGlobal(globalPos));
    if (!control)
        control = pressed;
    if (control == &button_)
        return;
    // The context help of a control is its hint; the tag says which help it is.
    for (QWidget* w = control; w && w != &window_; w = w->parentWidget()) {
        if (w->property("Tag").toInt() != 0 && !w->toolTip().isEmpty()) {
            QWhatsThis::showText(globalPos, w->toolTip(), &window_);
            return;
        }
    }
}
