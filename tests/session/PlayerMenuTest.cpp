#include "session/PlayerMenu.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// The menu of a window that is not full screen is the player window test's.
TEST(PlayerMenu, FullScreenGreysTheWindowItemsAndChecksShowTheOptions)
{
    const auto states = PlayerMenuStates(
        {.playState = PlayState::Paused, .list = {}, .fullScreen = true, .stretch = true, .muted = true});
    for (Command command : {Command::PlayerProperties, Command::ShowPlayer, Command::NormalSize, Command::Snapshot})
        EXPECT_FALSE(states.at(command).enabled) << static_cast<int>(command);
    for (Command command : {Command::FullScreen, Command::Stretch, Command::ShowPlayer})
        EXPECT_TRUE(states.at(command).checked) << static_cast<int>(command);
    EXPECT_FALSE(states.at(Command::Sound).checked);
    EXPECT_TRUE(states.at(Command::PlayPause).enabled);
}

}  // namespace
}  // namespace kivo
