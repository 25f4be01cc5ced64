#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/Formatters.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ShownText.h"
#include "cutlist/StatusText.h"

#include <QScopeGuard>

#include <gtest/gtest.h>

#include <ctime>

namespace kivo {
namespace {

TEST(Formatters, TimesRoundDownSizesRoundUpToWholeKilobytesTypesComeFromTheExtensionAndDatesAndColumnTextsAreLocal)
{
    // (The usual cases are those of the column texts below and of the other
    // tests.) The second time is that of 100,000 objects of ten hours, the
    // last size beyond 32 bits.
    EXPECT_EQ(std::tuple(FormatShortTime(5999), FormatShortTime(100000LL * 3600000), FormatLongTime(5999),
                         FormatSize(2147483648ull, true), FormatSize(5000000000ull, false)),
              std::tuple("0m59s", "60000000m00s", "59秒 99", "2,097,152KB (2,147,483,648 ﾊﾞｲﾄ)", "4,882,813KB"));

    for (const auto& [path, type] : {std::pair("/m/a.Mp3", "MP3 ﾌｧｲﾙ"), {"/m/archive.tar.gz", "GZ ﾌｧｲﾙ"},
                                     {"/home/me/.videos/clip", "ﾌｧｲﾙ"}, {"/m/trailingdot.", " ﾌｧｲﾙ"}})
        EXPECT_EQ(FormatTypeText(path), type) << path;

    // Dates and column texts are local: Japan's time zone, as a POSIX rule so that no zone database is needed.
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "JST-9");
    tzset();
    const auto restore = qScopeGuard([&] {
        zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
        tzset();
    });
    // 1999-03-09 17:20:00 UTC is Wednesday 02:20 on the 10th in Japan.
    EXPECT_EQ(std::tuple(FormatDate(921000000), FormatDate(0)),
              std::tuple("1999年 03月 10日 水曜日 02:20:00", "1970年 01月 01日 木曜日 09:00:00"));

    MEDIARECORD record = test::SizedRecord("/m/movie.mpg", 1025, 921000000, 12345);
    const auto texts = [&record] {
        QStringList columns;
        for (int column = 1; column <= 5; ++column)
            columns.append(ObjectColumnText(record.strPath, FactsOf(record), column));
        return columns;
    };
    EXPECT_EQ(texts(), QStringList({"2m03s", "", "2KB", "MPG ﾌｧｲﾙ", "99/03/10 02:20"}));
    record.timeModified = 0;  // missing file (an invalid one's are SortingTest's)
    EXPECT_EQ(texts(), QStringList({"", "", "", "", ""}));
}

TEST(StatusSummary, CountsAllObjectsAndTimesThePlayableOnesUpToThePosition)
{
    CutListModel list;
    CMediaInfoCache cache;
    const auto add = [&](const char* path, qint32 length, int flag = kFlagValid, bool cached = true) {
        if (cached)
            cache.Add(test::Record(path, length, flag));
        list.AddObject(test::Record(path, length, flag), QImage(), false);
    };
    add("/a", 30000);                    // 5m00s
    add("/b", 45000);                    // 7m30s
    add("/c", 99999, kFlagInvalid);      // counted, never timed
    add("/d", 1234, kFlagValid, false);  // not in the cache: length 0
    // Without a current object only the position counts.
    EXPECT_EQ(CutListSummaryText(list, cache, 24599), "4個のｵﾌﾞｼﾞｪｸﾄ 12m30s 時間 4m05s（残り 8m25s）");
    // Current object /b, 3.5 s into it: the time before it plus the position.
    list.SetCurrent(1);
    EXPECT_EQ(CutListSummaryText(list, cache, 350), "4個のｵﾌﾞｼﾞｪｸﾄ 12m30s 時間 5m03s（残り 7m27s）");
    // A position beyond the list (left from a medium no longer in it) is no
    // more than the whole list: nothing remains, and never less.
    EXPECT_EQ(CutListSummaryText(list, cache, 100000), "4個のｵﾌﾞｼﾞｪｸﾄ 12m30s 時間 12m30s（残り 0m00s）");

    // Totals do not overflow.
    list.Clear();
    list.SetCurrent(-1);
    for (int i = 0; i < 1000; ++i)
        add("/m", 0x7FFFFFFF);
    EXPECT_EQ(CutListSummaryText(list, cache, 0), "1000個のｵﾌﾞｼﾞｪｸﾄ 357913941m10s 時間 0m00s（残り 357913941m10s）");
}

const QString kPair = QStringLiteral("🎵");

TEST(ShownText, ALongTextLosesItsEndAPathItsMiddleKeepingItsFileNameAndNeverHalfAPair)
{
    const QString fits(kMaxShownChars, u'x');
    EXPECT_EQ(ShownText(fits).constData(), fits.constData());  // not even copied
    EXPECT_EQ(ShownText(QString(30 << 20, u'y')), QString(kMaxShownChars - 1, u'y') + u'…');
    // The pair that would straddle the cut goes whole.
    EXPECT_EQ(ShownText(QStringLiteral("ab") + kPair + QStringLiteral("cd"), 4), QStringLiteral("ab…"));
    EXPECT_EQ(ShownText(QStringLiteral("a") + kPair + QStringLiteral("cd"), 4), QStringLiteral("a") + kPair + u'…');
    // A name is cut without a mark (the readers' titles and names in PlaylistsTest and ScenarioFileTest).

    // A long path loses its middle: the longest path the system takes, of 255-character folders.
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
    // A file's name alone keeps its end (a short one is the document's
    // title, DocumentFileTest).
    EXPECT_EQ(ShownFileName(path + u'/' + QString(3000, u'f') + QStringLiteral(".kvo")),
              u'…' + QString(kMaxNameChars - 5, u'f') + QStringLiteral(".kvo"));
    EXPECT_EQ(ShownName(QString(3000, u'n')), ShownText(QString(3000, u'n')));  // no path: its start
}

}  // namespace
}  // namespace kivo
