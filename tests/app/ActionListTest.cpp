#include "app/main/ActionList.h"
#include "app/main/Interaction.h"
#include "app/main/UnhandledException.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QEventLoop>
#include <QTimer>

namespace {

// Collects what the exception handler would log in red for the objects it serves.
class CollectUnhandled {
public:
    explicit CollectUnhandled(QObject& served)
    {
        interaction.SetExceptionSink([this](const std::string& m) { messages.push_back(m); });
        interaction.Serve(served);
    }
    TInteraction interaction;
    std::vector<std::string> messages;
};

} // namespace

TEST(ActionList, RunningADisabledActionDoesNothing)
{
    TActionList list;
    QAction action;
    bool allowed = false;
    int runs = 0;
    list.SetEnabledRule(&action, [&] { return allowed; });
    list.SetWork(&action, [&] { ++runs; });

    EXPECT_FALSE(list.Execute(&action));
    EXPECT_EQ(runs, 0);
    action.trigger();   // as a menu or shortcut would, with the state the last update left
    EXPECT_EQ(runs, 0);

    allowed = true;
    EXPECT_TRUE(list.Execute(&action));
    EXPECT_EQ(runs, 1);
}

TEST(ActionList, ExecuteHandsTheWorksExceptionToItsCallerButAMenuClickLogsIt)
{
    TActionList list;
    CollectUnhandled log(list);
    QAction action;
    list.SetWork(&action, [] { throw Exception("Пароль не верен"); });

    EXPECT_THROW(list.Execute(&action), Exception);
    EXPECT_TRUE(log.messages.empty());

    action.trigger();
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0], "Пароль не верен");
}

TEST(ActionList, AnActionRunFromInsideAnotherKeepsItsOwnCaller)
{
    TActionList list;
    CollectUnhandled log(list);
    QAction outer, inner;
    bool innerFailed = false;
    list.SetWork(&inner, [] { throw Exception("inner"); });
    list.SetWork(&outer, [&] {
        try {
            list.Execute(&inner);
        } catch (const Exception&) {
            innerFailed = true;
        }
        throw Exception("outer");
    });
    outer.trigger();
    EXPECT_TRUE(innerFailed);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0], "outer");
}

TEST(ActionList, UpdatesRunWhenTheEventQueueRunsDry)
{
    TActionList list;
    QAction action;
    bool allowed = false;
    int idleRuns = 0;
    list.SetEnabledRule(&action, [&] { return allowed; });
    list.RunOnIdle([&] { ++idleRuns; });

    allowed = true;
    action.setEnabled(false);
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(action.isEnabled());
    EXPECT_GT(idleRuns, 0);
}

TEST(UnhandledException, MessagesOfEveryKind)
{
    QObject owner;
    CollectUnhandled log(owner);
    EXPECT_FALSE(RunGuarded(&owner, [] { throw Exception("Тайм-аут при приёме"); }));
    EXPECT_FALSE(RunGuarded(&owner, [] { throw std::runtime_error("plain"); }));
    EXPECT_FALSE(RunGuarded(&owner, [] { throw 42; }));
    EXPECT_TRUE(RunGuarded(&owner, [] {}));
    EXPECT_EQ(log.messages, (std::vector<std::string>{"Тайм-аут при приёме", "plain", "Неизвестная ошибка"}));
}

// Each object tree reaches the interaction served to it or to its nearest ancestor, so two
// windows (or two tests) never take each other's messages; a tree served anew forgets the old.
TEST(UnhandledException, ReachesTheSinkOfTheNearestServedAncestor)
{
    QObject outer;
    auto* middle = new QObject(&outer);
    auto* inner = new QObject(middle);
    auto* leaf = new QObject(inner);
    CollectUnhandled outerLog(outer), innerLog(*inner);

    RunGuarded(middle, [] { throw Exception("middle"); });
    RunGuarded(leaf, [] { throw Exception("leaf"); });
    EXPECT_EQ(outerLog.messages, std::vector<std::string>{"middle"});
    EXPECT_EQ(innerLog.messages, std::vector<std::string>{"leaf"});
    EXPECT_EQ(InteractionOf(leaf), &innerLog.interaction);

    outerLog.interaction.Serve(*inner);
    RunGuarded(leaf, [] { throw Exception("again"); });
    EXPECT_EQ(outerLog.messages, (std::vector<std::string>{"middle", "again"}));
    EXPECT_EQ(innerLog.messages.size(), 1u);

    QObject stray;
    EXPECT_EQ(InteractionOf(&stray), nullptr);
    EXPECT_FALSE(RunGuarded(&stray, [] { throw Exception("stray"); }));   // a warning, no crash
}
