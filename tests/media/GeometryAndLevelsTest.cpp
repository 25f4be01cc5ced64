#include "media/Geometry.h"
#include "media/Levels.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(FitRect, KeepsTheAspectAndCentres)
{
    // A 4:3 frame in a thumbnail: 56 x 42 at x 1.
    EXPECT_EQ(FitRect(320, 240, {0, 0, 58, 42}, true), (EdgeRect{1, 0, 57, 42}));
    EXPECT_EQ(FitRect(320, 240, {0, 0, 352, 240}, false), (EdgeRect{0, 0, 320, 240}));
    // A wide frame in a square: the width limits.
    EXPECT_EQ(FitRect(200, 100, {10, 10, 110, 110}, true), (EdgeRect{10, 35, 110, 85}));
    // No video: the rectangle as it was.
    EXPECT_EQ(FitRect(0, 240, {0, 0, 58, 42}, true), (EdgeRect{0, 0, 58, 42}));
}

// The way back, from the bars to the levels, is the bars' (PlaybackArithmetic,
// PlaybackPage) and the sequencer's.
TEST(Levels, AmplitudeCurveAndBalance)
{
    EXPECT_NEAR(VolumeToAmplitude(-2000), 0.1, 1e-12);
    EXPECT_EQ(VolumeToAmplitude(-10000), 0.0);
    EXPECT_NEAR(BalanceToPanorama(2000), 0.9, 1e-12);    // left channel at -20 dB
    EXPECT_NEAR(BalanceToPanorama(-2000), -0.9, 1e-12);  // right channel at -20 dB
}

}  // namespace
}  // namespace kivo
