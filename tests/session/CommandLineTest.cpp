#include "session/CommandLine.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kivo
