#include "report/ui/ControlAlign.h"

#include <QBoxLayout>
#include <QFrame>
#include <QVariant>
#include <QWidget>

namespace {

const char* const kAlignProperty = "Align";

// A plain container: a frame or a bare widget, not a control of its own that happens to be
// able to hold children.
bool IsPanel(const QWidget* widget)
{
    if (!widget)
        return false;
    const QMetaObject* type = widget->metaObject();
    return type == &QFrame::staticMetaObject || type == &QWidget::staticMetaObject;
}

} // namespace

TAlign ControlAlign(const QWidget* control)
{
    return control ? static_cast<TAlign>(control->property(kAlignProperty).toInt()) : alNone;
}

void SetControlAlign(QWidget* control, TAlign align)
{
    control->setProperty(kAlignProperty, static_cast<int>(align));
}

void AlignOnToolbar(QWidget* control)
{
    QWidget* panel = control->parentWidget();
    if (!IsPanel(panel))
        return;
    const TAlign bar = ControlAlign(panel->parentWidget());
    SetControlAlign(control, bar == alLeft || bar == alRight ? alTop : alLeft);
    if (auto* box = qobject_cast<QBoxLayout*>(panel->layout()); box && box->indexOf(control) < 0)
        box->addWidget(control);
}
