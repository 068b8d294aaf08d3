#pragma once
// The chart page around the chart: the label that reads out the time and value under the mouse,
// and the chart's print preview in landscape.
#include <QString>

class QLabel;
class QWidget;
class TSiloGraph;
struct Parameters;

// The label follows the mouse over the chart, at the settings' precision as it stands then, and
// says "(вне графика)" until the mouse moves over the chart again after another suspension is
// shown: a value read from the one shown before would mislead.
void ConnectCursorReadOut(TSiloGraph& chart, QLabel& label, const Parameters& settings);

// Previews the chart for printing in a modal window with the given title.
void PreviewGraphPrint(TSiloGraph& chart, const QString& title, QWidget* parent);
