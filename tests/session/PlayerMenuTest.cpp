// What the player's context menu greys, checks and lists.

#include "session/PlayerMenu.h"
#include "session/TrackMenus.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// The menu of a window that is not full screen is the player window test's;
// so is no choice of one audio stream.
TEST(PlayerMenu, FullScreenGreysTheWindowItemsChecksShowTheOptionsAndTheTrackMenusListTheStreamsWithTheChoiceChecked)
{
    const auto states = PlayerMenuStates(
        {.playState = PlayState::Paused, .list = {}, .fullScreen = true, .stretch = true, .muted = true});
    for (Command command : {Command::PlayerProperties, Command::ShowPlayer, Command::NormalSize, Command::Snapshot})
        EXPECT_FALSE(states.at(command).enabled) << static_cast<int>(command);
    for (Command command : {Command::FullScreen, Command::Stretch, Command::ShowPlayer})
        EXPECT_TRUE(states.at(command).checked) << static_cast<int>(command);
    EXPECT_TRUE(!states.at(Command::Sound).checked && states.at(Command::PlayPause).enabled);

    // The subtitle and audio-track menus name the streams by their tags or numbers.
    using Entries = std::vector<TrackMenuEntry>;
    const std::vector<Track> tagged = {{"jpn", ""}, {"", "Commentary"}, {"eng", "Director & crew"}, {"", ""}};
    struct Case {
        const char* what;
        MediaTracks tracks;
        Entries subtitles;
        Entries audio;
    };
    const Case cases[] = {
        {"one subtitle stream shown: off or on",
         {.audio = {}, .subtitles = {{}}, .audioChoice = 0, .subtitleChoice = 0},
         {{"なし(&N)", false, {}}, {"ﾄﾗｯｸ 1", true, 0}},
         {}},
        {"subtitles off, the third audio stream chosen",
         {.audio = tagged, .subtitles = tagged, .audioChoice = 2, .subtitleChoice = {}},
         {{"なし(&N)", true, {}}, {"jpn", false, 0}, {"Commentary", false, 1}, {"eng (Director && crew)", false, 2},
          {"ﾄﾗｯｸ 4", false, 3}},
         {{"jpn", false, 0}, {"Commentary", false, 1}, {"eng (Director && crew)", true, 2}, {"ﾄﾗｯｸ 4", false, 3}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        const TrackMenu subtitles = SubtitleMenu(test.tracks);
        const TrackMenu audio = AudioTrackMenu(test.tracks);
        EXPECT_EQ(std::tuple(subtitles.entries, audio.entries), std::tuple(test.subtitles, test.audio));
        EXPECT_EQ(std::tuple(subtitles.Shown(), audio.Shown()), std::tuple(test.subtitles.size() > 1, test.audio.size() > 1));
    }
}

}  // namespace
}  // namespace kivo
