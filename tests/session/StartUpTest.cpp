// What main() settles first, before any window: what the command line asks
// for, and the quit signals that come before the program can take them.

#include "session/CommandLine.h"
#include "session/QuitSignals.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <tuple>
#include <vector>

namespace kivo {
namespace {

// (Run would name the test's own member.)
constexpr auto kRun = CommandLine::Request::Run, kHelp = CommandLine::Request::Help,
               kVersion = CommandLine::Request::Version, kError = CommandLine::Request::Error;

// At most one file, which may begin with a dash after "--"; Qt's own
// options neither stand in the way nor pass for ours. Help, version and an
// unknown option as the program answers them are the end-to-end test
// command-line's.
TEST(CommandLine, NamesAtMostOneFileAndTellsQtsOptionsFromOurs)
{
    const std::tuple<std::vector<const char*>, CommandLine::Request, int> cases[] = {
        {{}, kRun, 0}, {{"\xff\xfe.kvo"}, kRun, 1}, {{"--", "-list.kvo"}, kRun, 2}, {{"--", "--"}, kRun, 2},
        {{"list.kvo", "--"}, kRun, 1}, {{"--"}, kRun, 0}, {{"--", "--help"}, kRun, 2}, {{"a.kvo", "b.kvo"}, kError, 0},
        {{"-platform", "xcb", "--help"}, kHelp, 0}, {{"list.kvo", "-v"}, kVersion, 1}, {{"-reverse"}, kError, 0},
        {{"-platformtheme", "gtk3"}, kError, 0}, {{"-help"}, kHelp, 0},
    };
    for (auto [arguments, request, index] : cases) {
        arguments.insert(arguments.begin(), "Kivo231");
        const CommandLine read = ReadCommandLine(static_cast<int>(arguments.size()), arguments.data());
        EXPECT_EQ(std::tuple(read.request, read.request == kRun ? read.fileIndex : index), std::tuple(request, index))
            << arguments.size() << " " << arguments.back();
    }
}

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
