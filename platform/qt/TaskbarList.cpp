#include "platform/qt/TaskbarList.h"

#include "platform/qt/OverlayIcon.h"

#include <QColor>

#include <array>
#include <utility>

TTaskbarList::TTaskbarList(std::unique_ptr<TaskbarButton> button) : CachedTaskbarList(std::move(button)) {}

void TTaskbarList::TaskbarProgressBusy()
{
    if (CachedTaskbarList)
        CachedTaskbarList->SetProgressState(TaskbarProgressState::Indeterminate);
}

void TTaskbarList::TaskbarProgressOff()
{
    if (CachedTaskbarList)
        CachedTaskbarList->SetProgressState(TaskbarProgressState::None);
}

void TTaskbarList::TaskbarProgressValue(int32_t done, int32_t total)
{
    if (CachedTaskbarList)
        CachedTaskbarList->SetProgressValue(done, total);
}

void TTaskbarList::SetOverlayState(uint8_t level)
{
    if (!CachedTaskbarList)
        return;
    const QString text = OverlayStateText(level);
    if (!text.isEmpty()) {
        OverlayText = text;
        CachedTaskbarList->SetOverlayIcon(OverlayStateIcon(level), OverlayText);
        CachedTaskbarList->SetUrgent(level == 2);
    } else if (!OverlayText.isEmpty()) {
        OverlayText.clear();
        CachedTaskbarList->SetOverlayIcon(QIcon(), QString());
        CachedTaskbarList->SetUrgent(false);
    }
}

QIcon OverlayStateIcon(int level)
{
    // Painted afresh each time: cheap, and no pixmap outlives the application object.
    static constexpr std::array<QRgb, 3> colours{qRgb(0, 170, 0), qRgb(240, 200, 0), qRgb(220, 0, 0)};
    return level >= 0 && level < 3 ? StateMarkIcon(QColor(colours[level])) : QIcon();
}

QString OverlayStateText(int level)
{
    switch (level) {
    case 0: return QStringLiteral("OK");
    case 1: return QStringLiteral("Warning");
    case 2: return QStringLiteral("Error");
    default: return {};
    }
}
