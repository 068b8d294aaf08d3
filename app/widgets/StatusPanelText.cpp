#include "app/widgets/StatusPanelText.h"

#include "app/widgets/VSBPro.h"

void SetStatusPanelText(TVStatusPanelPro& panel, const QString& text)
{
    if (panel.Text().compare(text, Qt::CaseInsensitive) == 0)
        return;
    panel.SetText(text);
    const int needed = panel.Bar()->ContentWidth(panel);
    if (needed > panel.Width())
        panel.SetWidth(needed);
}
