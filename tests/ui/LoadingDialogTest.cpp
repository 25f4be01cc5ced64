// The loading dialog shows the loader's run; what the run adds, pictures and
// cancels is the loader's own test.

#include "TestMedia.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "session/MediaLoader.h"
#include "ui/LoadingDialog.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <map>

namespace kivo {
namespace {

using test::Media;

class LoadingWindow : public ::testing::Test {
protected:
    // Runs the loader and waits for its end, which closes the dialog; false
    // after a cancel. The run begins once the dialog is on the screen.
    bool Run(const QStringList& paths)
    {
        QSignalSpy finished(&loader, &MediaLoader::finished);
        bool shownFirst = false;
        const auto started = QObject::connect(&loader, &MediaLoader::fileStarted, [&] {
            shownFirst = shownFirst || (dialog.isVisible() && dialog.windowHandle()->isExposed());
        });
        loader.Start(paths, false);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 60000) && shownFirst && !dialog.isVisible());
        QObject::disconnect(started);
        return !finished.value(0).value(0).toBool();
    }

    CutListModel list;
    CMediaInfoCache cache;
    MediaLoader loader{list, cache};
    LoadingDialog dialog{loader};
    QLabel* preview = dialog.findChildren<QLabel*>().at(0);
    QLabel* name = dialog.findChildren<QLabel*>().at(1);
};

TEST_F(LoadingWindow, ShowsEachFileWithItsPictureOrNoneAndTheProgressEndsOnlyOnceTheExaminedFileIsInAndCutsALongName)
{
    // What the dialog shows whenever the run moves on: the name, and the
    // picture in the list's form (null for none).
    std::vector<std::pair<QString, QImage>> shown;
    const auto look = [&] {
        shown.emplace_back(name->text(), preview->pixmap().toImage().convertToFormat(QImage::Format_RGB32));
    };
    QObject::connect(&loader, &MediaLoader::fileStarted, look);
    QObject::connect(&loader, &MediaLoader::progress, look);
    QObject::connect(&loader, &MediaLoader::finished, look);
    QObject::connect(&list, &CutListModel::rowsInserted, look);
    EXPECT_TRUE(Run({Media("video.avi"), Media("audio.wav"), Media("text.txt")}));
    const auto* progress = dialog.findChild<QProgressBar*>();
    EXPECT_EQ(progress->value(), progress->maximum());
    // Known to the cache now, the second file goes in without being named.
    EXPECT_TRUE(Run({Media("audio.wav"), Media("video.avi")}));
    EXPECT_TRUE(shown.back().first == "audio.wav" && !shown.back().second.isNull());
    // Neither Enter nor Cancel closes it before the file being examined is in.
    int started = 0;
    QObject::connect(&loader, &MediaLoader::fileStarted, [&] {
        if (++started != 2)
            return;
        QTest::keyClick(&dialog, Qt::Key_Return);  // does nothing
        dialog.findChild<QPushButton*>()->click();
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_FALSE(Run({Media("video.avi"), Media("video.mov"), Media("audio.wav")}));
    EXPECT_EQ(list.GetItemCount(), 5 + 2);

    std::map<QString, QImage> pictures;
    for (int i = 0; i < list.GetItemCount(); ++i)
        pictures[QFileInfo(list.GetItemPath(i)).fileName()] = list.GetLargeImage(list.GetItemData(i));
    ASSERT_NE(pictures["video.avi"], pictures["audio.wav"]);
    for (const auto& [named, picture] : shown)
        EXPECT_TRUE(picture.isNull() || picture == pictures.at(named)) << named.toStdString();

    // A long file name is cut to the room it has and keeps its end.
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const int width = dialog.width();
    emit loader.fileStarted(QString(4 << 20, u'n') + ".mp4");
    QCoreApplication::processEvents();
    EXPECT_TRUE(name->text().endsWith(".mp4") && name->fontMetrics().horizontalAdvance(name->text()) <= name->width());
    EXPECT_EQ(dialog.width(), width);
}

}  // namespace
}  // namespace kivo
