#include "session/WindowPlacement.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// On a second screen right of a first one of 1280 x 1024, less a panel at its
// top: centred over its owner, else as close as the screen lets it be, and
// never larger; a window on the screen stays where it is. (One pushed back
// from the right and bottom edges is the help window's test.)
TEST(WindowPlacement, AWindowIsCentredOverItsOwnerOrKeptWhereItIsAndMovedOrShrunkOntoTheScreen)
{
    const QRect screen(1280, 24, 1920, 1056);
    const QSize size(640, 480);
    EXPECT_EQ(CentreOver(size, QRect(1600, 300, 800, 600), screen), QRect(1680, 360, 640, 480));
    EXPECT_EQ(CentreOver(size, QRect(1000, -200, 300, 200), screen), QRect(1280, 24, 640, 480));
    EXPECT_EQ(CentreOver(QSize(2500, 1500), QRect(1600, 300, 800, 600), screen), screen);
    EXPECT_EQ(FitOnScreen(QRect(1300, 100, 640, 480), screen), QRect(1300, 100, 640, 480));
    EXPECT_EQ(FitOnScreen(QRect(100, 100, 640, 480), screen), QRect(1280, 100, 640, 480));
}

}  // namespace
}  // namespace kivo
