// The player window's wiring: its sizes, mouse, joystick, context menu and
// snapshots reach the engine and the main window. What each key and button
// means, the menu's greying and the video's fit are decided (and tested)
// without a display; keys reach their commands in the main window test (and
// a held Right in the everyday-gestures script), the owner and the focus in
// the windows script, and full screen by a double click and a written
// snapshot in the player-window script.

#include "LogLines.h"
#include "ModalWindows.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "ui/PlayerWindow.h"

#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

namespace kivo {
namespace {

class Player : public ::testing::Test {
protected:
    void Open(const char* clip)
    {
        ASSERT_TRUE(OpenAndWait(window.Engine(), test::Media(clip)));
        window.show();
    }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    QWidget main;
    MediaEngine engine;
    PlayerWindow window{settings, engine, &main};
};

// Shows the context menu, asked for from the keyboard, and lets `use` look at it.
void ShowContextMenu(PlayerWindow& window, const std::function<void(QMenu*)>& use)
{
    const auto shown = test::WhenShown<QMenu>([&](QMenu* popup) {
        use(popup);
        popup->close();
    });
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
    QApplication::sendEvent(&window, &keyboard);
}

// The texts of the entries for which `is` holds.
QStringList Entries(const QList<QAction*>& entries, const std::function<bool(const QAction*)>& is)
{
    QStringList texts;
    for (const QAction* action : entries) {
        if (is(action))
            texts.append(action->text());
    }
    return texts;
}

bool IsSubmenu(const QAction* entry) { return entry->menu() != nullptr; }

TEST_F(Player, StartsHiddenAtTheDefaultSizeAndKeepsItsOptions)
{
    settings.Set(setting::kRepeat, 1);
    {
        MediaEngine started;
        PlayerWindow another(settings, started);
        EXPECT_TRUE(!another.isVisible() && another.size() == QSize(352, 240) && started.Options().repeat);
        started.SetOptions({.autoRewind = true, .repeat = false, .autoSize = true});
    }
    EXPECT_EQ(std::pair(settings.Get(setting::kAutoRewind), settings.Get(setting::kRepeat)), std::pair(1, 0));
}

TEST_F(Player, TheVideoFollowsTheWindowItsSizesTheMediaAndTheBodyDragsIt)
{
    Open("video.avi");  // 320 x 240
    window.resize(352, 240);
    EXPECT_EQ(engine.VideoRectangle(), (EdgeRect{16, 0, 336, 240}));
    engine.SetOption(&PlayerOptions::stretch, true);
    window.LayoutVideo();
    EXPECT_EQ(engine.VideoRectangle(), (EdgeRect{0, 0, 352, 240}));
    window.SetSize(2);
    EXPECT_EQ(window.size(), QSize(640, 480));
    window.move(100, 100);
    const QPoint start = window.pos();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&window, QPoint(130, 120));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(130, 120));
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
    Open("audio.wav");
    window.SetSize(2);
    EXPECT_EQ(window.size(), QSize(352, 240));
}

TEST_F(Player, TheJoysticksSecondButtonBringsTheMainWindowBackAsItWas)
{
    main.showMaximized();
    window.ShowOnTop();
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    ASSERT_TRUE(window.JoystickDevice().Adopt(fds[0]));
    main.showMinimized();
    const js_event button2{0, 1, JS_EVENT_BUTTON, 1};
    ASSERT_EQ(::write(fds[1], &button2, sizeof button2), static_cast<ssize_t>(sizeof button2));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main.isMinimized(); }, 2000));
    EXPECT_TRUE(main.isMaximized());
    ::close(fds[1]);
}

TEST_F(Player, TheContextMenuGreysAndChecksItsItemsAndOffersTheFilesStreams)
{
    Open("video.avi");
    engine.SetOption(&PlayerOptions::repeat, true);
    window.SetListQuery([] { return ListPosition{3, 0}; });  // first of three
    // Inside the client area, with its greying and checks: stopped at the
    // first object, no stop, no previous, no snapshot; no track menus.
    ShowContextMenu(window, [&](QMenu* menu) {
        EXPECT_EQ(menu->pos(), window.mapToGlobal(QPoint(5, 5)));
        const QList<QAction*> entries = menu->findChildren<QAction*>();
        EXPECT_EQ(Entries(entries, [](auto* entry) { return !entry->isEnabled(); }),
                  QStringList({"停止(&S)", "前に戻る(&B)", "ｽﾅｯﾌﾟｼｮｯﾄ(&X)..."}));
        EXPECT_EQ(Entries(entries, &QAction::isChecked), QStringList({"画面(&V)", "音声(&A)", "自動繰り返し(&R)"}));
        EXPECT_FALSE(Entries(menu->actions(), IsSubmenu).contains("音声ﾄﾗｯｸ(&K)"));
    });

    // The subtitle and audio-track menus of a file with a choice (what they
    // list is decided without a display).
    Open("tracks.mkv");
    QStringList checked;
    ShowContextMenu(window, [&](QMenu* menu) {
        EXPECT_EQ(Entries(menu->actions(), IsSubmenu), QStringList({"字幕(&T)", "音声ﾄﾗｯｸ(&K)", "画面ｻｲｽﾞ(&W)", "ｵﾌﾟｼｮﾝ(&O)"}));
        checked = Entries(menu->findChildren<QAction*>(), &QAction::isChecked);
        for (QAction* entry : menu->findChildren<QAction*>()) {
            if (entry->text() == "jpn (high)" || entry->text() == "なし(&N)")
                entry->trigger();
        }
    });
    EXPECT_TRUE(checked.contains("fr (Subtitle)") && checked.contains("eng (Audio)"));  // the muxer's own titles
    EXPECT_EQ(std::pair(engine.Tracks().audioChoice, engine.Tracks().subtitleChoice), std::pair(1, std::optional<int>()));
    engine.WaitForWorker();
}

TEST_F(Player, ASnapshotCancelledOrThatCannotBeWrittenIsNotClaimedAndAFailureIsLogged)
{
    Open("video.avi");
    engine.PausePlayback();
    bool asked = false;
    const auto choosing = test::WhenShown<QFileDialog>([&](QFileDialog* files) {
        asked = true;
        files->close();  // cancelled
    });
    window.SaveSnapshot();
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked; }, 5000));
    // A file that cannot be written is reported, not claimed, and logged.
    const auto failureBox = test::WhenShown<QMessageBox>([](QMessageBox* message) { message->close(); });
    const QString refused = QStringLiteral("/proc/frame.bmp");
    const auto log = test::LoggedWhile([&] { EXPECT_FALSE(window.WriteSnapshot(refused)); });
    EXPECT_EQ(test::WarningsNaming(log, "kivo.engine", refused), 1);
}

}  // namespace
}  // namespace kivo
