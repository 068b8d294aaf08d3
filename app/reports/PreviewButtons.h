#pragma once
// The main window's own buttons on the report preview's tool bar strip, each bound to one of its
// actions: a click runs the action, the action's caption is the hint, and the button is enabled
// with the action. They have pictures and no captions.
#include <QImage>

class QAction;
class QWidget;
class TrpTBButton;

// The pictures of the actions that get a button.
enum class TReportButtonGlyph { ExportRtf, ExportTxt, PrintColours, TwoColumns };
QImage ReportButtonGlyph(TReportButtonGlyph glyph);

// The action's button on the strip, or none.
TrpTBButton* PreviewButton(const QWidget& strip, const QAction* action);
// show: the action gets its button, made the first time at the end of the strip; otherwise its
// button, if any, is removed.
void SetPreviewButton(QWidget& strip, QAction* action, const QImage& glyph, bool show);
