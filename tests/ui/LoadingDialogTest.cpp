#include "TestMedia.h"
#include "cutlist/CutListModel.h"
#include "ui/LoadingDialog.h"
#include "cutlist/MediaInfoCache.h"
#include "session/MediaLoader.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

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
        EXPECT_TRUE(test::WaitUntil([&] { return done; }, 60000));
        EXPECT_TRUE(shownFirst);
        QObject::disconnect(finished);
        QObject::disconnect(started);
        return !cancelled;
    }

    CutListModel list;
    CMediaInfoCache cache;
    MediaLoader loader{list, cache};
    LoadingDialog dialog{loader, list};
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

}  // namespace
}  // namespace kivo
