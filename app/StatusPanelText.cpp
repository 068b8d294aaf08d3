#include "app/StatusPanelText.h"

#include <QFontMetrics>
#include <QLabel>

void SetStatusPanelText(QLabel& panel, const QString& text)
{
    if (panel.text().compare(text, Qt::CaseInsensitive) == 0)
        return;
    panel.setText(text);
    const int needed = panel.fontMetrics().horizontalAdvance(text) + 10;
    if (needed > panel.minimumWidth())
        panel.setMinimumWidth(needed);
}
