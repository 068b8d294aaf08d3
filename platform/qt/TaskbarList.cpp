#include "platform/qt/TaskbarList.h"

#include "platform/qt/OverlayIcon.h"

#include <QColor>
#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include <array>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>

namespace {

using Command = std::function<void()>;

// Touched on the GUI thread only.
std::unique_ptr<TaskbarButton> CachedTaskbarList;
QString OverlayText;   // the description shown now; empty: no overlay

// Calls waiting for the GUI thread, in the order they were made.
std::mutex queueLock;
std::deque<Command> queue;

bool OnGuiThread(const QCoreApplication* app)
{
    return QThread::currentThread() == app->thread();
}

// Carries out the waiting calls one at a time, so that a call made while one is being carried
// out still waits its turn.
void RunQueued()
{
    for (;;) {
        Command command;
        {
            std::lock_guard lock(queueLock);
            if (queue.empty())
                return;
            command = std::move(queue.front());
            queue.pop_front();
        }
        command();
    }
}

void Call(Command command)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;   // no GUI thread yet, so no window either
    {
        std::lock_guard lock(queueLock);
        queue.push_back(std::move(command));
    }
    if (OnGuiThread(app))
        RunQueued();
    else
        QMetaObject::invokeMethod(app, &RunQueued, Qt::QueuedConnection);
}

void ShowOverlay(uint8_t level)
{
    if (!CachedTaskbarList)
        return;
    const QString text = OverlayStateText(level);
    if (!text.isEmpty()) {
        // Set again even when the level has not changed since the last pass.
        OverlayText = text;
        CachedTaskbarList->SetOverlayIcon(OverlayStateIcon(level), OverlayText);
        CachedTaskbarList->SetUrgent(level == 2);
    } else if (!OverlayText.isEmpty()) {
        OverlayText.clear();
        CachedTaskbarList->SetOverlayIcon(QIcon(), QString());
        CachedTaskbarList->SetUrgent(false);
    }
}

} // namespace

void TaskbarProgressBusy()
{
    Call([] {
        if (CachedTaskbarList)
            CachedTaskbarList->SetProgressState(TaskbarProgressState::Indeterminate);
    });
}

void TaskbarProgressOff()
{
    Call([] {
        if (CachedTaskbarList)
            CachedTaskbarList->SetProgressState(TaskbarProgressState::None);
    });
}

void TaskbarProgressValue(int32_t done, int32_t total)
{
    Call([done, total] {
        if (CachedTaskbarList)
            CachedTaskbarList->SetProgressValue(done, total);
    });
}

void SetOverlayState(uint8_t level)
{
    Call([level] { ShowOverlay(level); });
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

void AttachTaskbarButton(std::unique_ptr<TaskbarButton> button)
{
    RunQueued();   // calls made before belong to the button they were made for
    CachedTaskbarList = std::move(button);
    OverlayText.clear();
}

void DetachTaskbarButton()
{
    RunQueued();
    CachedTaskbarList.reset();
    OverlayText.clear();
}
