#include "ui/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>

#include <gtest/gtest.h>

namespace kivo {
namespace {

TEST(HelpWindow, OneWindowPerOwnerOpensAtTheContentsAndItsBarGoesBack)
{
    QWidget owner;
    HelpWindow* help = HelpWindow::Show(&owner);
    EXPECT_EQ(HelpWindow::Show(&owner), help);
    EXPECT_TRUE(help->isVisible());
    QTextBrowser* browser = help->Browser();
    EXPECT_EQ(browser->source(), QUrl("qrc:/help/index.html"));

    // The links are relative to the contents page.
    browser->setSource(QUrl("playing.html"));
    EXPECT_EQ(browser->documentTitle(), "Kivo ヘルプ - 再生する");
    QAction* back = help->findChild<QToolBar*>()->actions().first();
    ASSERT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(browser->source(), QUrl("qrc:/help/index.html"));
    EXPECT_FALSE(back->isEnabled());
}

TEST(HelpWindow, MenuNamesShowAsInTheMenusWithoutTheirMarkers)
{
    QWidget owner;
    QTextBrowser* browser = HelpWindow::Show(&owner)->Browser();
    const QRegularExpression marker(R"(\(&\w\))");
    for (const QString& page : QDir(":/help").entryList({"*.html"})) {
        browser->setSource(QUrl(page));
        const QString shown = browser->toPlainText();
        SCOPED_TRACE(page.toStdString());
        EXPECT_FALSE(shown.contains(marker)) << shown.toStdString();
    }
    browser->setSource(QUrl("files.html"));
    EXPECT_TRUE(browser->toPlainText().contains("「ﾌｧｲﾙ(F)」→「上書き保存(S)」"));
}

TEST(HelpWindow, OpensWholeOnTheScreenOverItsOwner)
{
    QWidget owner;
    const QRect screen = owner.screen()->availableGeometry();
    // An owner in the bottom right corner of the screen.
    owner.setGeometry(screen.right() - 300, screen.bottom() - 200, 280, 180);
    owner.show();
    HelpWindow* help = HelpWindow::Show(&owner);
    EXPECT_TRUE(screen.contains(help->frameGeometry()));
    EXPECT_TRUE(help->frameGeometry().contains(owner.frameGeometry().center()));

    // Closed, moved off the screen meanwhile, it comes back whole.
    help->close();
    help->move(screen.right() + 100, screen.top() + 10);
    EXPECT_EQ(HelpWindow::Show(&owner), help);
    EXPECT_TRUE(screen.contains(help->frameGeometry()));
}

TEST(HelpWindow, EveryLinkOfThePagesLeadsToAPageOrPlaceThatExists)
{
    const QDir folder(":/help");
    const QStringList pages = folder.entryList({"*.html"});
    ASSERT_EQ(pages.size(), 3);
    const QRegularExpression link(R"re(<a href="(?![a-z]+:)([^"#]*)(?:#([^"]*))?")re");
    for (const QString& page : pages) {
        QFile file(folder.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const auto& match : link.globalMatch(html)) {
            const QString target = match.captured(1).isEmpty() ? page : match.captured(1);
            SCOPED_TRACE((page + " -> " + match.captured(0)).toStdString());
            ASSERT_TRUE(pages.contains(target));
            if (match.hasCaptured(2)) {
                QFile targetFile(folder.filePath(target));
                ASSERT_TRUE(targetFile.open(QIODevice::ReadOnly));
                EXPECT_TRUE(targetFile.readAll().contains("name=\"" + match.captured(2).toUtf8() + "\""));
            }
        }
    }
}

}  // namespace
}  // namespace kivo
