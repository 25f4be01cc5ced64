#pragma once

#include "core/Commands.h"

#include <QString>
#include <QStyle>

#include <functional>
#include <vector>

class QAction;
class QIcon;
class QMenu;
class QObject;
class QWidget;

namespace kivo {

// A separator in a list of menu items.
inline constexpr Command kSeparator{};

// One item of a menu: a command, a separator or a submenu.
struct MenuItem {
    // A command named by its menu text, or by this menu's own text.
    MenuItem(Command id, const char* ownText = nullptr) : command(id), text(ownText) {}
    // A submenu.
    MenuItem(const char* title, std::vector<MenuItem> submenu) : text(title), items(std::move(submenu)) {}
    // `text` in the interface's language; empty for null.
    QString ShownText() const;

    Command command{};
    // A submenu's title, or the command's text in this menu (null: the
    // command's menu text): the Japanese source text, as
    // QT_TRANSLATE_NOOP("Menu", ...) marks it.
    const char* text = nullptr;
    std::vector<MenuItem> items;
};

// The player window's sizes: a submenu of the player menu and of the
// player's context menu.
MenuItem PlayerSizeMenu();

// Fills `menu` with the items, submenus included; `actionOf` gives the
// action of a command item shown in a menu.
using ActionMaker = std::function<QAction*(const MenuItem& item, QMenu* menu)>;
void FillMenu(QMenu* menu, const std::vector<MenuItem>& items, const ActionMaker& actionOf);

// A new action of the command: its menu text (or `text`), shortcut, prompt
// and tool tip; its data is the command's id.
QAction* NewCommandAction(Command command, QObject* parent, const QString& text = {});
// The command of an action made by NewCommandAction; Command{} for others.
Command CommandOf(const QAction* action);
// The command's prompt and tool tip on a button.
void SetCommandTips(QWidget* button, Command command);
// The application style's picture, found when it is first drawn and then
// kept for the run: the style looks each one up in the icon themes, which
// can take milliseconds in a theme folder without an icon cache.
QIcon StandardIcon(QStyle::StandardPixmap pixmap);
// The picture as the style draws it; a null icon for none.
QIcon PictureIcon(Picture picture);

}  // namespace kivo
