#include "app/main/ActionList.h"
#include "app/main/UnhandledException.h"
#include "base/Exception.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QEventLoop>
#include <QTimer>

namespace {

// Collects what the application-wide handler would log in red.
class CollectUnhandled {
public:
    CollectUnhandled() { saved = SetUnhandledExceptionSink([this](const std::string& m) { messages.push_back(m); }); }
    ~CollectUnhandled() { SetUnhandledExceptionSink(saved); }
    std::vector<std::string> messages;
    TExceptionSink saved;
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
    CollectUnhandled log;
    TActionList list;
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
    CollectUnhandled log;
    TActionList list;
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
    CollectUnhandled log;
    EXPECT_FALSE(RunGuarded([] { throw Exception("Тайм-аут при приёме"); }));
    EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("plain"); }));
    EXPECT_FALSE(RunGuarded([] { throw 42; }));
    EXPECT_TRUE(RunGuarded([] {}));
    EXPECT_EQ(log.messages, (std::vector<std::string>{"Тайм-аут при приёме", "plain", "Неизвестная ошибка"}));
}
