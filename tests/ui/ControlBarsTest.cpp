#include "ui/CommandActions.h"
#include "ui/ControlBars.h"

#include <QMainWindow>
#include <QToolButton>

#include <gtest/gtest.h>

namespace kivo {
namespace {

QImage PictureOf(const QIcon& icon)
{
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(SpeedBar, EachSpeedHasAPictureOfItsOwnThatNoNavigationButtonShows)
{
    QMainWindow window;
    ControlBars bars(window);
    const auto* icon = window.findChild<QToolButton*>("speedIcon");
    ASSERT_NE(icon, nullptr);
    using SpeedIcon = FrameBars::SpeedIcon;
    std::vector<QImage> pictures;
    for (const SpeedIcon speed : {SpeedIcon::Normal, SpeedIcon::Faster, SpeedIcon::Slower, SpeedIcon::Refused}) {
        bars.ShowSpeedIcon(speed);
        pictures.push_back(PictureOf(icon->icon()));
        ASSERT_FALSE(pictures.back().isNull());
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        for (size_t j = i + 1; j < pictures.size(); ++j)
            EXPECT_NE(pictures[i], pictures[j]) << i << " and " << j;
        for (const Picture navigation : {Picture::SkipBackward, Picture::SkipForward})
            EXPECT_NE(pictures[i], PictureOf(PictureIcon(navigation))) << i;
    }
}

}  // namespace
}  // namespace kivo
