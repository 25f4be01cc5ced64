#include "TestMedia.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "session/MediaLoader.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Media;
using test::WaitUntil;

class Loading : public ::testing::Test {
protected:
    // Runs the loader over the files and waits for its end.
    void Load(const QStringList& paths, bool blankLabels = false)
    {
        bool done = false;
        const auto connection = QObject::connect(&loader, &MediaLoader::finished, [&](bool) { done = true; });
        loader.Start(paths, blankLabels);
        ASSERT_TRUE(WaitUntil([&] { return done; }, 60000));
        QObject::disconnect(connection);
    }

    CutListModel list;
    CMediaInfoCache cache;
    MediaLoader loader{list, cache};
};

TEST_F(Loading, AddsEachFileInOrderWithItsSlotAndWhatItsExaminationFound)
{
    QSignalSpy status(&loader, &MediaLoader::statusText);
    QSignalSpy arrange(&loader, &MediaLoader::arrangeRequested);
    Load({Media("video.avi"), Media("audio.wav"), Media("text.txt")});
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemPath(0), Media("video.avi"));
    EXPECT_EQ(list.GetItemText(0, CutListModel::kColumnMediaTime), "0m03s");
    EXPECT_EQ(list.GetItemText(2, CutListModel::kColumnState), "無効");
    EXPECT_EQ(cache.GetSize(), 2);  // the invalid file is not cached
    ASSERT_EQ(status.count(), 3);
    EXPECT_EQ(status.at(0).at(0).toString(), "読み込み中...(1/3)");
    EXPECT_EQ(status.at(2).at(0).toString(), "読み込み中...(3/3)");
    EXPECT_EQ(arrange.count(), 1);  // the list held nothing else

    // Two more: positions 3 and 4, slots from the image count; the
    // unchanged file comes from the cache.
    list.DeleteItem(0);
    Load({Media("video.avi"), Media("audio.aiff")}, true);
    ASSERT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.GetItemData(2), 3);
    EXPECT_EQ(list.GetItemData(3), 4);
    EXPECT_EQ(list.GetItemText(2, CutListModel::kColumnName), " ");
    EXPECT_EQ(cache.GetSize(), 3);
    EXPECT_EQ(arrange.count(), 1);  // not arranged: the list held other objects
}

TEST_F(Loading, CancelKeepsTheFileBeingExamined)
{
    int started = 0;
    QObject::connect(&loader, &MediaLoader::fileStarted, [&] {
        if (++started == 3)
            loader.Cancel();
    });
    QSignalSpy finished(&loader, &MediaLoader::finished);
    Load({Media("video.avi"), Media("video.mov"), Media("video.mpg"), Media("audio.wav"), Media("audio.au")});
    EXPECT_EQ(list.GetItemCount(), 3);
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_FALSE(loader.IsRunning());
}

}  // namespace
}  // namespace kivo
