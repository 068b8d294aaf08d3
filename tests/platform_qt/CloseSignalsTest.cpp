#include "platform/qt/CloseSignals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <csignal>
#include <stdexcept>
#include <vector>

namespace {

std::vector<int> WaitForRequests(const std::vector<int>& received, size_t count)
{
    QElapsedTimer timer;
    timer.start();
    while (received.size() < count && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return received;
}

volatile std::sig_atomic_t earlierHandlerCalls = 0;
extern "C" void EarlierHandler(int)
{
    earlierHandlerCalls = earlierHandlerCalls + 1;
}

} // namespace

TEST(CloseSignals, EachSignalOfTheSystemBecomesARequestOnTheThreadAndTheProgramLives)
{
    TCloseSignals closeSignals;
    std::vector<int> received;
    QObject::connect(&closeSignals, &TCloseSignals::CloseRequested, [&](int number) { received.push_back(number); });
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        ASSERT_EQ(raise(number), 0);
    EXPECT_EQ(WaitForRequests(received, 3), (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
}

TEST(CloseSignals, TheHandlersBeforeComeBackAndOnlyOneObjectHasTheSignals)
{
    struct sigaction earlier {};
    earlier.sa_handler = EarlierHandler;
    sigemptyset(&earlier.sa_mask);
    struct sigaction saved {};
    sigaction(SIGHUP, &earlier, &saved);
    {
        TCloseSignals closeSignals;
        EXPECT_THROW(TCloseSignals(), std::logic_error);
        raise(SIGHUP);
        EXPECT_EQ(earlierHandlerCalls, 0);
    }
    raise(SIGHUP);
    EXPECT_EQ(earlierHandlerCalls, 1);
    sigaction(SIGHUP, &saved, nullptr);
    // The signals are free again for the next object.
    TCloseSignals again;
}
