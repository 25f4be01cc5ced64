// The main window's wiring: commands reach the session through menus, bars,
// keys and the list's own menus, and what it shows follows the session.
// Which command is enabled or checked when, and what the document asks
// before it goes, are decided (and tested) without a display.

#include "ModalWindows.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "cutlist/ShownText.h"
#include "session/MediaLoader.h"
#include "ui/CommandActions.h"
#include "ui/ControlBars.h"
#include "ui/CutListView.h"
#include "ui/Flow.h"
#include "cutlist/AddingMedia.h"
#include "ui/PlayerWindow.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Media;

// Types a file's name into a file dialog and accepts it, as "開く" does.
// (QFileDialog::selectFile leaves the name field alone while it has the
// focus.)
void ChooseFile(QFileDialog* dialog, const QString& path)
{
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
    static_cast<QDialog*>(dialog)->accept();
}

class Program : public ::testing::Test {
protected:
    void Add(const QStringList& paths)
    {
        bool done = false;
        window.AddMedia(paths, [&] { done = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 60000) && Settled());
    }
    // Waits until the player has opened what it was given.
    bool Settled()
    {
        return QTest::qWaitFor([&] { return !window.Player().Engine().IsOpening(); }, 10000);
    }
    // Opens every menu of the menu bar, as the user does before choosing,
    // and chooses the command's item.
    void ChooseMenuItem(Command command)
    {
        QAction* chosen = nullptr;
        for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
            emit menu->aboutToShow();
            for (QAction* item : menu->actions())
                chosen = CommandOf(item) == command ? item : chosen;
        }
        ASSERT_NE(chosen, nullptr) << CommandInfoOf(command).menuText;
        chosen->trigger();
    }
    void ClickToolButton(Command command)
    {
        for (QAction* action : window.ToolBar()->actions()) {
            if (CommandOf(action) == command)
                static_cast<QToolButton*>(window.ToolBar()->widgetForAction(action))->click();
        }
    }
    template <typename Widget = QSlider>
    Widget* Child(const char* name)
    {
        return window.findChild<Widget*>(name);
    }
    const QModelIndex Index(int position) { return window.List().index(position, 0); }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    Flow flow{settings};
    MainWindow& window = flow.Window();
    MediaEngine& engine = window.Player().Engine();
};

TEST_F(Program, TheScenarioDialogsEndWithAllFilesAndNameTheDocument)
{
    Add({Media("text.txt"), Media("video.avi"), Media("audio.wav")});
    const QString path = folder.filePath("list.kvo");
    const QString scenarios = "Kivo scenario file(*.kvo) (*.kvo)";
    const auto choose = [&](Command command, const QStringList& filters) {
        const auto shown = test::WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            EXPECT_EQ(dialog->nameFilters(), filters + QStringList{"すべてのﾌｧｲﾙ (*.*) (*)"});
            EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
            ChooseFile(dialog, path);
        });
        window.Commands().Run(command);
    };
    EXPECT_EQ(window.windowTitle(), "無題 - Kivo");
    choose(Command::SaveFileAs, {scenarios});
    EXPECT_EQ(window.windowTitle(), "list.kvo - Kivo");
    EXPECT_TRUE(window.Commands().Run(Command::NewFile));
    choose(Command::OpenFile, {scenarios, "ﾌﾟﾚｲﾘｽﾄ (*.m3u *.m3u8 *.pls *.xspf)"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.List().GetItemCount() == 3; }, 10000));
    EXPECT_EQ(window.windowTitle(), "list.kvo - Kivo");
}

TEST_F(Program, MenusKeysAndBarsReachTheirCommands)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Add({Media("video.avi"), Media("audio.wav")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Child("volume")->value() == 50; }, 1000));  // the saved volume
    const long quieter = engine.Volume();
    struct Route {
        const char* how;
        std::function<void()> act;
        std::function<bool()> done;
    };
    const Route routes[] = {
        {"key: Ctrl+S",
         [&] {
             const auto saving = test::WhenShown<QFileDialog>(
                 [&](QFileDialog* dialog) { ChooseFile(dialog, folder.filePath("list.kvo")); });
             QTest::keySequence(&window, QKeySequence("Ctrl+S"));
         },
         [&] { return window.windowTitle() == "list.kvo - Kivo"; }},
        {"menu: details", [&] { ChooseMenuItem(Command::Details); },
         [&] { return window.ListView().ViewType() == ListViewType::Details; }},
        {"tool bar: large icons", [&] { ClickToolButton(Command::LargeIcons); },
         [&] { return window.ListView().ViewType() == ListViewType::LargeIcons; }},
        {"menu: sound off", [&] { ChooseMenuItem(Command::Sound); },
         [&] { return engine.IsMuted() && !Child("volume")->isEnabled(); }},
        {"menu: sound on", [&] { ChooseMenuItem(Command::Sound); }, [&] { return !engine.IsMuted(); }},
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
        {"player window: Down", [&] { QTest::keyClick(&window.Player(), Qt::Key_Down); },
         [&] { return window.List().FindCurrentItem() == 1; }},
        {"menu: play", [&] { ChooseMenuItem(Command::PlayPause); },
         [&] { return window.List().GetItemText(1, CutListModel::kColumnState) == "再生"; }},
    };
    for (const Route& route : routes) {
        route.act();
        EXPECT_TRUE(QTest::qWaitFor(route.done, 5000)) << route.how;
    }
}

TEST_F(Program, MessagesAndStatusTextsOfMegabytesAreCutAndNameTheirFileByItsEnd)
{
    const QString huge(4 << 20, u'x');
    window.ShowStatus(huge);
    EXPECT_LE(window.Message().size(), kMaxShownChars);
    const test::ShownBox box = test::CloseMessageBox([&] { window.ShowMessage(huge, PlaybackHost::Icon::Stop); });
    EXPECT_LE(box.text.size(), kMaxShownChars);
    // A name the system refuses: the message tells its end and why.
    const QString name = QString(100000, u'n') + ".kvo";
    const test::ShownBox refused = test::CloseMessageBox([&] { window.OpenDocument(folder.filePath(name)); });
    EXPECT_LE(refused.text.size(), kMaxShownChars);
    EXPECT_TRUE(refused.text.contains("nnn.kvo を開けませんでした。\n")) << refused.text.left(40).toStdString();
}

TEST_F(Program, FilesDroppedOnAFloatingBarAreAdded)
{
    window.show();
    QDockWidget* bar = Child<QDockWidget>("SpeedBar");
    ASSERT_TRUE(bar->isFloating());
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(Media("video.avi")), QUrl::fromLocalFile(Media("audio.wav"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &drop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.List().GetItemCount() == 2; }, 60000));
}

TEST_F(Program, ListMenusOfferTheObjectOrTheView)
{
    window.show();
    Add({Media("video.avi"), Media("text.txt")});
    QWidget* viewport = window.ListView().ActiveView()->viewport();
    QString deletePrompt;      // while the object menu's delete was highlighted
    const auto menuAt = [&](QPoint point) {
        QStringList items;
        const auto shown = test::WhenShown<QMenu>([&](QMenu* popup) {
            for (QAction* action : popup->actions()) {
                items.append(action->text());
                if (CommandOf(action) == Command::DeleteObject) {
                    QTest::mouseMove(popup, popup->actionGeometry(action).center());
                    deletePrompt = window.statusBar()->currentMessage();
                }
            }
            popup->close();
        });
        QTest::mouseClick(viewport, Qt::RightButton, {}, point);
        return items;
    };
    EXPECT_EQ(menuAt(window.ListView().ActiveView()->visualRect(Index(1)).center()),
              QStringList({"再生(&P)", "", "削除(&D)", "名前の編集(&M)", "名前の変更(&N)", "", "ﾌﾟﾛﾊﾟﾃｨ(&R)"}));
    // The main window shows the list menus' prompts as it does the menu bar's.
    EXPECT_EQ(deletePrompt.toStdString(), CommandText(CommandInfoOf(Command::DeleteObject).prompt).toStdString());
    EXPECT_TRUE(window.Commands().Run(Command::NameObjectByFileName));  // this object's file name
    EXPECT_EQ(window.List().GetItemText(1, CutListModel::kColumnName), "text.txt");
    EXPECT_TRUE(window.Commands().Run(Command::DeleteObject));  // the object last right-clicked
    EXPECT_EQ(window.List().GetItemCount(), 1);
    EXPECT_EQ(menuAt(QPoint(viewport->width() - 5, viewport->height() - 5)).first(), "大きいｱｲｺﾝ(&G)");
}

// QObject::isSignalConnected, which QObject keeps to itself and its kind.
struct SignalPeek : QObject {
    using QObject::isSignalConnected;
};

TEST_F(Program, EverySignalOfTheWindowsPartsIsHeard)
{
    window.show();
    // Each part's own signals, not those of the Qt classes it derives from.
    for (QObject* part : std::initializer_list<QObject*>{&window.List(), &window.Document(), &window.Player(), &engine,
                                                         &window.Bars(), &window.ListView(), &window.Loader()}) {
        const QMetaObject* meta = part->metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Signal) {
                EXPECT_TRUE((part->*&SignalPeek::isSignalConnected)(method)) << meta->className() << "::"
                                                                             << method.name().data();
            }
        }
    }
}

TEST_F(Program, TheListShowsThePlayedAndTheMovedObjectAndAClickOnSpaceTheSummary)
{
    window.show();
    window.Commands().Run(Command::Details);
    Add({Media("video.avi")});
    QAbstractItemView* view = window.ListView().ActiveView();
    window.Commands().Run(Command::PlayPause);  // the pane reads "ﾚﾃﾞｨ"
    ASSERT_TRUE(Settled());
    ASSERT_EQ(window.Message(), "ﾚﾃﾞｨ");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 2));
    EXPECT_TRUE(window.Message().startsWith("1個のｵﾌﾞｼﾞｪｸﾄ")) << window.Message().toStdString();

    Add(QStringList(39, Media("video.avi")));
    const auto shown = [&] { return view->viewport()->rect().contains(view->visualRect(Index(39))); };
    ASSERT_FALSE(shown());
    window.List().SetCurrent(window.List().GetItemData(38));
    EXPECT_TRUE(window.Commands().Run(Command::Next));  // the last object plays
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(shown());
    view->scrollToTop();
    emit window.ListView().moveRequested(0, 39);
    EXPECT_TRUE(shown());
}

TEST_F(Program, EachViewModeLaysItsObjectsOutAsItShould)
{
    window.resize(1000, 400);
    window.show();
    const QString longName = folder.filePath("a-folder-with-a-rather-long-name/and-a-clip-with-a-long-name-too.avi");
    QDir().mkpath(QFileInfo(longName).path());
    ASSERT_TRUE(QFile::copy(Media("video.avi"), longName));
    Add({Media("video.avi"), longName, Media("audio.wav")});
    const auto place = [&](int position) { return window.ListView().ActiveView()->visualRect(Index(position)); };
    // The list mode shows whole names.
    window.Commands().Run(Command::List);
    EXPECT_GE(place(1).width(), window.ListView().ActiveView()->fontMetrics().horizontalAdvance(longName) + 32);
    // Large icons after the list mode lie in a row again.
    window.Commands().Run(Command::LargeIcons);
    EXPECT_EQ(place(2).top(), place(0).top());
    EXPECT_GT(place(2).left(), place(0).right());

    // A dragged icon is placed where dropped, and back in the grid with
    // automatic arrangement.
    const auto drag = [&] {
        QWidget* viewport = window.ListView().ActiveView()->viewport();
        const QPoint from = place(0).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(viewport, from + QPoint(step * 20, step * 15));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(200, 150));
    };
    const QRect placed = place(0);
    drag();
    EXPECT_EQ(place(0).topLeft(), placed.topLeft() + QPoint(200, 150));
    window.Commands().Run(Command::AutoArrange);
    drag();
    EXPECT_EQ(place(0).topLeft(), placed.topLeft());
}

TEST_F(Program, OpenMediaDialogKeepsItsRowAndTakesEveryTypedName)
{
    QDir media(folder.filePath("media"));
    ASSERT_TRUE(media.mkpath("."));
    for (const char* file : {"video.mpg", "audio.wav", "text.txt"})
        ASSERT_TRUE(QFile::copy(Media(file), media.filePath(file)));
    settings.Set(setting::kOpenFileDir, media.path());
    const QString workingFolder = QDir::currentPath();
    const auto runDialog = [&](const std::function<void(QFileDialog*)>& use) {
        const auto shown = test::WhenShown<QFileDialog>(use);
        window.Commands().Run(Command::OpenMediaFiles);
    };
    runDialog([&](QFileDialog* dialog) {
        EXPECT_EQ(MediaFileFilterRow(dialog->selectedNameFilter()), 0);
        dialog->selectNameFilter(AllFilesFilter());
        dialog->reject();
    });
    runDialog([&](QFileDialog* dialog) {
        EXPECT_EQ(MediaFileFilterRow(dialog->selectedNameFilter()), 9);  // "すべてのﾌｧｲﾙ"
        dialog->selectNameFilter(MediaFileFilters().first());  // MPEG: audio.wav and text.txt do not show
        ChooseFile(dialog, R"("video.mpg" "audio.wav" "text.txt")");
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.List().GetItemCount() == 3; }, 60000));
    EXPECT_EQ(window.List().GetItemPath(2), media.filePath("text.txt"));
    EXPECT_EQ(settings.Get(setting::kOpenFileFilterIndex), 1);
    EXPECT_EQ(QDir::currentPath(), workingFolder);
}

TEST_F(Program, ClosingKeepsTheLayoutAndTheVolumeAndTheNextRunPlacesFloatingBarsNeverPlacedBefore)
{
    // A first run that ends (on SIGTERM, say) before the window manager has
    // shown its window: its floating bars were never placed.
    window.show();
    window.resize(640, 480);
    window.Commands().Run(Command::Details);
    Child("volume")->setValue(30);
    window.close();
    EXPECT_EQ(settings.Get(setting::kNorPosRight) - settings.Get(setting::kNorPosLeft), 640);
    EXPECT_EQ(settings.Get(setting::kType), 1);  // details

    Flow second(settings);
    MainWindow& again = second.Window();
    again.show();
    auto* volume = again.findChild<QDockWidget*>("VolumeBar");
    auto* speed = again.findChild<QDockWidget*>("SpeedBar");
    // Floating bars come up once the window manager has the main window,
    // side by side at the top right corner of the list, as a first run
    // places them.
    ASSERT_TRUE(QTest::qWaitFor([&] { return volume->isVisible() && speed->isVisible(); }, 1000));
    EXPECT_TRUE(volume->isFloating() && speed->isFloating());
    EXPECT_LE(speed->frameGeometry().right(), volume->frameGeometry().left());
    const QWidget* list = again.centralWidget();
    EXPECT_EQ(volume->frameGeometry().right(), list->mapToGlobal(QPoint(list->width(), 0)).x() - 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.findChild<QSlider*>("volume")->value() == 30; }, 1000));
}

}  // namespace
}  // namespace kivo
