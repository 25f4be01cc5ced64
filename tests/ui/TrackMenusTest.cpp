// The player window's subtitle and audio-track menus: shown for a file
// with a choice, and a choice reaches the engine. What they list is decided
// (and tested) without a display.

#include "ModalWindows.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "ui/PlayerWindow.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace kivo {
namespace {

// The titles of the context menu's submenus, after `choose` has been given
// the menu.
QStringList ShowContextMenu(PlayerWindow& window, const std::function<void(QMenu*)>& choose)
{
    QStringList submenus;
    const auto shown = test::WhenShown<QMenu>([&](QMenu* popup) {
        for (QAction* action : popup->actions()) {
            if (action->menu() != nullptr)
                submenus.append(action->text());
        }
        choose(popup);
        popup->close();
    });
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(5, 5), window.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&window, &keyboard);
    return submenus;
}

// The entry named `text` in the submenu titled `title`.
QAction* Entry(QMenu* menu, const QString& title, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr && action->text() == title) {
            for (QAction* entry : action->menu()->actions()) {
                if (entry->text() == text)
                    return entry;
            }
        }
    }
    return nullptr;
}

TEST(TrackMenus, OfferTheStreamsOfTheFileAndPassTheChoiceToTheEngine)
{
    QTemporaryDir folder;
    Settings settings(folder.filePath("Kivo231.ini"));
    MediaEngine engine;
    PlayerWindow window(settings, engine);
    ASSERT_TRUE(OpenAndWait(engine, test::Media("video.avi")));
    window.show();
    EXPECT_FALSE(ShowContextMenu(window, [](QMenu*) {}).contains("音声ﾄﾗｯｸ(&K)"));

    ASSERT_TRUE(OpenAndWait(engine, test::Media("tracks.mkv")));
    QStringList checked;
    const QStringList submenus = ShowContextMenu(window, [&](QMenu* menu) {
        for (QAction* submenu : menu->actions()) {
            for (QAction* action : submenu->menu() != nullptr ? submenu->menu()->actions() : QList<QAction*>()) {
                if (action->isChecked())
                    checked.append(action->text());
            }
        }
        QAction* second = Entry(menu, "音声ﾄﾗｯｸ(&K)", "jpn (high)");
        ASSERT_NE(second, nullptr);
        second->trigger();
        QAction* off = Entry(menu, "字幕(&T)", "なし(&N)");
        ASSERT_NE(off, nullptr);
        off->trigger();
    });
    EXPECT_EQ(submenus, QStringList({"字幕(&T)", "音声ﾄﾗｯｸ(&K)", "画面ｻｲｽﾞ(&W)", "ｵﾌﾟｼｮﾝ(&O)"}));
    EXPECT_EQ(checked, QStringList({"fr (Subtitle)", "eng (Audio)"}));  // the muxer's own titles
    EXPECT_EQ(engine.Tracks().audioChoice, 1);
    EXPECT_EQ(engine.Tracks().subtitleChoice, std::nullopt);
    engine.WaitForWorker();
}

}  // namespace
}  // namespace kivo
