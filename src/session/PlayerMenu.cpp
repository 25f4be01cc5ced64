#include "session/PlayerMenu.h"

#include "media/MediaEngine.h"

namespace kivo {

std::map<int, PlayerMenuItemState> PlayerMenuStates(const PlayerMenuFacts& facts)
{
    std::map<int, PlayerMenuItemState> states;
    const auto grey = [&states](int command, bool greyed) { states[command].enabled = !greyed; };
    const auto check = [&states](int command, bool checked) { states[command].checked = checked; };

    const int state = facts.playState;
    grey(32779, state != kPlayStateStopped && state != kPlayStatePaused && state != kPlayStatePlaying);
    grey(32781, state != kPlayStatePaused && state != kPlayStatePlaying);
    const qintptr count = facts.countAndIndex / 65535;
    const qintptr index = facts.countAndIndex % 65535;
    grey(32833, index >= count || index <= 0);
    grey(32832, index >= count - 1 || index < 0);
    // Full screen shows the picture alone: no sizes, no window switch and
    // no property sheet behind it.
    for (int command : {32792, 32790, 32802, 32808, 32809})
        grey(command, facts.fullScreen);
    grey(32810, state != kPlayStatePaused || facts.fullScreen);

    check(32797, facts.autoRewind);
    check(32798, facts.repeat);
    check(32837, facts.autoSize);
    check(32799, facts.fullScreen);
    check(32807, facts.stretch);
    check(32795, !facts.muted);
    check(32790, true);
    return states;
}

}  // namespace kivo
