#include "app/widgets/StatusPanelText.h"

#include "app/widgets/VSBPro.h"

#include <QFontMetrics>

void SetStatusPanelText(TVStatusPanelPro& panel, const QString& text)
{
    if (panel.Text().compare(text, Qt::CaseInsensitive) == 0)
        return;
    panel.SetText(text);
    const int needed = panel.Bar()->fontMetrics().horizontalAdvance(text) + 10;
    if (needed > panel.Width())
        panel.SetWidth(needed);
}
