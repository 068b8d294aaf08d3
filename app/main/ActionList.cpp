#include "app/main/ActionList.h"

#include "app/main/UnhandledException.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QThread>

TActionList::TActionList(QObject* parent) : QObject(parent)
{
}

void TActionList::SetWork(QAction* action, TWork work)
{
    disconnect(action, &QAction::triggered, this, nullptr);
    connect(action, &QAction::triggered, this, [this, work = std::move(work)] { Run(work); });
}

void TActionList::Run(const TWork& work)
{
    // Taken over so that actions run from inside this work have their own caller.
    std::exception_ptr* caller = std::exchange(FCallerError, nullptr);
    try {
        work();
    } catch (...) {
        if (caller)
            *caller = std::current_exception();
        else
            ReportUnhandledException(this, std::current_exception());
    }
}

void TActionList::SetUpdate(QAction* action, TUpdate update)
{
    const auto found = FUpdateIndex.constFind(action);
    if (found != FUpdateIndex.constEnd()) {
        FUpdates[*found].second = std::move(update);
        return;
    }
    FUpdateIndex.insert(action, FUpdates.size());
    FUpdates.emplace_back(action, std::move(update));
}

void TActionList::SetEnabledRule(QAction* action, std::function<bool()> rule)
{
    SetUpdate(action, [rule = std::move(rule)](QAction& a) { a.setEnabled(rule()); });
}

void TActionList::Update(QAction* action) const
{
    const auto found = FUpdateIndex.constFind(action);
    if (found != FUpdateIndex.constEnd())
        FUpdates[*found].second(*action);
}

void TActionList::UpdateAll() const
{
    for (const auto& [action, update] : FUpdates)
        update(*action);
}

bool TActionList::Execute(QAction* action)
{
    Update(action);
    if (!action->isEnabled())
        return false;
    std::exception_ptr error;
    std::exception_ptr* saved = std::exchange(FCallerError, &error);
    action->trigger();
    FCallerError = saved;
    if (error)
        std::rethrow_exception(error);
    return true;
}

void TActionList::RunOnIdle(std::function<void()> idleWork)
{
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread());
    if (!dispatcher)
        return;
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this, idleWork = std::move(idleWork)] {
        RunGuarded(this, [&] {
            UpdateAll();
            if (idleWork)
                idleWork();
        });
    });
}
