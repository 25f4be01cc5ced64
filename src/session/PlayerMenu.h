#pragma once

#include "core/Commands.h"

#include <QtGlobal>

#include <map>

namespace kivo {

// What the player window's context menu depends on.
struct PlayerMenuFacts {
    int playState = 0;
    // The list's item count x 65535 + the current object's position.
    qintptr countAndIndex = 0;
    bool fullScreen = false;
    bool autoRewind = false;
    bool repeat = false;
    bool autoSize = false;
    bool stretch = false;
    bool muted = false;
};

struct PlayerMenuItemState {
    bool enabled = true;
    bool checked = false;
    friend bool operator==(const PlayerMenuItemState&, const PlayerMenuItemState&) = default;
};

// The greyed and checked items of the context menu, by command; commands
// not in the map are enabled and unchecked.
std::map<Command, PlayerMenuItemState> PlayerMenuStates(const PlayerMenuFacts& facts);

}  // namespace kivo
