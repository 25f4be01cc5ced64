#include "ModalWindows.h"
#include "TestMedia.h"
#include "ui/CommandActions.h"
#include "ui/ControlBars.h"
#include "ui/Flow.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/ShownText.h"
#include "ui/CutListView.h"
#include "session/MediaLoader.h"
#include "core/Settings.h"
#include "ui/PlayerWindow.h"

#include <QAbstractItemView>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMetaMethod>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

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

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    Flow flow{settings};
    MainWindow& window = flow.Window();
};

TEST_F(Program, AddedMediaIsCuedPlayedAndSaved)
{
    EXPECT_EQ(window.windowTitle(), "無題 - Kivo");
    EXPECT_EQ(window.size(), QSize(400, 250));
    EXPECT_FALSE(window.Document().IsModified());
    Add({Media("text.txt"), Media("video.avi"), Media("audio.wav")});
    ASSERT_EQ(window.List().GetItemCount(), 3);
    EXPECT_EQ(window.List().FindCurrentItem(), 1);
    EXPECT_EQ(window.List().GetItemText(1, CutListModel::kColumnState), "停止");
    EXPECT_TRUE(window.Document().IsModified());
    EXPECT_TRUE(window.Commands().Run(Command::PlayPause));
    ASSERT_TRUE(Settled());
    EXPECT_EQ(window.List().GetItemText(1, CutListModel::kColumnState), "再生");
    EXPECT_EQ(window.Player().Engine().State(), PlayState::Playing);
    EXPECT_TRUE(window.Commands().Run(Command::Next));  // the sound-only object
    ASSERT_TRUE(Settled());
    EXPECT_EQ(window.List().FindCurrentItem(), 2);

    const QString path = folder.filePath("list.kvo");
    ASSERT_TRUE(window.SaveDocument(path));
    EXPECT_EQ(window.windowTitle(), "list.kvo - Kivo");
    EXPECT_TRUE(window.Commands().Run(Command::NewFile));
    EXPECT_EQ(window.List().GetItemCount(), 0);
    EXPECT_FALSE(window.Document().IsModified());  // although clearing stopped the playing object
}

TEST_F(Program, ScenarioDialogsEndWithAllFiles)
{
    const QString allFiles = "すべてのﾌｧｲﾙ (*.*) (*)";
    Add({Media("video.avi")});
    const QString path = folder.filePath("list.kvo");
    const auto saving = test::WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(), QStringList({"Kivo scenario file(*.kvo) (*.kvo)", allFiles}));
        EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
        ChooseFile(dialog, path);
    });
    window.Commands().Run(Command::SaveFileAs);
    ASSERT_EQ(window.windowTitle(), "list.kvo - Kivo");
    window.Commands().Run(Command::NewFile);
    const auto opening = test::WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->nameFilters(),
                  QStringList({"Kivo scenario file(*.kvo) (*.kvo)", "ﾌﾟﾚｲﾘｽﾄ (*.m3u *.m3u8 *.pls *.xspf)",
                               allFiles}));
        EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
        ChooseFile(dialog, path);
    });
    window.Commands().Run(Command::OpenFile);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.List().GetItemCount() == 1; }, 10000));
    EXPECT_EQ(window.windowTitle(), "list.kvo - Kivo");
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
    EXPECT_EQ(window.windowTitle(), "無題 - Kivo");
}

TEST_F(Program, BarsFollowPlaybackAndPassTheUsersChangesOn)
{
    auto* position = window.findChild<QSlider*>("position");
    auto* volume = window.findChild<QSlider*>("volume");
    auto* speed = window.findChild<QSlider*>("speed");
    ASSERT_TRUE(QTest::qWaitFor([&] { return volume->value() == 50; }, 1000));  // the saved volume
    EXPECT_FALSE(position->isEnabled());

    Add({Media("video.avi")});
    EXPECT_TRUE(position->isEnabled());
    EXPECT_NEAR(position->maximum(), 300, 10);
    EXPECT_TRUE(window.Message().startsWith("1個のｵﾌﾞｼﾞｪｸﾄ")) << window.Message().toStdString();

    // Up moves a vertical slider's thumb up: louder, faster.
    QTest::keyClick(volume, Qt::Key_Up);
    EXPECT_EQ(volume->value(), 49);
    QTest::keyClick(speed, Qt::Key_Up);
    EXPECT_EQ(window.findChild<QLineEdit*>("speedReadout")->text(), "1.01");
    speed->setValue(-200);
    EXPECT_DOUBLE_EQ(window.Player().Engine().GetRate(), 2.0);
    EXPECT_TRUE(window.Commands().Run(Command::NormalSpeed));
    EXPECT_EQ(speed->value(), -100);
    EXPECT_DOUBLE_EQ(window.Player().Engine().GetRate(), 1.0);

    position->setValue(150);
    EXPECT_NEAR(window.Player().Engine().GetPosition(), 1.5, 0.05);
    EXPECT_TRUE(window.Commands().Run(Command::Sound));
    EXPECT_FALSE(volume->isEnabled());
    EXPECT_TRUE(window.Player().Engine().IsMuted());
    EXPECT_TRUE(window.Commands().Run(Command::Mute));  // the player's own switch
    EXPECT_FALSE(window.Player().Engine().IsMuted());
    EXPECT_TRUE(window.Commands().Run(Command::Repeat));
    EXPECT_TRUE(window.Commands().IsChecked(Command::Repeat));
}

TEST_F(Program, FilesDroppedOnAFloatingBarAreAdded)
{
    window.show();
    QDockWidget* bar = window.findChild<QDockWidget*>("SpeedBar");
    ASSERT_TRUE(bar->isFloating());
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(Media("video.avi")), QUrl::fromLocalFile(Media("audio.wav"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &drop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.List().GetItemCount() == 2 && window.Document().IsModified(); },
                          60000));
}

TEST_F(Program, ListMenusOfferTheObjectOrTheView)
{
    window.show();
    Add({Media("video.avi"), Media("text.txt")});

    auto* list = window.findChild<CutListView*>();
    QWidget* viewport = list->ActiveView()->viewport();
    QStringList submenuItems;  // of the last menu
    QString deletePrompt;      // while the object menu's delete was highlighted
    const auto menuAt = [&](QPoint point) {
        QStringList items;
        submenuItems.clear();
        const auto shown = test::WhenShown<QMenu>([&](QMenu* popup) {
            for (QAction* action : popup->actions()) {
                items.append(action->text());
                if (CommandOf(action) == Command::DeleteObject) {
                    QTest::mouseMove(popup, popup->actionGeometry(action).center());
                    deletePrompt = window.statusBar()->currentMessage();
                }
                for (QAction* inner : action->menu() != nullptr ? action->menu()->actions() : QList<QAction*>())
                    submenuItems.append(inner->text());
            }
            popup->close();
        });
        QTest::mouseClick(viewport, Qt::RightButton, {}, point);
        return items;
    };
    const QPoint object = list->ActiveView()->visualRect(window.List().index(1, 0)).center();
    EXPECT_EQ(menuAt(object), QStringList({"再生(&P)", "", "削除(&D)", "名前の編集(&M)", "名前の変更(&N)", "",
                                           "ﾌﾟﾛﾊﾟﾃｨ(&R)"}));
    // The main window shows the list menus' prompts as it does the menu bar's.
    EXPECT_EQ(deletePrompt.toStdString(), CommandText(CommandInfoOf(Command::DeleteObject).prompt).toStdString());
    EXPECT_TRUE(window.Commands().Run(Command::NameObjectByFileName));  // this object's file name
    EXPECT_EQ(window.List().GetItemText(1, CutListModel::kColumnName), "text.txt");
    EXPECT_TRUE(window.Commands().Run(Command::DeleteObject));  // the object last right-clicked
    EXPECT_EQ(window.List().GetItemCount(), 1);
    EXPECT_EQ(menuAt(QPoint(viewport->width() - 5, viewport->height() - 5)).first(), "大きいｱｲｺﾝ(&G)");
    // Its arrangement submenu names the sort by date its own way.
    EXPECT_TRUE(submenuItems.contains("日時順(&D)"));
    EXPECT_FALSE(submenuItems.contains(CommandText(CommandInfoOf(Command::SortByDate).menuText)));
}

// QObject::isSignalConnected, which QObject keeps to itself and its kind.
struct SignalPeek : QObject {
    using QObject::isSignalConnected;
};
constexpr auto IsSignalConnected = &SignalPeek::isSignalConnected;

TEST_F(Program, EverySignalOfTheWindowsPartsIsHeard)
{
    window.show();
    // Each part's own signals, not those of the Qt classes it derives from.
    std::vector<QObject*> parts = {&window.List(), &window.Document(), &window.Player(), &window.Player().Engine(),
                                   &window.Bars(), window.findChild<CutListView*>(), &window.Loader()};
    for (QObject* part : parts) {
        ASSERT_NE(part, nullptr);
        const QMetaObject* meta = part->metaObject();
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() == QMetaMethod::Signal) {
                EXPECT_TRUE((part->*IsSignalConnected)(method)) << meta->className() << "::" << method.name().data();
            }
        }
    }
}

TEST_F(Program, TheListShowsThePlayedAndTheMovedObjectAndAClickOnSpaceTheSummary)
{
    window.resize(400, 250);
    window.show();
    window.Commands().Run(Command::Details);
    Add({Media("video.avi")});
    QAbstractItemView* view = window.findChild<CutListView*>()->ActiveView();
    window.Commands().Run(Command::PlayPause);  // the pane reads "ﾚﾃﾞｨ"
    ASSERT_TRUE(Settled());
    ASSERT_EQ(window.Message(), "ﾚﾃﾞｨ");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 2));
    EXPECT_TRUE(window.Message().startsWith("1個のｵﾌﾞｼﾞｪｸﾄ")) << window.Message().toStdString();

    Add(QStringList(39, Media("video.avi")));
    const auto shown = [&](int position) {
        return view->viewport()->rect().contains(view->visualRect(window.List().index(position, 0)));
    };
    ASSERT_FALSE(shown(39));
    window.List().SetCurrent(window.List().GetItemData(38));
    EXPECT_TRUE(window.Commands().Run(Command::Next));  // the last object plays
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(shown(39));
    view->scrollToTop();
    emit window.findChild<CutListView*>()->moveRequested(0, 39);
    EXPECT_TRUE(shown(39));
}

TEST_F(Program, ViewModesAreOneChoiceAndEachLaysItsObjectsOutAsItShould)
{
    window.resize(1000, 400);
    window.show();
    const QString longName = folder.filePath("a-folder-with-a-rather-long-name/and-a-clip-with-a-long-name-too.avi");
    QDir().mkpath(QFileInfo(longName).path());
    ASSERT_TRUE(QFile::copy(Media("video.avi"), longName));
    Add({Media("video.avi"), longName, Media("audio.wav")});
    auto* list = window.findChild<CutListView*>();

    QMenu* viewMenu = nullptr;
    for (QAction* menu : window.menuBar()->actions()) {
        if (menu->text() == "表示(&V)")
            viewMenu = menu->menu();
    }
    ASSERT_NE(viewMenu, nullptr);
    window.Commands().Run(Command::List);
    emit viewMenu->aboutToShow();
    QStringList checked;
    const Command modes[] = {Command::LargeIcons, Command::SmallIcons, Command::List, Command::Details};
    for (QAction* action : viewMenu->actions()) {
        if (std::ranges::count(modes, CommandOf(action)) != 0) {
            ASSERT_NE(action->actionGroup(), nullptr) << action->text().toStdString();
            EXPECT_TRUE(action->actionGroup()->isExclusive());
            if (action->isChecked())
                checked.append(action->text());
        }
    }
    EXPECT_EQ(checked, QStringList({"一覧(&L)"}));

    // The list mode shows whole names.
    const QModelIndex named = window.List().index(1, 0);
    EXPECT_GE(list->ActiveView()->visualRect(named).width(),
              list->ActiveView()->fontMetrics().horizontalAdvance(longName) + 32);
    // Large icons after the list mode lie in a row again.
    window.Commands().Run(Command::LargeIcons);
    const QRect first = list->ActiveView()->visualRect(window.List().index(0, 0));
    const QRect second = list->ActiveView()->visualRect(window.List().index(2, 0));
    EXPECT_EQ(second.top(), first.top());
    EXPECT_GT(second.left(), first.right());
}

TEST_F(Program, WithAutomaticArrangementADroppedIconGoesBackIntoTheGrid)
{
    window.resize(600, 400);
    window.show();
    Add({Media("video.avi"), Media("audio.wav")});
    QAbstractItemView* view = window.findChild<CutListView*>()->ActiveView();
    const auto drag = [&] {
        const QRect from = view->visualRect(window.List().index(0, 0));
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from.center());
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(view->viewport(), from.center() + QPoint(step * 20, step * 15));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, from.center() + QPoint(200, 150));
        return std::pair{from, view->visualRect(window.List().index(0, 0))};
    };
    const auto [placed, moved] = drag();
    EXPECT_EQ(moved.topLeft(), placed.topLeft() + QPoint(200, 150));  // placed where dropped
    window.Commands().Run(Command::AutoArrange);  // back into the grid
    const auto [before, after] = drag();
    EXPECT_EQ(after.topLeft(), placed.topLeft());
}

TEST_F(Program, OpenMediaDialogKeepsItsRowAndTakesEveryTypedName)
{
    QDir media(folder.filePath("media"));
    ASSERT_TRUE(media.mkpath("."));
    ASSERT_TRUE(QFile::copy(Media("video.mpg"), media.filePath("a.mpg")));
    ASSERT_TRUE(QFile::copy(Media("audio.wav"), media.filePath("b.wav")));
    ASSERT_TRUE(QFile::copy(Media("text.txt"), media.filePath("notes.txt")));
    settings.Set(setting::kOpenFileDir, media.path());
    const QString workingFolder = QDir::currentPath();
    const QStringList rows = MediaFileFilters();
    const auto runDialog = [&](const std::function<void(QFileDialog*)>& use) {
        const auto shown = test::WhenShown<QFileDialog>(use);
        window.Commands().Run(Command::OpenMediaFiles);
    };
    runDialog([&](QFileDialog* dialog) {
        EXPECT_EQ(MediaFileFilterRow(dialog->selectedNameFilter()), 0);
        dialog->selectNameFilter(rows.last());
        dialog->reject();
    });
    EXPECT_EQ(settings.Get(setting::kOpenFileFilterIndex), 10);
    runDialog([&](QFileDialog* dialog) {
        EXPECT_EQ(MediaFileFilterRow(dialog->selectedNameFilter()), 9);  // "すべてのﾌｧｲﾙ"
        dialog->selectNameFilter(rows.first());  // MPEG: b.wav and notes.txt do not show
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(R"("a.mpg" "b.wav" "notes.txt")");
        static_cast<QDialog*>(dialog)->accept();  // as "開く" does
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.List().GetItemCount() == 3; }, 60000));
    EXPECT_EQ(window.List().GetItemPath(2), media.filePath("notes.txt"));
    EXPECT_EQ(settings.Get(setting::kOpenFileFilterIndex), 1);
    EXPECT_EQ(QDir::currentPath(), workingFolder);
}

TEST_F(Program, ClosingKeepsThePlacementTheVolumeAndTheBars)
{
    window.show();
    EXPECT_TRUE(window.findChild<QDockWidget*>("VolumeBar")->isFloating());  // the first run
    window.resize(640, 480);
    window.Commands().Run(Command::Details);
    window.Commands().Run(Command::VolumeBar);  // hidden
    window.findChild<QSlider*>("volume")->setValue(30);
    window.close();
    EXPECT_EQ(settings.Get(setting::kCx), 640);
    EXPECT_EQ(settings.Get(setting::kCy), 480);
    EXPECT_EQ(settings.Get(setting::kNorPosRight) - settings.Get(setting::kNorPosLeft), 640);
    EXPECT_EQ(settings.Get(setting::kShowCmd), 1);
    EXPECT_EQ(settings.Get(setting::kVolumePos), 30);
    EXPECT_EQ(settings.Get(setting::kType), 1);  // details

    Flow second(settings);
    MainWindow& again = second.Window();
    again.show();
    // Floating bars come up once the window manager has the main window.
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.findChild<QDockWidget*>("SpeedBar")->isVisible(); }, 1000));
    EXPECT_FALSE(again.findChild<QDockWidget*>("VolumeBar")->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.findChild<QSlider*>("volume")->value() == 30; }, 1000));
    again.close();
}

TEST_F(Program, FloatingBarsOfARunEndedBeforeItsWindowCameUpAreNotKeptInTheCorner)
{
    // A first run that ends (on SIGTERM, say) before the window manager has
    // shown its window: its floating bars were never placed.
    window.show();
    window.close();
    Flow second(settings);
    MainWindow& again = second.Window();
    again.show();
    auto* volume = again.findChild<QDockWidget*>("VolumeBar");
    auto* speed = again.findChild<QDockWidget*>("SpeedBar");
    ASSERT_TRUE(QTest::qWaitFor([&] { return volume->isVisible() && speed->isVisible(); }, 1000));
    ASSERT_TRUE(volume->isFloating());
    ASSERT_TRUE(speed->isFloating());
    // Side by side near the top right corner of the list, as a first run
    // places them.
    EXPECT_NE(volume->pos(), QPoint(0, 0));
    EXPECT_NE(speed->pos(), QPoint(0, 0));
    EXPECT_LE(speed->frameGeometry().right(), volume->frameGeometry().left());
    const QWidget* list = again.centralWidget();
    EXPECT_EQ(volume->frameGeometry().right(), list->mapToGlobal(QPoint(list->width(), 0)).x() - 1);
    again.close();
}

}  // namespace
}  // namespace kivo
