#include "app/main/TaskbarWindow.h"

#include <QPointer>
#include <QWidget>

std::unique_ptr<TTaskbarList> MakeTaskbarList(QWidget& window)
{
    QPointer<QWidget> target(&window);
    auto showIcon = [target](const QIcon& icon, const QString& description) {
        if (!target)
            return;
        target->setWindowIcon(icon);
        target->setAccessibleDescription(description);
    };
    return std::make_unique<TTaskbarList>(std::make_unique<TaskbarButton>(
        window.windowIcon(), showIcon, [](const QDBusMessage& message) { SendOnSessionBus(message); }));
}
