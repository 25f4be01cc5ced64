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

TEST(CommandLine, NamesAtMostOneFileWhichMayBeginWithADashAfterTwo)
{
    EXPECT_EQ(Read({}).request, Request::Run);
    EXPECT_EQ(Read({}).fileIndex, 0);
    EXPECT_EQ(Read({"list.kvo"}).fileIndex, 1);
    EXPECT_EQ(Read({"\xff\xfe.kvo"}).fileIndex, 1);  // not UTF-8: main() takes it from argv
    EXPECT_EQ(Read({"--", "-list.kvo"}).fileIndex, 2);
    EXPECT_EQ(Read({"--", "--"}).fileIndex, 2);
    EXPECT_EQ(Read({"list.kvo", "--"}).fileIndex, 1);
    EXPECT_EQ(Read({"--"}).fileIndex, 0);

    const CommandLine two = Read({"a.kvo", "b.kvo"});
    EXPECT_EQ(two.request, Request::Error);
    EXPECT_EQ(two.error, "more than one file: 'b.kvo'");
}

TEST(CommandLine, HelpAndVersionAreAnsweredAndOtherOptionsRefused)
{
    for (const char* help : {"--help", "-h", "-help"})
        EXPECT_EQ(Read({help}).request, Request::Help) << help;
    EXPECT_EQ(Read({"list.kvo", "--version"}).request, Request::Version);
    EXPECT_EQ(Read({"-v"}).request, Request::Version);
    // Qt's own options, still on the line before Qt has read it, do not
    // stand in the way, nor are they taken for letters of ours.
    EXPECT_EQ(Read({"-platform", "xcb", "--help"}).request, Request::Help);
    EXPECT_EQ(Read({"-reverse"}).request, Request::Error);
    EXPECT_EQ(Read({"-platformtheme", "gtk3"}).request, Request::Error);

    const CommandLine unknown = Read({"--fullscreen", "list.kvo"});
    EXPECT_EQ(unknown.request, Request::Error);
    EXPECT_EQ(unknown.error, "unknown option '--fullscreen'");
    EXPECT_EQ(Read({"-x"}).error, "unknown option '-x'");
    EXPECT_EQ(Read({"--", "--help"}).request, Request::Run);  // a file of that name

    EXPECT_TRUE(UsageText().startsWith("Usage: Kivo231 [OPTION] [FILE]\n"));
    EXPECT_TRUE(VersionText().startsWith("Kivo231 (Kivo) 2."));
}

}  // namespace
}  // namespace kivo
