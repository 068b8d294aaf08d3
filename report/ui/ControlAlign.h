#pragma once
// Where a control sits in its parent: against an edge, stacked after the controls already
// there, or not aligned. Kept as the widget's "Align" property, so that any widget (a tool bar
// panel, the strip holding it) can say how it is aligned.
class QWidget;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

TAlign ControlAlign(const QWidget* control);
void SetControlAlign(QWidget* control, TAlign align);

// The rule of tool bar buttons and separators on getting a parent: on a panel, they stack from
// the top when the panel's own parent stands at the left or right edge (a vertical bar), else
// from the left; a panel laid out by a box layout takes them at its end.
void AlignOnToolbar(QWidget* control);
