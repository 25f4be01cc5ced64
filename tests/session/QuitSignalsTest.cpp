#include "session/QuitSignals.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace kivo {
namespace {

TEST(QuitSignals, SignalsThatComeBeforeTheProgramTakesThemWaitForIt)
{
    // A signal the program was started ignoring (SIGINT in a background
    // job) counts too.
    std::signal(SIGINT, SIG_IGN);
    QuitSignals::HoldBack();
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_EQ(::raise(SIGINT), 0);
    QuitSignals quitSignals;
    QSignalSpy requests(&quitSignals, &QuitSignals::quitRequested);
    ASSERT_TRUE(requests.wait(5000));
    ASSERT_TRUE(requests.size() >= 2 || requests.wait(5000));
    QList<int> numbers{requests[0][0].toInt(), requests[1][0].toInt()};
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (QList<int>{SIGINT, SIGTERM}));

    // Once taken, they keep coming.
    ASSERT_EQ(::raise(SIGHUP), 0);
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_EQ(requests.last()[0].toInt(), SIGHUP);
}

}  // namespace
}  // namespace kivo
