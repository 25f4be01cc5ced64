#include "TestMedia.h"
#include "app/MainWindow.h"
#include "cutlist/CutListView.h"
#include "app/Settings.h"
#include "player/PlayerWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Media;
using test::WaitUntil;

class Program : public ::testing::Test {
protected:
    void Add(const QStringList& paths)
    {
        bool done = false;
        window.AddMedia(paths, [&] { done = true; });
        ASSERT_TRUE(WaitUntil([&] { return done; }, 60000));
    }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    MainWindow window{settings};
};

TEST_F(Program, MenusAndTitleOfANewDocument)
{
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
        menus.append(menu->text());
    EXPECT_EQ(menus, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾌﾟﾚｲﾔ(&P)", "ﾂｰﾙ(&T)", "ﾍﾙﾌﾟ(&H)"}));
    EXPECT_EQ(window.windowTitle(), "無題 - Kivo");
    EXPECT_EQ(window.size(), QSize(400, 250));
    EXPECT_FALSE(window.Document().IsModified());
    EXPECT_FALSE(window.Commands().IsEnabled(32779));  // nothing to play
}

TEST_F(Program, AddedMediaIsCuedPlayedSavedAndOpenedAgain)
{
    Add({Media("text.txt"), Media("video.avi"), Media("audio.wav")});
    ASSERT_EQ(window.List().GetItemCount(), 3);
    EXPECT_EQ(window.List().FindCurrentItem(), 1);
    EXPECT_EQ(window.List().GetItemText(1, CutListModel::kColumnState), "停止");
    EXPECT_TRUE(window.Document().IsModified());
    EXPECT_TRUE(window.Commands().Run(32779));
    EXPECT_EQ(window.List().GetItemText(1, CutListModel::kColumnState), "再生");
    EXPECT_EQ(window.Player().Engine().m_nPlayState, kPlayStatePlaying);
    EXPECT_TRUE(window.Commands().Run(32832));  // next: the sound-only object
    EXPECT_EQ(window.List().FindCurrentItem(), 2);
    EXPECT_FALSE(window.Commands().IsEnabled(32832));

    const QString path = folder.filePath("list.kvo");
    ASSERT_TRUE(window.SaveDocument(path));
    EXPECT_EQ(window.windowTitle(), "list.kvo - Kivo");
    EXPECT_TRUE(window.Commands().Run(57600));
    EXPECT_EQ(window.List().GetItemCount(), 0);
    EXPECT_FALSE(window.Document().IsModified());  // although clearing stopped the playing object
    bool opened = false;
    window.OpenDocument(path, [&](bool result) { opened = result; });
    ASSERT_TRUE(WaitUntil([&] { return opened; }, 60000));
    EXPECT_EQ(window.List().GetItemCount(), 3);
    EXPECT_EQ(window.List().FindCurrentItem(), 2);
    EXPECT_FALSE(window.Document().IsModified());
    EXPECT_EQ(settings.GetRecentFiles(), QStringList({path}));
}

TEST_F(Program, BarsFollowPlaybackAndPassTheUsersChangesOn)
{
    auto* position = window.findChild<QSlider*>("position");
    auto* volume = window.findChild<QSlider*>("volume");
    auto* speed = window.findChild<QSlider*>("speed");
    ASSERT_TRUE(WaitUntil([&] { return volume->value() == 50; }, 1000));  // the saved volume
    EXPECT_FALSE(position->isEnabled());

    Add({Media("video.avi")});
    EXPECT_TRUE(position->isEnabled());
    EXPECT_NEAR(position->maximum(), 300, 10);
    EXPECT_EQ(window.Frame().PlayerState(), kPlayStateStopped);
    EXPECT_TRUE(window.Message().startsWith("1個のｵﾌﾞｼﾞｪｸﾄ")) << window.Message().toStdString();

    speed->setValue(-200);
    EXPECT_EQ(window.findChild<QLineEdit*>("speedReadout")->text(), "2.00");
    EXPECT_DOUBLE_EQ(window.Player().Engine().GetRate(), 2.0);
    EXPECT_TRUE(window.Commands().Run(1065));
    EXPECT_EQ(speed->value(), -100);
    EXPECT_DOUBLE_EQ(window.Player().Engine().GetRate(), 1.0);

    position->setValue(150);  // a seek while stopped pauses
    EXPECT_EQ(window.Frame().PlayerState(), kPlayStatePaused);
    EXPECT_NEAR(window.Player().Engine().GetPosition(), 1.5, 0.05);

    EXPECT_TRUE(window.Commands().IsChecked(32795));
    EXPECT_TRUE(window.Commands().Run(32795));
    EXPECT_FALSE(volume->isEnabled());
    EXPECT_TRUE(window.Player().Engine().m_bMuted);
    EXPECT_FALSE(window.Commands().IsChecked(32795));
    EXPECT_TRUE(window.Commands().Run(32801));  // the player's own switch
    EXPECT_FALSE(window.Player().Engine().m_bMuted);
    EXPECT_TRUE(window.Commands().Run(32798));
    EXPECT_TRUE(window.Commands().IsChecked(32798));
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
    EXPECT_TRUE(WaitUntil([&] { return window.List().GetItemCount() == 2 && window.Document().IsModified(); },
                          60000));
}

TEST_F(Program, ListMenusOfferTheObjectOrTheViewAndEditingCommandsFollowTheList)
{
    window.show();
    EXPECT_FALSE(window.Commands().IsEnabled(32775));  // nothing to sort
    Add({Media("video.avi"), Media("text.txt")});
    EXPECT_TRUE(window.Commands().IsEnabled(32793));  // an invalid object
    window.Commands().Run(32773);
    EXPECT_FALSE(window.Commands().IsEnabled(32777));  // arrange: icons only
    window.Commands().Run(32771);
    EXPECT_TRUE(window.Commands().IsEnabled(32777));

    auto* list = window.findChild<CutListView*>();
    QWidget* viewport = list->ActiveView()->viewport();
    const auto menuAt = [&](QPoint point) {
        QStringList items;
        QTimer::singleShot(50, [&] {
            QWidget* popup = QApplication::activePopupWidget();
            ASSERT_NE(popup, nullptr);
            for (QAction* action : popup->actions())
                items.append(action->text());
            popup->close();
        });
        QTest::mouseClick(viewport, Qt::RightButton, {}, point);
        return items;
    };
    const QPoint object = list->ActiveView()->visualRect(window.List().index(1, 0)).center();
    EXPECT_EQ(menuAt(object), QStringList({"再生(&P)", "", "削除(&D)", "名前の編集(&M)", "名前の変更(&N)", "",
                                           "ﾌﾟﾛﾊﾟﾃｨ(&R)"}));
    EXPECT_TRUE(window.Commands().Run(32838));  // this object's file name
    EXPECT_EQ(window.List().GetItemText(1, CutListModel::kColumnName), "text.txt");
    EXPECT_TRUE(window.Commands().Run(32817));  // the object last right-clicked
    EXPECT_EQ(window.List().GetItemCount(), 1);
    EXPECT_EQ(menuAt(QPoint(viewport->width() - 5, viewport->height() - 5)).first(), "大きいｱｲｺﾝ(&G)");
}

TEST_F(Program, ClosingKeepsThePlacementTheVolumeAndTheBars)
{
    window.show();
    EXPECT_TRUE(window.findChild<QDockWidget*>("VolumeBar")->isFloating());  // the first run
    window.resize(640, 480);
    window.Commands().Run(32773);  // details
    window.Commands().Run(32824);  // hide the volume bar
    window.findChild<QSlider*>("volume")->setValue(30);
    window.close();
    EXPECT_EQ(settings.Get(setting::kCx), 640);
    EXPECT_EQ(settings.Get(setting::kCy), 480);
    EXPECT_EQ(settings.Get(setting::kNorPosRight) - settings.Get(setting::kNorPosLeft), 640);
    EXPECT_EQ(settings.Get(setting::kShowCmd), 1);
    EXPECT_EQ(settings.Get(setting::kVolumePos), 30);
    EXPECT_EQ(settings.Get(setting::kType), kViewDetails);

    MainWindow again(settings);
    again.show();
    EXPECT_FALSE(again.findChild<QDockWidget*>("VolumeBar")->isVisible());
    EXPECT_TRUE(again.findChild<QDockWidget*>("SpeedBar")->isVisible());
    EXPECT_TRUE(WaitUntil([&] { return again.findChild<QSlider*>("volume")->value() == 30; }, 1000));
    again.close();
}

}  // namespace
}  // namespace kivo
