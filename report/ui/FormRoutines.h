#pragma once
// Routines the engine's windows share: naming a control, greying a set of dialog controls,
// finding the control under a point, and a dialog's OK and Cancel buttons.
#include <QList>
#include <QPoint>
#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;
class QWidget;
class TrpRunContext;

// The control, named as the window's resource names it.
template <typename TWidget>
TWidget* Named(TWidget* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// Enables or disables each control. A label also takes the text colour of its state (grey
// text when disabled, window text when enabled); any other control takes the background of
// its state (button face when disabled, window colour when enabled), so a disabled edit looks
// like the dialog around it.
void SetControlsEnabled(const QList<QWidget*>& controls, bool enabled);

// The visible child of parent under point (in parent's coordinates), topmost first. A child
// that holds controls of its own is searched in turn, and when none of them is under the point
// the search goes on with the parent's next child, so a container is never the answer itself.
QWidget* FindControlAt(QWidget* parent, QPoint point);

// The engine's "OK" (the default button) and "Cancel" for the dialog, ending it with mrOk and
// mrCancel; the row returned holds them at its right end.
QHBoxLayout* MakeOkCancel(QDialog& dialog, const TrpRunContext& context, QPushButton*& ok, QPushButton*& cancel);
