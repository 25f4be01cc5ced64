#pragma once

#include "core/Commands.h"
#include "core/PlayState.h"
#include "session/CommandRules.h"

#include <map>

namespace kivo {

// What the player window's context menu depends on.
struct PlayerMenuFacts {
    PlayState playState = PlayState::Empty;
    // An object is being opened: play and stop wait for it.
    bool opening = false;
    ListPosition list;
    bool fullScreen = false;
    bool autoRewind = false;
    bool repeat = false;
    bool autoSize = false;
    bool stretch = false;
    bool muted = false;
};

// The greyed and checked items of the context menu, by command; commands
// not in the map are enabled and unchecked.
std::map<Command, CommandState> PlayerMenuStates(const PlayerMenuFacts& facts);

}  // namespace kivo
