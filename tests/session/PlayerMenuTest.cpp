#include "session/PlayerMenu.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(PlayerMenu, FullScreenGreysTheWindowItemsAndChecksShowTheOptions)
{
    PlayerMenuFacts facts;
    facts.playState = PlayState::Paused;
    facts.fullScreen = true;
    facts.stretch = true;
    facts.muted = true;
    const auto states = PlayerMenuStates(facts);
    for (Command command : {Command::PlayerProperties, Command::ShowPlayer, Command::NormalSize, Command::DoubleSize,
                            Command::MaximumSize, Command::Snapshot})
        EXPECT_FALSE(states.at(command).enabled) << static_cast<int>(command);
    EXPECT_TRUE(states.at(Command::FullScreen).checked);
    EXPECT_TRUE(states.at(Command::Stretch).checked);
    EXPECT_FALSE(states.at(Command::Sound).checked);
    EXPECT_TRUE(states.at(Command::ShowPlayer).checked);
    EXPECT_FALSE(states.at(Command::Repeat).checked);
    // The transport follows the main window's rules.
    EXPECT_TRUE(states.at(Command::PlayPause).enabled);
    EXPECT_FALSE(states.at(Command::Next).enabled);
}

}  // namespace
}  // namespace kivo
