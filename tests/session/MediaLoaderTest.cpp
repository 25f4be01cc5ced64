#include "TestFiles.h"
#include "TestMedia.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ScenarioFile.h"
#include "session/LoadingPace.h"
#include "session/MediaLoader.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

namespace kivo {
namespace {

using test::Media;

class Loading : public ::testing::Test {
protected:
    // Runs the loader over the files and waits for its end.
    void Load(const QStringList& paths, bool blankLabels = false)
    {
        QSignalSpy finished(&loader, &MediaLoader::finished);
        loader.Start(paths, blankLabels);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 60000));
    }

    CutListModel list;
    CMediaInfoCache cache;
    MediaLoader loader{list, cache};
};

// The name and the picture shown for each file, in turn, are the loading
// dialog's test.
TEST_F(Loading, AddsEachFileInOrderWithItsSlotAndTakesAnUnchangedFileFromTheCache)
{
    QSignalSpy status(&loader, &MediaLoader::statusText);
    QSignalSpy arrange(&loader, &MediaLoader::arrangeRequested);
    Load({Media("video.avi"), Media("text.txt"), Media("audio.wav")});
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(std::pair(list.GetItemText(0, CutListModel::kColumnMediaTime), list.GetItemText(1, CutListModel::kColumnState)),
              std::pair(QString("0m03s"), QString("無効")));
    // The invalid file is not cached; the list is arranged, as it held nothing else.
    EXPECT_EQ(std::tuple(cache.GetSize(), status.count() == 3 ? status.at(2).at(0).toString() : QString(), arrange.count()),
              std::tuple(2, "読み込み中...(3/3)", 1));

    // Two more: slots from the image count; the unchanged file comes from
    // the cache.
    list.DeleteItem(0);
    Load({Media("video.avi"), Media("audio.aiff")}, true);
    ASSERT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(std::tuple(list.GetItemData(2), list.GetItemData(3), cache.GetSize(), list.GetItemText(2, CutListModel::kColumnName)),
              std::tuple(3, 4, 3, " "));
    EXPECT_EQ(arrange.count(), 1);  // not arranged: the list held other objects
}

// What a run over `paths` with `workers` examining at once added: each
// object's slot, texts and picture, and the scenario file saved from it. A
// copy of a clip vanishes once the second file is shown; with `cancelAt`, the
// run is cancelled once that file is shown, and keeps it. The list takes the
// examined files a few times a second, not one by one: each insertion lays
// the shown list out and repaints it.
QStringList RunWith(int workers, const QStringList& paths, const QString& vanishing, int cancelAt = -1)
{
    EXPECT_TRUE(QFile::copy(Media("video.mov"), vanishing));
    CutListModel list;
    CMediaInfoCache cache;
    MediaLoader loader{list, cache};
    loader.SetWorkers(workers);
    int shown = 0;
    QObject::connect(&loader, &MediaLoader::fileStarted, [&] {
        if (++shown == 2)
            QFile::remove(vanishing);
        if (shown == cancelAt)
            loader.Cancel();
    });
    QSignalSpy finished(&loader, &MediaLoader::finished);
    QSignalSpy insertions(&list, &CutListModel::rowsInserted);
    QElapsedTimer run;
    run.start();
    loader.Start(paths, false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 60000));
    // The first files go in at once, the last ones as the run ends.
    EXPECT_LE(insertions.count(), 2 + run.elapsed() / 30);
    EXPECT_EQ(std::pair(finished.at(0).at(0).toBool(), loader.IsRunning()), std::pair(cancelAt > 0, false));
    QStringList added;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        added.append(QString::number(list.GetItemData(i)));
        for (int column = 0; column < CutListModel::kColumnCount; ++column)
            added.append(list.GetItemText(i, column));
        const QImage& picture = list.GetLargeImage(list.GetItemData(i));
        added.append(QCryptographicHash::hash(QByteArrayView(picture.constBits(), picture.sizeInBytes()),
                                              QCryptographicHash::Md5).toHex());
    }
    const QString scenario = vanishing + ".kvo";
    EXPECT_EQ(SaveScenarioFile(scenario, list, cache, 0), std::nullopt);
    added.append(QString::fromLatin1(test::ReadFile(scenario).toHex()));
    return added;
}

TEST(LoadingWithWorkers, AddsWhatOneWorkerAddsEvenWhenFilesChangeOrTheRunIsCancelled)
{
    const QTemporaryDir folder;
    const QString vanishing = folder.filePath("vanishing.mov");
    const QStringList paths{Media("video.avi"),   Media("text.txt"),  Media("video.mpg"), vanishing,
                            Media("truncated.mpg"), Media("video.avi"), Media("audio.mp3"), Media("empty.mpg"),
                            Media("missing.mpg"),  Media("video.mkv"), Media("audio.wav"), Media("video-only.avi")};
    const QStringList alone = RunWith(1, paths, vanishing);
    EXPECT_EQ(alone.size(), 12 * 8 + 1);
    EXPECT_EQ(RunWith(4, paths, vanishing), alone);
    const QStringList cancelled = RunWith(4, paths, vanishing, 7);
    EXPECT_EQ(cancelled.size(), 7 * 8 + 1);
    EXPECT_EQ(cancelled, RunWith(1, paths, vanishing, 7));
}

TEST(LoadingPace, ShowsTheRateAndTheTimeLeftOnceItCanTell)
{
    LoadingPace pace;
    pace.Start(500, 10000);
    pace.Update(1, 12000);
    EXPECT_EQ(pace.Text(), "");  // one file says little
    pace.Update(8, 10400);
    EXPECT_EQ(pace.Text(), "");  // nor does a moment
    pace.Update(41, 13200);      // 41 files in 3.2 s: 12.8 a second, 459 left
    EXPECT_EQ(pace.Text(), "12.8 ファイル/秒　残り 0:36");
    pace.Start(20000, 0);
    pace.Update(2, 1000);
    EXPECT_EQ(pace.Text(), "2.0 ファイル/秒　残り 2:46:39");
}

}  // namespace
}  // namespace kivo
