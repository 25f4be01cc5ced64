#include "media/MediaEngine.h"
#include "session/PlayerMenu.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

bool Enabled(const PlayerMenuFacts& facts, Command command)
{
    return PlayerMenuStates(facts).at(command).enabled;
}

TEST(PlayerMenu, TransportAndStepsFollowThePlayStateAndTheListPosition)
{
    PlayerMenuFacts facts;
    facts.list = {3, 1};  // the second of three
    EXPECT_FALSE(Enabled(facts, Command::PlayPause));
    EXPECT_FALSE(Enabled(facts, Command::Stop));
    EXPECT_TRUE(Enabled(facts, Command::Previous));
    EXPECT_TRUE(Enabled(facts, Command::Next));

    facts.playState = PlayState::Paused;
    EXPECT_TRUE(Enabled(facts, Command::PlayPause));
    EXPECT_TRUE(Enabled(facts, Command::Stop));
    EXPECT_TRUE(Enabled(facts, Command::Snapshot));
    facts.list = {3, 2};  // the last
    EXPECT_FALSE(Enabled(facts, Command::Next));
    facts.list = {3, -1};  // no current object
    EXPECT_FALSE(Enabled(facts, Command::Previous));
    EXPECT_FALSE(Enabled(facts, Command::Next));
    facts.list = {};  // an empty list
    EXPECT_FALSE(Enabled(facts, Command::Previous));
    EXPECT_FALSE(Enabled(facts, Command::Next));
}

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
}

}  // namespace
}  // namespace kivo
