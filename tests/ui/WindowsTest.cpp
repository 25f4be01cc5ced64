// The help and splash windows, which need neither media nor an X server.

#include "TestFiles.h"
#include "ui/HelpWindow.h"
#include "ui/SplashWindow.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(HelpWindow, OneWindowPerOwnerOpensWholeOnTheScreenAtTheContentsItsBarGoesBackAndThePagesLinkOnlyToPagesAndPlacesThatExist)
{
    QWidget owner;
    const QRect screen = owner.screen()->availableGeometry();
    // An owner in the bottom right corner of the screen.
    owner.setGeometry(screen.right() - 300, screen.bottom() - 200, 280, 180);
    owner.show();
    HelpWindow* help = HelpWindow::Show(&owner);
    EXPECT_TRUE(screen.contains(help->frameGeometry()) && help->frameGeometry().contains(owner.frameGeometry().center()));
    QTextBrowser* browser = help->Browser();
    // The links are relative to the contents page, which the bar goes back to.
    browser->setSource(QUrl("playing.html"));
    EXPECT_EQ(browser->documentTitle(), "Kivo ヘルプ - 再生する");
    QAction* back = help->findChild<QToolBar*>()->actions().first();
    back->trigger();
    EXPECT_EQ(browser->source(), QUrl("qrc:/help/index.html"));
    EXPECT_FALSE(back->isEnabled());

    // Closed, moved off the screen meanwhile, it comes back whole.
    help->close();
    help->move(screen.right() + 100, screen.top() + 10);
    EXPECT_EQ(HelpWindow::Show(&owner), help);
    EXPECT_TRUE(help->isVisible() && screen.contains(help->frameGeometry()));

    const QStringList pages = QDir(":/help").entryList({"*.html"});
    ASSERT_EQ(pages.size(), 3);
    const QRegularExpression link(R"re(<a href="(?![a-z]+:)([^"#]*)(?:#([^"]*))?")re");
    for (const QString& page : pages) {
        for (const auto& match : link.globalMatch(QString::fromUtf8(test::ReadFile(":/help/" + page)))) {
            const QString target = match.captured(1).isEmpty() ? page : match.captured(1);
            EXPECT_TRUE(pages.contains(target) && (!match.hasCaptured(2) || test::ReadFile(":/help/" + target).contains(
                                                       "name=\"" + match.captured(2).toUtf8() + "\"")))
                << page.toStdString() << ": " << match.captured(0).toStdString();
        }
    }
}

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
