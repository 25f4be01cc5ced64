#include "session/WindowPlacement.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// A second screen right of a first one of 1280 x 1024, less a panel at its top.
const QRect kScreen(1280, 24, 1920, 1056);

TEST(WindowPlacement, AWindowIsCentredOverItsOwnerAndMovedOrShrunkOntoTheScreen)
{
    // Room enough: centred.
    EXPECT_EQ(CentreOver(QSize(640, 480), QRect(1600, 300, 800, 600), kScreen), QRect(1680, 360, 640, 480));
    // An owner at the bottom right corner: as close as the screen lets it be.
    EXPECT_EQ(CentreOver(QSize(640, 480), QRect(2900, 900, 400, 300), kScreen), QRect(2560, 600, 640, 480));
    // An owner partly off the top left of the screen.
    EXPECT_EQ(CentreOver(QSize(640, 480), QRect(1000, -200, 300, 200), kScreen), QRect(1280, 24, 640, 480));
    // Larger than the screen: its size.
    EXPECT_EQ(CentreOver(QSize(2500, 1500), QRect(1600, 300, 800, 600), kScreen), kScreen);
}

TEST(WindowPlacement, AWindowOnTheScreenStaysWhereItIs)
{
    EXPECT_EQ(FitOnScreen(QRect(1300, 100, 640, 480), kScreen), QRect(1300, 100, 640, 480));
    EXPECT_EQ(FitOnScreen(QRect(100, 100, 640, 480), kScreen), QRect(1280, 100, 640, 480));  // on the other screen
    EXPECT_EQ(FitOnScreen(QRect(3000, 1000, 640, 480), kScreen), QRect(2560, 600, 640, 480));
}

}  // namespace
}  // namespace kivo
