// The engine draws the video into a native window it is given. Runs on a
// real X server (Xvfb), as the player window will.

#include "TestMedia.h"
#include "player/MediaEngine.h"

#include <QImage>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

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
    ASSERT_TRUE(engine.Open(Media("video.avi")));
    engine.StartPlayback();
    test::WaitUntil([] { return false; }, 800);
    engine.PausePlayback();

    // The test pattern's colour bars, not the empty black window.
    const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
    ASSERT_EQ(shot.size(), QSize(320, 240));
    int coloured = 0;
    for (int x = 10; x < 320; x += 20) {
        const QColor colour = shot.pixelColor(x, 40);
        if (colour.saturation() > 100 && colour.value() > 100)
            ++coloured;
    }
    EXPECT_GE(coloured, 8);
}

}  // namespace
}  // namespace kivo
