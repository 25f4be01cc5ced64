// The engine draws the video into a native window it is given, over and
// over. Runs on a real X server (Xvfb), as the player window will. (That the
// video goes into the player window and nowhere else is the end-to-end test
// everyday-gestures'.)

#include "ProcessFigures.h"
#include "QuietPlaybackHost.h"
#include "TestMedia.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "media/MediaEngine.h"
#include "session/PlaybackSequencer.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace kivo {
namespace {

using test::Media;

// Stepping through a long cut list as the player window does, a fresh
// pipeline per object with its video drawn into the window, leaves no
// pipelines, sinks or threads behind: neither stepping from one shown object
// to the next, nor holding the "next" key, which asks for objects far faster
// than they open.
TEST(VideoWindow, SteppingThroughManyObjectsLeavesNothingBehind)
{
    test::QuietHost host;
    QWidget window;  // native, as the player window's
    window.setAttribute(Qt::WA_NativeWindow);
    window.resize(320, 240);
    window.show();
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
    EXPECT_TRUE(peakThreads <= warmThreads + 40 && test::ThreadCount() <= warmThreads + 2 && test::ResidentMegabytes() - after30 < 30.0);
    std::printf("threads %d -> %d (at most %d), memory after 30 objects %.1f MB, after 400 %.1f MB\n", warmThreads,
                test::ThreadCount(), peakThreads, after30, test::ResidentMegabytes());
}

}  // namespace
}  // namespace kivo
