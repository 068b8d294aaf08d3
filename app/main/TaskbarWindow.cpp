#include "app/main/TaskbarWindow.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace {

// The window whose button is attached now, so that an older window going away does not
// detach a newer one.
QPointer<QWidget> attachedWindow;

} // namespace

void AttachTaskbarWindow(QWidget* window)
{
    if (!window)
        return;
    QPointer<QWidget> target(window);
    auto showIcon = [target](const QIcon& icon, const QString& description) {
        if (!target)
            return;
        target->setWindowIcon(icon);
        target->setAccessibleDescription(description);
    };
    AttachTaskbarButton(std::make_unique<TaskbarButton>(
        window->windowIcon(), showIcon, [](const QDBusMessage& message) { SendOnSessionBus(message); }));
    attachedWindow = window;
    QObject::connect(window, &QObject::destroyed, [] {
        // A dying window's guarded pointer is already cleared: the pointer is empty exactly
        // when the attached window is the one going away.
        if (!attachedWindow)
            DetachTaskbarButton();
    });
}
