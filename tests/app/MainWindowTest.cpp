#include "TestMedia.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "player/PlayerWindow.h"

#include <QMenuBar>
#include <QTemporaryDir>

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
    EXPECT_EQ(menus, QStringList({"ﾌｧｲﾙ(&F)", "表示(&V)", "ﾌﾟﾚｲﾔ(&P)", "ﾍﾙﾌﾟ(&H)"}));
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
    bool opened = false;
    window.OpenDocument(path, [&](bool result) { opened = result; });
    ASSERT_TRUE(WaitUntil([&] { return opened; }, 60000));
    EXPECT_EQ(window.List().GetItemCount(), 3);
    EXPECT_EQ(window.List().FindCurrentItem(), 2);
    EXPECT_FALSE(window.Document().IsModified());
    EXPECT_EQ(settings.GetRecentFiles(), QStringList({path}));
}

TEST_F(Program, ClosingKeepsThePlacementAndTheListLayout)
{
    window.resize(640, 480);
    window.Commands().Run(32773);  // details
    window.close();
    EXPECT_EQ(settings.Get(setting::kCx), 640);
    EXPECT_EQ(settings.Get(setting::kCy), 480);
    EXPECT_EQ(settings.Get(setting::kType), kViewDetails);
}

}  // namespace
}  // namespace kivo
