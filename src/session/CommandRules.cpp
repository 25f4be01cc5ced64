#include "session/CommandRules.h"

#include "core/Settings.h"
#include "session/Session.h"

#include <algorithm>
#include <optional>

namespace kivo {
namespace {

// The index of a recent-file entry's command, if it is one.
std::optional<int> RecentFileIndex(Command command)
{
    for (int i = 0; i < Settings::kRecentFileCount; ++i) {
        if (RecentFileCommand(i) == command)
            return i;
    }
    return std::nullopt;
}

// A play or stop asked for while the object opens is kept until it has
// opened, so the transport stays enabled meanwhile.
bool Transports(const CommandFacts& facts, std::initializer_list<PlayState> states)
{
    return facts.openingObject || std::ranges::find(states, facts.playerState) != states.end();
}

}  // namespace

CommandState CommandStateOf(Command command, const CommandFacts& facts)
{
    using enum Command;
    const auto [count, index, repeats] = facts.list;
    const bool hasObjects = count > 0;
    const bool iconsShown = facts.viewMode == LargeIcons || facts.viewMode == SmallIcons;
    switch (command) {
    case DeleteAll:
    case NameAllByFileName:
    case NameAllByPath:
    case ClearAllNames:
    case SortByName:
    case SortByMediaTime:
    case SortByType:
    case SortBySize:
    case SortByDate:
    case Shuffle:
        return {.enabled = hasObjects};
    case DeleteInvalid:
        return {.enabled = facts.hasInvalidObjects};
    case ObjectProperties:
        return {.enabled = facts.selectedObjects == 1};
    case LargeIcons:
    case SmallIcons:
    case List:
    case Details:
        return {.checked = facts.viewMode == command};
    case AutoArrange:
        return {.enabled = iconsShown && hasObjects, .checked = facts.autoArrange};
    case ArrangeIcons:
        return {.enabled = iconsShown && hasObjects};
    case PlayPause:
        return {.enabled = Transports(facts, {PlayState::Stopped, PlayState::Paused, PlayState::Playing})};
    case Pause:
        return {.enabled = Transports(facts, {PlayState::Stopped, PlayState::Playing})};
    case Stop:
        return {.enabled = Transports(facts, {PlayState::Paused, PlayState::Playing})};
    case Previous:
        return {.enabled = index > 0 && index < count};
    case Next:
        // Repeating the list, the last object's next is the first.
        return {.enabled = index >= 0 && (index < count - 1 || (repeats && index < count))};
    case ShowPlayer:
        return {.enabled = facts.frameState != PlayState::Empty, .checked = facts.playerShown};
    case PlayerProperties:
        return {.enabled = facts.frameState != PlayState::Empty};
    // The player window's sizes and full screen, while it is shown.
    case NormalSize:
    case DoubleSize:
    case MaximumSize:
        return {.enabled = facts.playerShown};
    case FullScreen:
        return {.enabled = facts.playerShown, .checked = facts.fullScreen};
    case Snapshot:
        return {.enabled = facts.playerState == PlayState::Paused};
    case Sound:
        return {.checked = !facts.soundOff};
    case AutoRewind:
        return {.checked = facts.options.autoRewind};
    case Repeat:
        return {.checked = facts.options.repeat};
    case RepeatList:
        return {.checked = repeats};
    case AutoSize:
        return {.checked = facts.options.autoSize};
    case Stretch:
        return {.checked = facts.options.stretch};
    case ToolBar:
    case StatusBar:
    case NavigationBar:
    case ControlBar:
    case VolumeBar:
    case SpeedBar:
        return {.checked = std::ranges::find(facts.shownBars, command) != facts.shownBars.end()};
    default:
        break;
    }
    // The recent-file entries, while the list has their files.
    if (const std::optional<int> recent = RecentFileIndex(command))
        return {.enabled = *recent < facts.recentFileCount};
    return {};
}

CommandFacts SessionCommandFacts(const Session& session, const FrameProtocol& frame, const Settings& settings)
{
    return {.list = session.playback.Position(),
            .hasInvalidObjects = session.list.HasInvalidItems(),
            .recentFileCount = static_cast<int>(settings.GetRecentFiles().size()),
            .playerState = session.engine.State(),
            .frameState = session.playback.FrameState(),
            .openingObject = session.playback.IsOpeningObject(),
            .options = session.engine.Options(),
            .soundOff = frame.IsSoundOff()};
}

}  // namespace kivo
