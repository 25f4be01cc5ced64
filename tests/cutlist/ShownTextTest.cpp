#include "cutlist/ShownText.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

const QString kPair = QStringLiteral("🎵");

TEST(ShownText, ALongTextOrNameLosesItsEndAndNeverHalfAPair)
{
    const QString fits(kMaxShownChars, u'x');
    EXPECT_EQ(ShownText(fits).constData(), fits.constData());  // not even copied
    EXPECT_EQ(ShownText(QString(30 << 20, u'y')), QString(kMaxShownChars - 1, u'y') + u'…');
    // The pair that would straddle the cut goes whole.
    EXPECT_EQ(ShownText(QStringLiteral("ab") + kPair + QStringLiteral("cd"), 4), QStringLiteral("ab…"));
    EXPECT_EQ(ShownText(QStringLiteral("a") + kPair + QStringLiteral("cd"), 4), QStringLiteral("a") + kPair + u'…');
    // A name is cut without a mark (the readers' titles and names in PlaylistsTest and ScenarioFileTest).
}

TEST(ShownText, ALongPathLosesItsMiddleKeepsItsFileNameAndNeverHalfAPair)
{
    // The longest path the system takes, of 255-character folders.
    QString path;
    while (path.size() < 4095 - 256)
        path += u'/' + QString(255, u'd');
    const QString fileName = QString(200, u'f') + QStringLiteral(".mp4");
    const QString shown = ShownPath(path + u'/' + fileName);
    EXPECT_EQ(shown.size(), kMaxNameChars);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("/ddd")) && shown.endsWith(u'/' + fileName));
    EXPECT_EQ(shown.count(u'…'), 1);
    const QString fitting = QStringLiteral("/m/") + QString(kMaxNameChars - 3, u'p');
    EXPECT_EQ(ShownPath(fitting), fitting);
    // A file name longer than half the room keeps the end's room, and one
    // without a folder its end.
    EXPECT_EQ(ShownPath(QStringLiteral("/m/") + QString(20, u'd') + u'/' + QString(12, u'f'), 16),
              QStringLiteral("/m…/ffffffffffff"));
    EXPECT_EQ(ShownPath(QString(30, u'n') + QStringLiteral(".avi"), 8), QStringLiteral("…nnn.avi"));

    for (qsizetype limit = 3; limit <= 12; ++limit) {
        const QString cut = ShownPath(u'/' + kPair.repeated(10), limit);
        EXPECT_LE(cut.size(), limit);
        // Everything after the "/" and the mark is whole pairs.
        const QString rest = cut.sliced(cut.startsWith(u'/') ? 2 : 1);
        EXPECT_EQ(rest, kPair.repeated(rest.size() / 2)) << limit;
    }
}

TEST(ShownText, NamesAndFileNamesAreShownByTheirKind)
{
    const QString folder = u'/' + QString(3000, u'd');
    const QString fileName = QString(3000, u'f') + QStringLiteral(".kvo");
    EXPECT_EQ(ShownFileName(folder + u'/' + fileName), u'…' + fileName.right(kMaxNameChars - 1));
    EXPECT_EQ(ShownFileName(QStringLiteral("/m/a.kvo")), QStringLiteral("a.kvo"));
    // A path keeps its end, another name its start.
    EXPECT_EQ(ShownName(folder + QStringLiteral("/a.mpg")), ShownPath(folder + QStringLiteral("/a.mpg")));
    EXPECT_EQ(ShownName(fileName), ShownText(fileName));
}

}  // namespace
}  // namespace kivo
