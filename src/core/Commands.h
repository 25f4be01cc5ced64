#pragma once

#include <QString>

#include <functional>
#include <map>

namespace kivo {

// The prompt a command shows in the status bar while its menu item is
// highlighted, and the tool tip of its tool bar button (empty when it has
// none). Both are empty for a command without a string.
struct CommandText {
    QString prompt;
    QString toolTip;
};
CommandText CommandTextOf(int command);

// The commands of a window: what each does, when it is enabled and when it
// is checked. Menus, tool bars, keys and the joystick all go through one
// table, so that a disabled command does nothing whichever way it comes.
class CommandTable {
public:
    using Action = std::function<void()>;
    using Condition = std::function<bool()>;

    // `enabled` missing: always enabled; `checked` missing: never checked.
    void Add(int command, Action action, Condition enabled = {}, Condition checked = {});
    bool Contains(int command) const { return m_commands.count(command) != 0; }
    bool IsEnabled(int command) const;
    bool IsChecked(int command) const;
    // Carries the command out when it is known and enabled; false otherwise.
    bool Run(int command) const;

private:
    struct Entry {
        Action action;
        Condition enabled;
        Condition checked;
    };
    std::map<int, Entry> m_commands;
};

}  // namespace kivo
