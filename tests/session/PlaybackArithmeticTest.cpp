#include "session/PlaybackArithmetic.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(PlaybackArithmetic, SlidersReadThePlayersValues)
{
    // One step below the main window's bar for most volumes: its 50, 25, 99.
    for (const auto& [level, position] : {std::pair{0L, 0}, {-693L, -51}, {-287L, -26}, {-4605L, -100}, {-10000L, -100}}) {
        EXPECT_EQ(AudioSliderPositions(level, 0, false).volume, position) << level;
        EXPECT_EQ(AudioSliderPositions(0, -level, false).balance, -position) << level;
    }
    // Muted sliders are the playback page's (PropertySheetTest).
    EXPECT_EQ(SpeedReadout(1.0), "1");
    EXPECT_EQ(SpeedReadout(0.29), "0.29");
    // 0.29 * 100 is 28.999... in binary: the slider must still stand at 29.
    EXPECT_EQ(SpeedSliderPosition(0.29), 29);
    EXPECT_EQ(SpeedSliderPosition(0.57), 57);
}

}  // namespace
}  // namespace kivo
