#include "session/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

CommandLine Read(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "Kivo231");
    return ReadCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

using Request = CommandLine::Request;

// Help, version and an unknown option as the program answers them are the
// end-to-end test command-line's.
TEST(CommandLine, NamesAtMostOneFileWhichMayBeginWithADashAfterTwo)
{
    const std::pair<std::vector<const char*>, int> files[] = {
        {{}, 0}, {{"\xff\xfe.kvo"}, 1}, {{"--", "-list.kvo"}, 2}, {{"--", "--"}, 2}, {{"list.kvo", "--"}, 1}, {{"--"}, 0}};
    for (const auto& [arguments, index] : files) {
        EXPECT_EQ(Read(arguments).request, Request::Run) << index;
        EXPECT_EQ(Read(arguments).fileIndex, index);
    }
    EXPECT_EQ(Read({"a.kvo", "b.kvo"}).request, Request::Error);
    EXPECT_EQ(Read({"--", "--help"}).request, Request::Run);  // a file of that name
}

TEST(CommandLine, QtsOwnOptionsNeitherStandInTheWayNorPassForOurs)
{
    EXPECT_EQ(Read({"-platform", "xcb", "--help"}).request, Request::Help);
    EXPECT_EQ(Read({"list.kvo", "-v"}).request, Request::Version);
    EXPECT_EQ(Read({"-reverse"}).request, Request::Error);
    EXPECT_EQ(Read({"-platformtheme", "gtk3"}).request, Request::Error);
    EXPECT_EQ(Read({"-help"}).request, Request::Help);
}

}  // namespace
}  // namespace kivo
