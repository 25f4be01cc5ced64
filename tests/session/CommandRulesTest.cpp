#include "session/CommandRules.h"
#include "session/PlayerMenu.h"
#include "session/TrackMenus.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kivo {
namespace {

using enum Command;

constexpr CommandState kOn{.enabled = true};
constexpr CommandState kOff{.enabled = false};
constexpr CommandState kChecked{.enabled = true, .checked = true};
constexpr CommandState kOffChecked{.enabled = false, .checked = true};

struct Row {
    const char* state;
    CommandFacts facts;
    std::vector<std::pair<Command, CommandState>> expected;
};

TEST(CommandRules, EachStateEnablesAndChecksTheCommandsItShould)
{
    // One command of each rule where several share it.
    const std::vector<Row> rows = {
        {"a new, empty window",
         {},
         {{RecentFile1, kOff}, {DeleteAll, kOff}, {DeleteInvalid, kOff}, {ObjectProperties, kOff},
          {LargeIcons, kChecked}, {AutoArrange, kOff}, {PlayPause, kOff}, {Stop, kOff}, {Next, kOff},
          {ShowPlayer, kOff}, {PlayerProperties, kOff}, {NormalSize, kOff}, {Snapshot, kOff}, {Sound, kChecked},
          {Repeat, kOn}}},
        {"two recent files, objects in details, one selected, the first current and stopped",
         {.list = {3, 0},
          .recentFileCount = 2,
          .playerState = PlayState::Stopped,
          .frameState = PlayState::Stopped,
          .selectedObjects = 1,
          .viewMode = Details,
          .autoArrange = true},
         {{RecentFile2, kOn}, {RecentFile3, kOff}, {SortByName, kOn}, {ObjectProperties, kOn}, {Details, kChecked},
          {LargeIcons, kOn}, {AutoArrange, kOffChecked}, {ArrangeIcons, kOff}, {PlayPause, kOn}, {Pause, kOn},
          {Stop, kOff}, {Previous, kOff}, {Next, kOn}, {ShowPlayer, kOn}, {Snapshot, kOff}}},
        {"small icons, an invalid object, two selected, the last current and playing",
         {.list = {3, 2},
          .hasInvalidObjects = true,
          .playerState = PlayState::Playing,
          .frameState = PlayState::Playing,
          .selectedObjects = 2,
          .viewMode = SmallIcons},
         {{DeleteInvalid, kOn}, {ObjectProperties, kOff}, {SmallIcons, kChecked}, {AutoArrange, kOn},
          {ArrangeIcons, kOn}, {Pause, kOn}, {Stop, kOn}, {Previous, kOn}, {Next, kOff}, {Snapshot, kOff}}},
        {"paused in the shown player window, full screen, sound off, options and bars on",
         {.list = {3, 1},
          .playerState = PlayState::Paused,
          .frameState = PlayState::Paused,
          .options = {.stretch = true, .autoRewind = true, .repeat = true, .autoSize = true},
          .soundOff = true,
          .playerShown = true,
          .fullScreen = true,
          .shownBars = {StatusBar, SpeedBar}},
         {{PlayPause, kOn}, {Pause, kOff}, {Stop, kOn}, {ShowPlayer, kChecked}, {MaximumSize, kOn},
          {FullScreen, kChecked}, {Snapshot, kOn}, {Sound, kOn}, {AutoRewind, kChecked}, {Repeat, kChecked},
          {AutoSize, kChecked}, {Stretch, kChecked}, {SpeedBar, kChecked}, {ToolBar, kOn}}},
        {"an object that is still being opened: the transport waits for it",
         {.list = {2, 0}, .openingObject = true},
         {{PlayPause, kOn}, {Pause, kOn}, {Stop, kOn}, {ShowPlayer, kOff}, {Snapshot, kOff}}},
        {"the last object current, the list repeating: the next one is the first",
         {.list = {3, 2, true}},
         {{Next, kOn}, {RepeatList, kChecked}}},
        {"a player with an object the list no longer has as current",
         {.list = {2, -1}, .playerState = PlayState::Stopped, .frameState = PlayState::Empty},
         {{PlayPause, kOn}, {Previous, kOff}, {Next, kOff}, {ShowPlayer, kOff}, {PlayerProperties, kOff}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        for (const auto& [command, expected] : row.expected)
            EXPECT_EQ(CommandStateOf(command, row.facts), expected) << static_cast<int>(command);
    }
}

// What the player's context menu greys, checks and lists. The menu of a
// window that is not full screen is the player window test's; so is no
// choice of one audio stream.
TEST(PlayerMenu, FullScreenGreysTheWindowItemsChecksShowTheOptionsAndTheTrackMenusListTheStreamsWithTheChoiceChecked)
{
    const auto states = PlayerMenuStates(
        {.playState = PlayState::Paused, .list = {}, .fullScreen = true, .stretch = true, .muted = true});
    for (Command command : {PlayerProperties, ShowPlayer, NormalSize, Snapshot})
        EXPECT_FALSE(states.at(command).enabled) << static_cast<int>(command);
    for (Command command : {FullScreen, Stretch, ShowPlayer})
        EXPECT_TRUE(states.at(command).checked) << static_cast<int>(command);
    EXPECT_TRUE(!states.at(Sound).checked && states.at(PlayPause).enabled);

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
