#pragma once
// The engine's error box: a failed build, template read or printer switch is told to the user in
// a box captioned "Error" with the error icon, and goes no further. The box is the run context's
// MessageBox, which the window library sets; without windows the text goes to the context's log.
#include <QString>

class TrpRunContext;

// The engine's texts end their lines with a carriage return; the box shows them as lines.
void ShowErrorBox(const TrpRunContext& context, const QString& text);
