#include "app/Commands.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(Commands, PromptsAndToolTipsComeFromOneString)
{
    EXPECT_EQ(CommandTextOf(32779).prompt, "ﾒﾃﾞｨｱの再生または一時停止");
    EXPECT_EQ(CommandTextOf(32779).toolTip, "再生/一時停止");
    // A string without a line break has no tool tip.
    EXPECT_EQ(CommandTextOf(32775).prompt, "ｵﾌﾞｼﾞｪｸﾄを名前順に並べ替え");
    EXPECT_TRUE(CommandTextOf(32775).toolTip.isEmpty());
    EXPECT_EQ(CommandTextOf(59392).toolTip, "ﾂｰﾙ ﾊﾞｰの表示/非表示");
    EXPECT_TRUE(CommandTextOf(1).prompt.isEmpty());
}

TEST(Commands, DisabledCommandsDoNothingWhicheverWayTheyCome)
{
    CommandTable table;
    int runs = 0;
    bool enabled = false;
    bool checked = true;
    table.Add(32781, [&] { ++runs; }, [&] { return enabled; }, [&] { return checked; });
    table.Add(32801, [&] { ++runs; });
    EXPECT_FALSE(table.Run(32781));
    EXPECT_EQ(runs, 0);
    enabled = true;
    EXPECT_TRUE(table.Run(32781));
    EXPECT_TRUE(table.IsChecked(32781));
    EXPECT_TRUE(table.Run(32801));  // no condition: always enabled
    EXPECT_FALSE(table.IsChecked(32801));
    EXPECT_FALSE(table.Run(12345));
    EXPECT_FALSE(table.IsEnabled(12345));
    EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace kivo
