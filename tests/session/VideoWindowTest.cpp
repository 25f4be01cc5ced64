// The engine draws the video into a native window it is given. Runs on a
// real X server (Xvfb), as the player window will.

#include "ProcessFigures.h"
#include "QuietPlaybackHost.h"
#include "TestMedia.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "media/MediaEngine.h"
#include "session/PlaybackSequencer.h"

#include <QImage>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>

namespace kivo {
namespace {

using test::Media;

TEST(VideoWindow, TheVideoIsDrawnInsideTheGivenWindow)
{
    QWidget window;
    window.setAttribute(Qt::WA_NativeWindow);
    window.setStyleSheet("background: black");
    window.resize(320, 240);
    window.show();
    QCoreApplication::processEvents();

    MediaEngine engine;
    engine.SetWindowHandle(window.winId());
    ASSERT_TRUE(OpenAndWait(engine, Media("video.avi")));
    engine.StartPlayback();

    // The test pattern's colour bars, not the empty black window.
    const auto coloured = [&window] {
        const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
        int count = 0;
        for (int x = 10; x < shot.width(); x += 20) {
            const QColor colour = shot.pixelColor(x, 40);
            count += colour.saturation() > 100 && colour.value() > 100 ? 1 : 0;
        }
        return count;
    };
    EXPECT_TRUE(test::WaitUntil([&] { return coloured() >= 8; }, 5000));
}

// Stepping through a long cut list as the player window does, a fresh
// pipeline per object with its video drawn into the window, leaves no
// pipelines, sinks or threads behind.
TEST(VideoWindow, SteppingThroughManyObjectsLeavesNothingBehind)
{
    test::QuietHost host;
    QWidget window;
    window.setAttribute(Qt::WA_NativeWindow);
    window.resize(320, 240);
    window.show();
    CutListModel list;
    for (int i = 0; i < 501; ++i)
        list.AddObject(test::Record(Media("video.avi"), 300), QImage(), false);
    MediaEngine player;
    player.SetWindowHandle(window.winId());
    PlaybackSequencer sequencer(list, player, host);
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    sequencer.Play();
    // The "next object" command, up to the object given.
    const auto stepTo = [&](int object) {
        while (list.FindCurrentItem() < object) {
            sequencer.PlayNext(list.FindCurrentItem() + 1);
            QCoreApplication::processEvents();
        }
    };

    // GStreamer's shared threads and the GL display start with the first
    // pipelines and stay.
    stepTo(10);
    const int warmThreads = test::ThreadCount();
    stepTo(100);
    const double after100 = test::ResidentMegabytes();
    ASSERT_LE(test::ThreadCount(), warmThreads + 2);
    stepTo(500);
    EXPECT_LE(test::ThreadCount(), warmThreads + 2);
    EXPECT_LT(test::ResidentMegabytes() - after100, 30.0);
    std::printf("threads %d -> %d, memory after 100 objects %.1f MB, after 500 %.1f MB\n", warmThreads,
                test::ThreadCount(), after100, test::ResidentMegabytes());
}

}  // namespace
}  // namespace kivo
