#include "media/MediaEngine.h"
#include "session/PlayerMenu.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

bool Enabled(const PlayerMenuFacts& facts, int command)
{
    return PlayerMenuStates(facts).at(command).enabled;
}

TEST(PlayerMenu, TransportAndStepsFollowThePlayStateAndTheListPosition)
{
    PlayerMenuFacts facts;
    facts.countAndIndex = 3 * 65535 + 1;  // the second of three
    EXPECT_FALSE(Enabled(facts, 32779));
    EXPECT_FALSE(Enabled(facts, 32781));
    EXPECT_TRUE(Enabled(facts, 32833));
    EXPECT_TRUE(Enabled(facts, 32832));

    facts.playState = kPlayStatePaused;
    EXPECT_TRUE(Enabled(facts, 32779));
    EXPECT_TRUE(Enabled(facts, 32781));
    EXPECT_TRUE(Enabled(facts, 32810));
    facts.countAndIndex = 3 * 65535 + 2;  // the last
    EXPECT_FALSE(Enabled(facts, 32832));
    facts.countAndIndex = 3 * 65535 - 1;  // no current object
    EXPECT_FALSE(Enabled(facts, 32833));
    EXPECT_FALSE(Enabled(facts, 32832));
    facts.countAndIndex = 0;  // an empty list
    EXPECT_FALSE(Enabled(facts, 32833));
    EXPECT_FALSE(Enabled(facts, 32832));
}

TEST(PlayerMenu, FullScreenGreysTheWindowItemsAndChecksShowTheOptions)
{
    PlayerMenuFacts facts;
    facts.playState = kPlayStatePaused;
    facts.fullScreen = true;
    facts.stretch = true;
    facts.muted = true;
    const auto states = PlayerMenuStates(facts);
    for (int command : {32792, 32790, 32802, 32808, 32809, 32810})
        EXPECT_FALSE(states.at(command).enabled) << command;
    EXPECT_TRUE(states.at(32799).checked);
    EXPECT_TRUE(states.at(32807).checked);
    EXPECT_FALSE(states.at(32795).checked);
    EXPECT_TRUE(states.at(32790).checked);
    EXPECT_FALSE(states.at(32798).checked);
}

}  // namespace
}  // namespace kivo
