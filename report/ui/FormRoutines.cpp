#include "report/ui/FormRoutines.h"

#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QWidget>

#include "report/runtime/ModalResult.h"
#include "report/runtime/TextRoutines.h"

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

QHBoxLayout* MakeOkCancel(QDialog& dialog, const TrpRunContext& context, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(LoadFrResString(context, 55000), &dialog);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    cancel = new QPushButton(LoadFrResString(context, 55001), &dialog);
    cancel->setObjectName(QStringLiteral("Cancel"));
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(mrOk); });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(mrCancel); });
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}
