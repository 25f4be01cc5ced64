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
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace kivo {
namespace {

using test::Media;

// A shown native window of 320 x 240.
struct NativeWindow : QWidget {
    NativeWindow()
    {
        setAttribute(Qt::WA_NativeWindow);
        setStyleSheet("background: black");
        resize(320, 240);
        show();
        QCoreApplication::processEvents();
    }
};

TEST(VideoWindow, TheVideoIsDrawnInsideTheGivenWindow)
{
    NativeWindow window;
    MediaEngine engine;
    engine.SetWindowHandle(window.winId());
    ASSERT_TRUE(OpenAndWait(engine, Media("video.avi")));
    engine.StartPlayback();
    // The test pattern's colour bars, not the empty black window.
    EXPECT_TRUE(QTest::qWaitFor([&window] {
        const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
        int count = 0;
        for (int x = 10; x < shot.width(); x += 20)
            count += shot.pixelColor(x, 40).saturation() > 100 && shot.pixelColor(x, 40).value() > 100 ? 1 : 0;
        return count >= 8;
    }, 5000));
}

// Stepping through a long cut list as the player window does, a fresh
// pipeline per object with its video drawn into the window, leaves no
// pipelines, sinks or threads behind: neither stepping from one shown object
// to the next, nor holding the "next" key, which asks for objects far faster
// than they open.
TEST(VideoWindow, SteppingThroughManyObjectsLeavesNothingBehind)
{
    test::QuietHost host;
    NativeWindow window;
    CutListModel list;
    for (int i = 0; i < 401; ++i)
        list.AddObject(test::Record(Media("video.avi"), 300), QImage(), false);
    MediaEngine player;
    player.SetWindowHandle(window.winId());
    PlaybackSequencer sequencer(list, player, host);
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    sequencer.Play();
    int peakThreads = 0;
    const auto opened = [&] {
        peakThreads = std::max(peakThreads, test::ThreadCount());
        return !player.IsOpening();
    };
    // The "next object" command, each object shown before the next.
    const auto stepTo = [&](int object) {
        while (list.FindCurrentItem() < object) {
            sequencer.PlayNext(list.FindCurrentItem() + 1);
            ASSERT_TRUE(QTest::qWaitFor(opened, 10000));
        }
    };

    // GStreamer's shared threads and the GL display start with the first
    // pipelines and stay.
    stepTo(5);
    const int warmThreads = test::ThreadCount();
    stepTo(30);
    player.WaitForWorker();
    const double after30 = test::ResidentMegabytes();
    EXPECT_LE(test::ThreadCount(), warmThreads + 2);

    // Held down: the key repeats while the objects are still opening.
    peakThreads = 0;
    while (list.FindCurrentItem() < 400) {
        sequencer.PlayNext(list.FindCurrentItem() + 1);
        QCoreApplication::processEvents();
        peakThreads = std::max(peakThreads, test::ThreadCount());
    }
    ASSERT_TRUE(QTest::qWaitFor(opened, 10000));
    player.WaitForWorker();
    QCoreApplication::processEvents();
    // A pipeline has some ten threads: a few at a time, not one per object.
    EXPECT_LE(peakThreads, warmThreads + 40);
    EXPECT_LE(test::ThreadCount(), warmThreads + 2);
    EXPECT_LT(test::ResidentMegabytes() - after30, 30.0);
    std::printf("threads %d -> %d (at most %d), memory after 30 objects %.1f MB, after 400 %.1f MB\n", warmThreads,
                test::ThreadCount(), peakThreads, after30, test::ResidentMegabytes());
}

}  // namespace
}  // namespace kivo
