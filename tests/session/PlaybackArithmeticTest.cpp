#include "session/PlaybackArithmetic.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(PlaybackArithmetic, AudioSlidersReadThePlayerValuesThroughTheSearchedCurve)
{
    const auto volumeAt = [](long volume) { return AudioSliderPositions(volume, 0, false).volume; };
    EXPECT_EQ(volumeAt(0), 0);
    EXPECT_EQ(volumeAt(-10000), -100);
    // One step below the main window's bar for most volumes: its 50, 25, 99.
    EXPECT_EQ(volumeAt(-693), -51);
    EXPECT_EQ(volumeAt(-287), -26);
    EXPECT_EQ(volumeAt(-4605), -100);

    const auto balanceAt = [](long balance) { return AudioSliderPositions(0, balance, false).balance; };
    EXPECT_EQ(balanceAt(0), 0);
    EXPECT_EQ(balanceAt(693), 51);
    EXPECT_EQ(balanceAt(-693), -51);
    EXPECT_EQ(balanceAt(-10000), -100);

    const AudioSliders muted = AudioSliderPositions(-693, 693, true);
    EXPECT_FALSE(muted.enabled);
    EXPECT_EQ(muted.volume, 0);
    EXPECT_EQ(muted.balance, 0);
}

TEST(PlaybackArithmetic, SpeedReadoutAndSliderPosition)
{
    EXPECT_EQ(SpeedReadout(1.0), "1");
    EXPECT_EQ(SpeedReadout(1.5), "1.5");
    EXPECT_EQ(SpeedReadout(0.29), "0.29");
    EXPECT_EQ(SpeedReadout(0.0), "0");
    // 0.29 * 100 is 28.999... in binary: the slider must still stand at 29.
    EXPECT_EQ(SpeedSliderPosition(0.29), 29);
    EXPECT_EQ(SpeedSliderPosition(0.57), 57);
}

}  // namespace
}  // namespace kivo
