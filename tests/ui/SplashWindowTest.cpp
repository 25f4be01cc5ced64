#include "ui/SplashWindow.h"

#include <QTest>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(SplashWindow, IsAnOvalOnTopThatTheLeftButtonDragsAndTheFirstTickHides)
{
    QWidget owner;
    SplashWindow splash(&owner);
    EXPECT_TRUE(splash.isWindow());
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(splash.size(), QSize(256, 128));
    EXPECT_TRUE(splash.mask().contains(QPoint(128, 64)));
    EXPECT_TRUE(splash.mask().contains(QPoint(2, 64)));
    EXPECT_FALSE(splash.mask().contains(QPoint(2, 2)));
    EXPECT_FALSE(splash.mask().contains(QPoint(253, 125)));

    splash.ShowCentred();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.geometry().center(), splash.screen()->availableGeometry().center());

    // It follows the mouse while the left button is down, and hides at the first tick.
    const QPoint start = splash.pos();
    QTest::mouseMove(&splash, QPoint(100, 60));  // no button: stays
    EXPECT_EQ(splash.pos(), start);
    QTest::mousePress(&splash, Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseMove(&splash, QPoint(130, 50));
    EXPECT_EQ(splash.pos(), start + QPoint(30, -10));
    // The grab point stays under the mouse: back at it, the window rests.
    QTest::mouseMove(&splash, QPoint(100, 60));
    EXPECT_EQ(splash.pos(), start + QPoint(30, -10));
    QTest::mouseMove(&splash, QPoint(90, 65));
    EXPECT_EQ(splash.pos(), start + QPoint(20, -5));
    QTest::mouseRelease(&splash, Qt::LeftButton, {}, QPoint(90, 65));
    QTest::mouseMove(&splash, QPoint(10, 64));
    EXPECT_EQ(splash.pos(), start + QPoint(20, -5));

    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splash.isVisible(); }, 3000));
}

}  // namespace
}  // namespace kivo
