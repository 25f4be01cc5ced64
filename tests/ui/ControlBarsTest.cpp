#include "ui/CommandActions.h"
#include "ui/ControlBars.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

#include <vector>

namespace kivo {
namespace {

TEST(SpeedBar, EachSpeedHasAPictureOfItsOwnThatNoNavigationButtonShows)
{
    QMainWindow window;
    ControlBars bars(window);
    const auto pictureOf = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32); };
    std::vector<QImage> pictures = {pictureOf(PictureIcon(Picture::SkipBackward)), pictureOf(PictureIcon(Picture::SkipForward))};
    using SpeedIcon = FrameBars::SpeedIcon;
    for (const SpeedIcon speed : {SpeedIcon::Normal, SpeedIcon::Faster, SpeedIcon::Slower, SpeedIcon::Refused}) {
        bars.ShowSpeedIcon(speed);
        pictures.push_back(pictureOf(window.findChild<QToolButton*>("speedIcon")->icon()));
    }
    for (size_t i = 2; i < pictures.size(); ++i) {
        EXPECT_FALSE(pictures[i].isNull());
        for (size_t j = 0; j < i; ++j)
            EXPECT_NE(pictures[i], pictures[j]) << i << " and " << j;
    }
}

}  // namespace
}  // namespace kivo
