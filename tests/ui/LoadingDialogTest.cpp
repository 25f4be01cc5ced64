#include "TestMedia.h"
#include "cutlist/CutListModel.h"
#include "ui/LoadingDialog.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ShownText.h"
#include "session/MediaLoader.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <map>

namespace kivo {
namespace {

using test::Media;

class LoadingWindow : public ::testing::Test {
protected:
    // Runs the loader and waits for its end; false after a cancel.
    bool Run(const QStringList& paths)
    {
        bool done = false;
        bool cancelled = false;
        bool shownFirst = false;
        const auto finished = QObject::connect(&loader, &MediaLoader::finished, [&](bool wasCancelled) {
            done = true;
            cancelled = wasCancelled;
        });
        // The run begins once the dialog is on the screen.
        const auto started = QObject::connect(&loader, &MediaLoader::fileStarted, [&] {
            shownFirst = shownFirst || (dialog.isVisible() && dialog.windowHandle()->isExposed());
        });
        loader.Start(paths, false);
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 60000));
        EXPECT_TRUE(shownFirst);
        QObject::disconnect(finished);
        QObject::disconnect(started);
        return !cancelled;
    }

    CutListModel list;
    CMediaInfoCache cache;
    MediaLoader loader{list, cache};
    LoadingDialog dialog{loader};
};

TEST_F(LoadingWindow, ShowsTheRunAndEndsWithIt)
{
    EXPECT_EQ(dialog.windowTitle(), "読み込み中");
    EXPECT_TRUE(Run({Media("video.avi"), Media("audio.wav")}));
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_FALSE(dialog.isVisible());
    const auto* progress = dialog.findChild<QProgressBar*>();
    EXPECT_EQ(progress->value(), progress->maximum());
    EXPECT_EQ(dialog.findChildren<QLabel*>().at(1)->text(), "audio.wav");
}

TEST_F(LoadingWindow, ALongFileNameIsCutToTheRoomItHasAndKeepsItsEnd)
{
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const int width = dialog.width();
    const auto* name = dialog.findChildren<QLabel*>().at(1);
    for (const QString& fileName : {QString(4 << 20, u'n') + ".mp4", QString(250, u'n') + ".mp4"}) {
        emit loader.fileStarted(fileName);
        QCoreApplication::processEvents();
        EXPECT_LE(name->text().size(), kMaxShownChars);
        EXPECT_TRUE(name->text().endsWith(".mp4"));
        EXPECT_LE(name->fontMetrics().horizontalAdvance(name->text()), name->width());
        EXPECT_EQ(dialog.width(), width);
    }
}

TEST_F(LoadingWindow, CancelAndEnterDoNotCloseItBeforeTheFileBeingExaminedIsAdded)
{
    int started = 0;
    QObject::connect(&loader, &MediaLoader::fileStarted, [&] {
        if (++started != 2)
            return;
        QTest::keyClick(&dialog, Qt::Key_Return);  // does nothing
        dialog.findChild<QPushButton*>()->click();
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_FALSE(Run({Media("video.avi"), Media("video.mov"), Media("audio.wav")}));
    EXPECT_EQ(list.GetItemCount(), 2);
}

TEST_F(LoadingWindow, ThePictureBesideTheNameIsThatFilesOrNone)
{
    // What the dialog shows whenever the run moves on: the name, and the
    // picture in the list's form (null for none).
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    QLabel* preview = labels.at(0);
    QLabel* name = labels.at(1);
    std::vector<std::pair<QString, QImage>> shown;
    const auto look = [&] {
        shown.emplace_back(name->text(), preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32));
    };
    QObject::connect(&loader, &MediaLoader::fileStarted, look);
    QObject::connect(&loader, &MediaLoader::progress, look);
    QObject::connect(&loader, &MediaLoader::finished, look);
    QObject::connect(&list, &CutListModel::rowsInserted, look);

    EXPECT_TRUE(Run({Media("video.avi"), Media("audio.wav"), Media("text.txt")}));
    // Known to the cache now, the second file goes in without being named.
    EXPECT_TRUE(Run({Media("audio.wav"), Media("video.avi")}));
    EXPECT_EQ(shown.back().first, "audio.wav");
    EXPECT_FALSE(shown.back().second.isNull());

    std::map<QString, QImage> pictures;
    for (int i = 0; i < list.GetItemCount(); ++i)
        pictures[QFileInfo(list.GetItemPath(i)).fileName()] = list.GetLargeImage(list.GetItemData(i));
    ASSERT_NE(pictures["video.avi"], pictures["audio.wav"]);
    for (const auto& [named, picture] : shown) {
        SCOPED_TRACE(named.toStdString());
        if (!picture.isNull()) {
            EXPECT_EQ(picture, pictures.at(named));
        }
    }
}

}  // namespace
}  // namespace kivo
