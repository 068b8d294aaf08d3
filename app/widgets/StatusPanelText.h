#pragma once
// A status panel's text is replaced only when it really changes (case aside), and the panel
// grows to fit a longer text but never shrinks, so the bar does not flicker or jump.
class QString;
class TVStatusPanelPro;

void SetStatusPanelText(TVStatusPanelPro& panel, const QString& text);
