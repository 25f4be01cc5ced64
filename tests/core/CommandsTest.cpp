#include "core/Commands.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

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
