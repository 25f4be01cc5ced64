#include "ui/SplashWindow.h"

#include <QTest>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(SplashWindow, ShowsCentredFollowsTheLeftButtonByItsGrabPointAndTheFirstTickHidesIt)
{
    QWidget owner;
    SplashWindow splash(&owner);
    splash.ShowCentred();
    EXPECT_EQ(splash.geometry().center(), splash.screen()->availableGeometry().center());

    const QPoint start = splash.pos();
    QTest::mouseMove(&splash, QPoint(100, 60));  // no button: stays
    EXPECT_EQ(splash.pos(), start);
    QTest::mousePress(&splash, Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseMove(&splash, QPoint(130, 50));
    EXPECT_EQ(splash.pos(), start + QPoint(30, -10));
    // The grab point stays under the mouse: back at it, the window rests.
    QTest::mouseMove(&splash, QPoint(100, 60));
    EXPECT_EQ(splash.pos(), start + QPoint(30, -10));
    QTest::mouseRelease(&splash, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_TRUE(splash.isVisible() && QTest::qWaitFor([&] { return !splash.isVisible(); }, 3000));
}

}  // namespace
}  // namespace kivo
