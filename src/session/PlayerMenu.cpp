#include "session/PlayerMenu.h"

namespace kivo {

std::map<Command, CommandState> PlayerMenuStates(const PlayerMenuFacts& facts)
{
    using enum Command;
    std::map<Command, CommandState> states;
    const auto grey = [&states](Command command, bool greyed) { states[command].enabled = !greyed; };
    const auto check = [&states](Command command, bool checked) { states[command].checked = checked; };

    // The transport and the steps as in the main window.
    const CommandFacts transport{.list = facts.list, .playerState = facts.playState, .openingObject = facts.opening};
    for (Command command : {PlayPause, Stop, Previous, Next})
        states[command] = CommandStateOf(command, transport);
    // Full screen shows the picture alone: no sizes, no window switch and
    // no property sheet behind it.
    for (Command command : {PlayerProperties, ShowPlayer, NormalSize, DoubleSize, MaximumSize})
        grey(command, facts.fullScreen);
    grey(Snapshot, facts.playState != PlayState::Paused || facts.fullScreen);

    check(AutoRewind, facts.autoRewind);
    check(Repeat, facts.repeat);
    check(RepeatList, facts.list.repeats);
    check(AutoSize, facts.autoSize);
    check(FullScreen, facts.fullScreen);
    check(Stretch, facts.stretch);
    check(Sound, !facts.muted);
    check(ShowPlayer, true);
    return states;
}

}  // namespace kivo
