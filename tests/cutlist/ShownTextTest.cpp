#include "cutlist/ShownText.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

const QString kPair = QStringLiteral("🎵");

TEST(ShownText, ShortTextsAreGivenAsTheyAre)
{
    const QString fits(kMaxShownChars, u'x');
    EXPECT_EQ(ShownText(fits).constData(), fits.constData());
    const QString path = QStringLiteral("/m/") + QString(kMaxNameChars - 3, u'p');
    EXPECT_EQ(ShownPath(path), path);
    EXPECT_EQ(BoundedName(QString(kMaxNameChars, u'n')), QString(kMaxNameChars, u'n'));
}

TEST(ShownText, ALongTextLosesItsEndMarkedAndNeverHalfAPair)
{
    const QString huge(30 << 20, u'y');
    EXPECT_EQ(ShownText(huge), QString(kMaxShownChars - 1, u'y') + u'…');
    EXPECT_EQ(ShownText(QStringLiteral("abcdef"), 4), QStringLiteral("abc…"));
    // The pair that would straddle the cut goes whole.
    EXPECT_EQ(ShownText(QStringLiteral("ab") + kPair + QStringLiteral("cd"), 4), QStringLiteral("ab…"));
    EXPECT_EQ(ShownText(QStringLiteral("a") + kPair + QStringLiteral("cd"), 4), QStringLiteral("a") + kPair + u'…');
}

TEST(ShownText, ALongNameIsCutWithoutAMarkAndNeverHalfAPair)
{
    const QString start(kMaxNameChars - 1, u'x');
    EXPECT_EQ(BoundedName(start + kPair + QStringLiteral("tail")), start);
    EXPECT_EQ(BoundedName(QString(3 << 20, u'n')), QString(kMaxNameChars, u'n'));
}

TEST(ShownText, ALongPathLosesItsMiddleAndKeepsItsFileName)
{
    // The longest path the system takes, of 255-character folders.
    QString path;
    while (path.size() < 4095 - 256)
        path += u'/' + QString(255, u'd');
    const QString fileName = QString(200, u'f') + QStringLiteral(".mp4");
    path += u'/' + fileName;
    const QString shown = ShownPath(path);
    EXPECT_EQ(shown.size(), kMaxNameChars);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/ddd")));
    EXPECT_TRUE(shown.endsWith(u'/' + fileName));
    EXPECT_EQ(shown.count(u'…'), 1);

    // A file name longer than half the room keeps the end's room.
    const QString longName = QStringLiteral("/m/") + QString(20, u'd') + u'/' + QString(12, u'f');
    EXPECT_EQ(ShownPath(longName, 16), QStringLiteral("/m…/ffffffffffff"));
    // A name without a folder keeps its end.
    EXPECT_EQ(ShownPath(QString(30, u'n') + QStringLiteral(".avi"), 8), QStringLiteral("…nnn.avi"));
}

TEST(ShownText, NamesAndFileNamesAreShownByTheirKind)
{
    const QString folder = QStringLiteral("/") + QString(3000, u'd');
    const QString fileName = QString(3000, u'f') + QStringLiteral(".kvo");
    const QString shownFileName = ShownFileName(folder + u'/' + fileName);
    EXPECT_EQ(shownFileName, u'…' + fileName.right(kMaxNameChars - 1));
    EXPECT_EQ(ShownFileName(fileName), shownFileName);
    EXPECT_EQ(ShownFileName(QStringLiteral("/m/a.kvo")), QStringLiteral("a.kvo"));
    // A path keeps its end, another name its start.
    EXPECT_EQ(ShownName(folder + QStringLiteral("/a.mpg")), ShownPath(folder + QStringLiteral("/a.mpg")));
    EXPECT_TRUE(ShownName(folder + QStringLiteral("/a.mpg")).endsWith(QStringLiteral("/a.mpg")));
    EXPECT_EQ(ShownName(fileName), ShownText(fileName));
}

TEST(ShownText, APathIsCutInItsMiddleNeverWithinAPair)
{
    const QString pairs = QString(kPair).repeated(10);
    for (qsizetype limit = 3; limit <= 12; ++limit) {
        const QString shown = ShownPath(QStringLiteral("/") + pairs, limit);
        EXPECT_LE(shown.size(), limit);
        EXPECT_EQ(shown.count(u'…'), 1);
        // Everything after the "/" and the mark is whole pairs.
        const QString rest = shown.sliced(shown.startsWith(u'/') ? 2 : 1);
        EXPECT_EQ(rest, QString(kPair).repeated(rest.size() / 2)) << limit;
    }
}

}  // namespace
}  // namespace kivo
