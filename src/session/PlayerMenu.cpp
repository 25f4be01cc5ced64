#include "session/PlayerMenu.h"

namespace kivo {

std::map<Command, PlayerMenuItemState> PlayerMenuStates(const PlayerMenuFacts& facts)
{
    using enum Command;
    std::map<Command, PlayerMenuItemState> states;
    const auto grey = [&states](Command command, bool greyed) { states[command].enabled = !greyed; };
    const auto check = [&states](Command command, bool checked) { states[command].checked = checked; };

    const PlayState state = facts.playState;
    grey(PlayPause, !facts.opening && state != PlayState::Stopped && state != PlayState::Paused &&
                        state != PlayState::Playing);
    grey(Stop, !facts.opening && state != PlayState::Paused && state != PlayState::Playing);
    const auto [count, index] = facts.list;
    grey(Previous, index >= count || index <= 0);
    grey(Next, index >= count - 1 || index < 0);
    // Full screen shows the picture alone: no sizes, no window switch and
    // no property sheet behind it.
    for (Command command : {PlayerProperties, ShowPlayer, NormalSize, DoubleSize, MaximumSize})
        grey(command, facts.fullScreen);
    grey(Snapshot, state != PlayState::Paused || facts.fullScreen);

    check(AutoRewind, facts.autoRewind);
    check(Repeat, facts.repeat);
    check(AutoSize, facts.autoSize);
    check(FullScreen, facts.fullScreen);
    check(Stretch, facts.stretch);
    check(Sound, !facts.muted);
    check(ShowPlayer, true);
    return states;
}

}  // namespace kivo
