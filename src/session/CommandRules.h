#pragma once

#include "core/Commands.h"
#include "core/PlayState.h"
#include "media/MediaEngine.h"

#include <vector>

namespace kivo {

class FrameProtocol;
class Session;
class Settings;

// What the enabling and check marks of the main window's commands depend
// on: the session's state and what the window's widgets show.
struct CommandFacts {
    // The cut list and its current object.
    ListPosition list{};
    bool hasInvalidObjects = false;
    int recentFileCount = 0;
    // The player's own state, the state the bars show (empty while no object
    // is current) and whether an object is being opened.
    PlayState playerState = PlayState::Empty;
    PlayState frameState = PlayState::Empty;
    bool openingObject = false;
    PlayerOptions options{};
    bool soundOff = false;
    // The window's widgets.
    int selectedObjects = 0;
    // The view mode's command (LargeIcons, SmallIcons, List or Details).
    Command viewMode = Command::LargeIcons;
    bool autoArrange = false;
    bool playerShown = false;
    bool fullScreen = false;
    // The bar switches (ToolBar, StatusBar, ...) whose bars are shown.
    std::vector<Command> shownBars{};
};

struct CommandState {
    bool enabled = true;
    bool checked = false;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

// Whether a command of the main window is enabled and checked; commands
// without a rule are enabled and unchecked.
CommandState CommandStateOf(Command command, const CommandFacts& facts);

// The session's facts; those of the window's widgets are left at their
// defaults for the window to fill in.
CommandFacts SessionCommandFacts(const Session& session, const FrameProtocol& frame, const Settings& settings);

}  // namespace kivo
