#pragma once
// The main window's action list: for every action its update handler (which decides, among
// other things, whether the action is enabled) and its work. All update handlers run together
// whenever the main thread has nothing left to do, so menus and shortcuts always show the
// current state; running an action runs its update handler first and does nothing while the
// action is disabled.
#include <QHash>
#include <QObject>

#include <exception>
#include <functional>
#include <vector>

class QAction;

class TActionList : public QObject {
public:
    using TUpdate = std::function<void(QAction&)>;
    using TWork = std::function<void()>;

    explicit TActionList(QObject* parent = nullptr);

    // The action's work, run when it is triggered from a menu, a shortcut or Execute.
    // An exception leaving the work of a menu or shortcut becomes a red log line.
    void SetWork(QAction* action, TWork work);
    // An update handler; replaces the one set before.
    void SetUpdate(QAction* action, TUpdate update);
    // The common case of an update handler: enabled exactly while the rule holds.
    void SetEnabledRule(QAction* action, std::function<bool()> rule);

    // Runs the action's update handler (if any).
    void Update(QAction* action) const;
    // Runs every update handler, in the order they were set.
    void UpdateAll() const;
    // Runs the action the way the rest of the program does: update first, then the work when
    // enabled. An exception from the work reaches the caller. Returns whether the work ran.
    bool Execute(QAction* action);

    // Runs UpdateAll (and then the given idle work) each time the main thread's event queue
    // runs dry.
    void RunOnIdle(std::function<void()> idleWork);

private:
    void Run(const TWork& work);

    std::vector<std::pair<QAction*, TUpdate>> FUpdates;
    QHash<QAction*, size_t> FUpdateIndex;
    std::exception_ptr* FCallerError = nullptr;   // where Execute wants the work's exception
};
