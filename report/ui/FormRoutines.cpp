#include "report/ui/FormRoutines.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QWidget>

void SetControlsEnabled(const QList<QWidget*>& controls, bool enabled)
{
    // The colours of both states are set, so the control looks right whichever it is in.
    const QPalette system = QGuiApplication::palette();
    for (QWidget* control : controls) {
        QPalette palette = control->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            if (qobject_cast<QLabel*>(control))
                palette.setColor(group, QPalette::WindowText, system.color(QPalette::Active, QPalette::WindowText));
            else
                palette.setColor(group, QPalette::Base, system.color(QPalette::Active, QPalette::Base));
        }
        if (qobject_cast<QLabel*>(control))
            palette.setColor(QPalette::Disabled, QPalette::WindowText,
                             system.color(QPalette::Disabled, QPalette::WindowText));
        else
            palette.setColor(QPalette::Disabled, QPalette::Base, system.color(QPalette::Active, QPalette::Button));
        control->setPalette(palette);
        control->setEnabled(enabled);
    }
}

namespace {

QList<QWidget*> ChildControls(const QWidget* parent)
{
    return parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

} // namespace

QWidget* FindControlAt(QWidget* parent, QPoint point)
{
    // Children are kept in stacking order: the last is drawn on top.
    const QList<QWidget*> children = ChildControls(parent);
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        QWidget* child = *it;
        if (child->isWindow() || child->isHidden() || !child->geometry().contains(point))
            continue;
        if (ChildControls(child).isEmpty())
            return child;
        if (QWidget* inner = FindControlAt(child, point - child->pos()))
            return inner;
    }
    return nullptr;
}
