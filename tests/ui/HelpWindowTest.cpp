#include "ui/HelpWindow.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <optional>

namespace kivo {
namespace {

// A point on the first link to `href` of the page shown.
std::optional<QPoint> LinkPoint(const QTextBrowser& browser, const QString& href)
{
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser.document());
            cursor.setPosition(fragment.fragment().position() + 1);
            return browser.cursorRect(cursor).center();
        }
    }
    return std::nullopt;
}

TEST(HelpWindow, OneWindowPerOwnerOpensAtTheContentsAndFollowsLinks)
{
    QWidget owner;
    HelpWindow* help = HelpWindow::Show(&owner);
    EXPECT_EQ(HelpWindow::Show(&owner), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->isWindow());
    EXPECT_EQ(help->windowTitle(), "Kivo ﾍﾙﾌﾟ");

    QTextBrowser* browser = help->Browser();
    EXPECT_EQ(browser->documentTitle(), "Kivo ヘルプ - はじめに");
    EXPECT_TRUE(browser->toPlainText().contains("ﾒﾃﾞｨｱﾌｧｲﾙを開く(&I)..."));

    const std::optional<QPoint> link = LinkPoint(*browser, "playing.html");
    ASSERT_TRUE(link);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, *link);
    EXPECT_EQ(browser->source(), QUrl("qrc:/help/playing.html"));
    EXPECT_EQ(browser->documentTitle(), "Kivo ヘルプ - 再生する");
    browser->backward();
    EXPECT_EQ(browser->source(), QUrl("qrc:/help/index.html"));
    EXPECT_TRUE(browser->isForwardAvailable());
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
