// The main window's wiring: commands reach the session through menus, bars,
// keys and the list's own menus, and what it shows follows the session.
// Which command is enabled or checked when, and what the document asks
// before it goes, are decided (and tested) without a display.

#include "ModalWindows.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/ShownText.h"
#include "session/MediaLoader.h"
#include "ui/CommandActions.h"
#include "ui/ControlBars.h"
#include "ui/CutListView.h"
#include "ui/Flow.h"
#include "ui/PlayerWindow.h"

#include <gst/gst.h>

namespace kivo {
namespace {

using test::Media;

class Program : public ::testing::Test {
protected:
    void Add(const QStringList& paths)
    {
        bool done = false;
        window.AddMedia(paths, [&] { done = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 60000) && Settled());
    }
    // Waits until the player has opened what it was given.
    bool Settled() { return QTest::qWaitFor([&] { return !engine.IsOpening(); }, 10000); }
    // The items of the list's menu at the point, the prompt of its delete
    // item while highlighted.
    QStringList ListMenuAt(QPoint point, QString* deletePrompt = nullptr)
    {
        QStringList items;
        const test::WhenShown<QMenu> shown([&](QMenu* popup) {
            for (QAction* action : popup->actions()) {
                items.append(action->text());
                if (deletePrompt != nullptr && CommandOf(action) == Command::DeleteObject) {
                    QTest::mouseMove(popup, popup->actionGeometry(action).center());
                    *deletePrompt = window.statusBar()->currentMessage();
                }
            }
            popup->close();
        });
        QTest::mouseClick(window.ListView().ActiveView()->viewport(), Qt::RightButton, {}, point);
        return items;
    }
    template <typename Widget = QSlider>
    Widget* Child(const char* name)
    {
        return window.findChild<Widget*>(name);
    }
    QRect Place(int position) { return window.ListView().ActiveView()->visualRect(window.List().index(position, 0)); }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    Flow flow{settings};
    MainWindow& window = flow.Window();
    MediaEngine& engine = window.Player().Engine();
};

TEST_F(Program, MenusKeysBarsAndDropsReachTheirCommands)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Add({Media("video.avi"), Media("audio.wav")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Child("volume")->value() == 50; }, 1000));  // the saved volume
    const long quieter = engine.Volume();
    // Opens every menu of the menu bar, as the user does before choosing,
    // and chooses the command's item.
    const auto chooseMenuItem = [&](Command command) {
        QAction* chosen = nullptr;
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            emit menu->aboutToShow();
            for (QAction* item : menu->actions())
                chosen = CommandOf(item) == command ? item : chosen;
        }
        ASSERT_NE(chosen, nullptr) << CommandInfoOf(command).menuText;
        chosen->trigger();
    };
    QMimeData files;  // dropped on a floating bar
    files.setUrls({QUrl::fromLocalFile(Media("text.txt"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    const std::tuple<const char*, std::function<void()>, std::function<bool()>> routes[] = {
        {"menu: details", [&] { chooseMenuItem(Command::Details); },
         [&] { return window.ListView().ViewType() == ListViewType::Details; }},
        {"tool bar: large icons",
         [&] {
             for (QAction* action : window.ToolBar()->actions()) {
                 if (CommandOf(action) == Command::LargeIcons)
                     static_cast<QToolButton*>(window.ToolBar()->widgetForAction(action))->click();
             }
         },
         [&] { return window.ListView().ViewType() == ListViewType::LargeIcons; }},
        {"menu: sound off", [&] { chooseMenuItem(Command::Sound); },
         [&] { return engine.IsMuted() && !Child("volume")->isEnabled(); }},
        {"menu: sound on", [&] { chooseMenuItem(Command::Sound); }, [&] { return !engine.IsMuted(); }},
        // Up moves a vertical slider's thumb up: louder, faster.
        {"volume bar: up", [&] { QTest::keyClick(Child("volume"), Qt::Key_Up); },
         [&] { return engine.Volume() > quieter; }},
        {"speed bar: up", [&] { QTest::keyClick(Child("speed"), Qt::Key_Up); },
         [&] { return Child<QLineEdit>("speedReadout")->text() == "1.01"; }},
        {"speed bar: moved", [&] { Child("speed")->setValue(-200); }, [&] { return engine.GetRate() == 2.0; }},
        {"speed icon: normal speed", [&] { Child<QToolButton>("speedIcon")->click(); },
         [&] { return engine.GetRate() == 1.0 && Child("speed")->value() == -100; }},
        {"position bar: moved", [&] { Child("position")->setValue(150); },
         [&] { return std::abs(engine.GetPosition() - 1.5) < 0.05; }},
        {"speed bar: drop",
         [&] {
             QWidget* bar = Child<QDockWidget>("SpeedBar");
             ASSERT_TRUE(QCoreApplication::sendEvent(bar, &enter) && enter.isAccepted());
             QCoreApplication::sendEvent(bar, &drop);
         },
         [&] { return window.List().GetItemCount() == 3; }},
    };
    for (const auto& [how, act, done] : routes) {
        act();
        EXPECT_TRUE(QTest::qWaitFor(done, 60000)) << how;
    }
}

TEST_F(Program, MessagesAndStatusTextsOfMegabytesAreCutAndNameTheirFileByItsEndAndTheOpenMediaDialogKeepsItsRow)
{
    const QString huge(4 << 20, u'x');
    window.ShowStatus(huge);
    EXPECT_LE(window.Message().size(), kMaxShownChars);
    EXPECT_LE(test::CloseMessageBox([&] { window.ShowMessage(huge, PlaybackHost::Icon::Stop); }).text.size(), kMaxShownChars);
    // A name the system refuses: the message tells its end and why.
    const QString name = QString(100000, u'n') + ".kvo";
    const QString refused = test::CloseMessageBox([&] { window.OpenDocument(folder.filePath(name)); }).text;
    EXPECT_LE(refused.size(), kMaxShownChars);
    EXPECT_TRUE(refused.contains("nnn.kvo を開けませんでした。\n")) << refused.left(40).toStdString();

    // The open media dialog keeps its row. (The names typed into its name
    // field are the play-and-keep-a-cut-list script's.)
    for (const int row : {0, 9}) {  // 9: "すべてのﾌｧｲﾙ"
        const test::WhenShown<QFileDialog> shown([&](QFileDialog* dialog) {
            EXPECT_EQ(MediaFileFilterRow(dialog->selectedNameFilter()), row);
            dialog->selectNameFilter(AllFilesFilter());
            dialog->reject();
        });
        window.Commands().Run(Command::OpenMediaFiles);
    }
}

TEST_F(Program, ListMenusOfferTheObjectOrTheView)
{
    window.show();
    Add({Media("video.avi"), Media("text.txt")});
    QString deletePrompt;
    EXPECT_EQ(ListMenuAt(Place(1).center(), &deletePrompt),
              QStringList({"再生(&P)", "", "削除(&D)", "名前の編集(&M)", "名前の変更(&N)", "", "ﾌﾟﾛﾊﾟﾃｨ(&R)"}));
    // The main window shows the list menus' prompts as it does the menu bar's.
    EXPECT_EQ(deletePrompt, CommandText(CommandInfoOf(Command::DeleteObject).prompt));
    // The commands act on the object last right-clicked: its file name, then away.
    EXPECT_TRUE(window.Commands().Run(Command::NameObjectByFileName) && window.List().GetItemText(1, CutListModel::kColumnName) == "text.txt");
    EXPECT_TRUE(window.Commands().Run(Command::DeleteObject) && window.List().GetItemCount() == 1);
    const QWidget* viewport = window.ListView().ActiveView()->viewport();
    EXPECT_EQ(ListMenuAt(QPoint(viewport->width() - 5, viewport->height() - 5)).first(), "大きいｱｲｺﾝ(&G)");
}

// QObject::isSignalConnected, which QObject keeps to itself and its kind.
struct SignalPeek : QObject {
    using QObject::isSignalConnected;
};

TEST_F(Program, EverySignalOfTheWindowsPartsIsHeard)
{
    // GStreamer's registry is read once the window is drawn, not before.
    EXPECT_FALSE(gst_is_initialized());
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([] { return gst_is_initialized(); }, 5000));
    // Each part's own signals, not those of the Qt classes it derives from.
    for (QObject* part : std::initializer_list<QObject*>{&window, &window.List(), &window.Document(), &window.Player(), &engine,
                                                         &window.Bars(), &window.ListView(), &window.Loader()}) {
        const QMetaObject* meta = part->metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            EXPECT_TRUE(method.methodType() != QMetaMethod::Signal || (part->*&SignalPeek::isSignalConnected)(method))
                << meta->className() << "::" << method.name().data();
        }
    }
}

TEST_F(Program, TheListShowsThePlayedAndTheMovedObjectAndAClickOnSpaceTheSummary)
{
    window.show();
    window.Commands().Run(Command::Details);
    Add({Media("video.avi")});
    QWidget* viewport = window.ListView().ActiveView()->viewport();
    window.Commands().Run(Command::PlayPause);  // the pane reads "ﾚﾃﾞｨ"
    ASSERT_TRUE(Settled());
    ASSERT_EQ(window.Message(), "ﾚﾃﾞｨ");
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 2));
    EXPECT_TRUE(window.Message().startsWith("1個のｵﾌﾞｼﾞｪｸﾄ")) << window.Message().toStdString();

    Add(QStringList(39, Media("video.avi")));
    const auto shown = [&] { return viewport->rect().contains(Place(39)); };
    ASSERT_FALSE(shown());
    window.List().SetCurrent(window.List().GetItemData(38));
    EXPECT_TRUE(window.Commands().Run(Command::Next));  // the last object plays
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(shown());
    window.ListView().ActiveView()->scrollToTop();
    emit window.ListView().moveRequested(0, 39);
    EXPECT_TRUE(shown());
}

TEST_F(Program, ClosingKeepsTheLayoutAndTheVolumeAndTheNextRunPlacesFloatingBarsNeverPlacedBefore)
{
    // A first run that ends (on SIGTERM, say) before the window manager has
    // shown its window: its floating bars were never placed.
    window.show();
    window.resize(640, 480);
    window.Commands().Run(Command::Details);
    Child("volume")->setValue(30);
    // A file still being written is finished before the window closes.
    window.SaveDocument(folder.filePath("list.kvo"));
    window.close();
    EXPECT_EQ(std::pair(settings.Get(setting::kNorPosRight) - settings.Get(setting::kNorPosLeft), settings.Get(setting::kType)),
              std::pair(640, 1));  // 1: details
    EXPECT_EQ(std::pair(QFile::exists(folder.filePath("list.kvo")), window.windowTitle()), std::pair(true, QString("list.kvo - Kivo")));

    Flow second(settings);
    MainWindow& again = second.Window();
    again.show();
    auto* volume = again.findChild<QDockWidget*>("VolumeBar");
    auto* speed = again.findChild<QDockWidget*>("SpeedBar");
    // Floating bars come up once the window manager has the main window,
    // side by side at the top right corner of the list, as a first run
    // places them.
    ASSERT_TRUE(QTest::qWaitFor([&] { return volume->isVisible() && speed->isVisible(); }, 1000));
    EXPECT_TRUE(volume->isFloating() && speed->isFloating() && speed->frameGeometry().right() <= volume->frameGeometry().left());
    const QWidget* list = again.centralWidget();
    EXPECT_EQ(volume->frameGeometry().right(), list->mapToGlobal(QPoint(list->width(), 0)).x() - 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.findChild<QSlider*>("volume")->value() == 30; }, 1000));
}

TEST(SpeedBar, EachSpeedHasAPictureOfItsOwnThatNoNavigationButtonShows)
{
    QMainWindow window;
    ControlBars bars(window);
    const auto pictureOf = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32); };
    std::vector<QImage> pictures = {pictureOf(PictureIcon(Picture::SkipBackward)), pictureOf(PictureIcon(Picture::SkipForward))};
    using SpeedIcon = FrameBars::SpeedIcon;
    for (const SpeedIcon speed : {SpeedIcon::Normal, SpeedIcon::Faster, SpeedIcon::Slower, SpeedIcon::Refused}) {
        bars.ShowSpeedIcon(speed);
        const QImage shown = pictureOf(window.findChild<QToolButton*>("speedIcon")->icon());
        EXPECT_TRUE(!shown.isNull() && std::ranges::count(pictures, shown) == 0) << static_cast<int>(speed);
        pictures.push_back(shown);
    }
}

// Each report of the position moves the bar while a file plays, and each
// drawing of the window waits for the X server.
TEST(PositionBar, AMoveThatLeavesTheHandleWhereItWasDrawsNothingAndOneThatMovesItDraws)
{
    QMainWindow window;
    ControlBars bars(window);
    bars.SetPositionRange(360000);  // an hour in hundredths: a pixel is many reports
    bars.EnablePositionSlider(true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSlider* position = window.findChild<QSlider*>("position");
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    position->installEventFilter(&counter);
    const auto paintsAfterMove = [&](int hundredths) {
        counter.paints = 0;
        bars.MovePositionSlider(hundredths);
        QCoreApplication::sendPostedEvents();
        return counter.paints;
    };
    paintsAfterMove(1000);
    EXPECT_EQ(paintsAfterMove(1005), 0);
    EXPECT_EQ(position->value(), 1005);
    EXPECT_EQ(paintsAfterMove(180000), 1);
}

}  // namespace
}  // namespace kivo
