#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <map>
#include <span>

namespace kivo {

// The program's commands, by their ids.
enum class Command {
    // Files.
    NewFile = 57600,
    OpenFile = 57601,
    OpenMediaFiles = 32840,
    SaveFile = 57603,
    SaveFileAs = 57604,
    // Kivo's own, beside the design's ids.
    ExportPlaylist = 32900,
    RecentFile1 = 57616,
    RecentFile2 = 57617,
    RecentFile3 = 57618,
    RecentFile4 = 57619,
    Exit = 57665,
    // Editing the whole list.
    DeleteInvalid = 32793,
    DeleteAll = 32794,
    NameAllByFileName = 32816,
    NameAllByPath = 32815,
    ClearAllNames = 32836,
    // The object menu: the object last right-clicked.
    PlayObject = 32819,
    DeleteObject = 32817,
    EditObjectName = 32818,
    NameObjectByFileName = 32838,
    NameObjectByPath = 32839,
    ObjectProperties = 32828,
    // The bars.
    ToolBar = 59392,
    StatusBar = 59393,
    NavigationBar = 32834,
    ControlBar = 32785,
    VolumeBar = 32824,
    SpeedBar = 32825,
    // The view modes.
    LargeIcons = 32771,
    SmallIcons = 32772,
    List = 32774,
    Details = 32773,
    // Sorting and arrangement.
    SortByName = 32775,
    SortByMediaTime = 32776,
    SortByType = 32823,
    SortBySize = 32812,
    SortByDate = 32814,
    Shuffle = 32820,
    AutoArrange = 32822,
    ArrangeIcons = 32777,
    // The player.
    PlayPause = 32779,
    Pause = 32780,
    Stop = 32781,
    Previous = 32833,
    Next = 32832,
    ShowPlayer = 32790,
    Sound = 32795,
    Mute = 32801,
    AutoRewind = 32797,
    Repeat = 32798,
    // Kivo's own: after the last object the first plays on.
    RepeatList = 32901,
    AutoSize = 32837,
    Stretch = 32807,
    NormalSize = 32802,
    DoubleSize = 32808,
    MaximumSize = 32809,
    FullScreen = 32799,
    Snapshot = 32810,
    PlayerProperties = 32792,
    NormalSpeed = 1065,
    // Tools and help.
    SearchMedia = 32811,
    HelpContents = 57670,
    About = 57664,
};

// The picture of a command's tool bar button and menu item, for the
// widgets to draw in their style.
enum class Picture {
    None,
    File,
    Open,
    Save,
    Discard,
    Trash,
    ContentsView,
    InfoView,
    ListView,
    DetailedView,
    Computer,
    Volume,
    StartFolder,
    Information,
    SkipBackward,
    SkipForward,
};

// What the user sees of a command: the text of its menu items, its shortcut
// ("Ctrl+N"), the prompt the status bar shows while its menu item is
// highlighted or the mouse rests on its button, the tool tip of its button
// and its picture. The texts are the Japanese source texts (UTF-8), shown
// through CommandText; a text the command does not have is null.
struct CommandInfo {
    Command id{};
    const char* menuText = nullptr;
    QStringView shortcut{};
    const char* prompt = nullptr;
    const char* toolTip = nullptr;
    Picture picture = Picture::None;
};

// One of the texts above in the interface's language; empty for null.
QString CommandText(const char* text);

// Every command's row, in menu order.
std::span<const CommandInfo> CommandInfos();
// The row of a command; all empty for a number that is no command.
const CommandInfo& CommandInfoOf(Command command);
// The File menu's recent-file entry `index` (0 for the latest file).
Command RecentFileCommand(int index);

// The commands of a window: what each does, when it is enabled and when it
// is checked. Menus, tool bars, keys and the joystick all go through one
// table, so that a disabled command does nothing whichever way it comes.
class CommandTable {
public:
    using Action = std::function<void()>;
    using Condition = std::function<bool()>;

    // `enabled` missing: always enabled; `checked` missing: never checked.
    void Add(Command command, Action action, Condition enabled = {}, Condition checked = {});
    bool Contains(Command command) const { return m_commands.count(command) != 0; }
    bool IsEnabled(Command command) const;
    bool IsChecked(Command command) const;
    // Carries the command out when it is known and enabled; false otherwise.
    bool Run(Command command) const;
    // Called after each command carried out: what is enabled or checked may
    // have changed.
    void AfterEachRun(Action ran) { m_ran = std::move(ran); }

private:
    struct Entry {
        Action action;
        Condition enabled;
        Condition checked;
    };
    std::map<Command, Entry> m_commands;
    Action m_ran;
};

}  // namespace kivo
