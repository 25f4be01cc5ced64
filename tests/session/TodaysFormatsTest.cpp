#include "TestMedia.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/MediaSearch.h"
#include "media/MediaEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace kivo {
namespace {

using test::Media;

// H.264 and AAC, H.264 and Opus, VP9 and Opus, and three sounds.
constexpr std::pair<const char*, bool> kTodaysFiles[] = {{"today.mp4", true},   {"today.mkv", true},  {"today.webm", true},
                                                         {"audio.flac", false}, {"audio.opus", false}, {"audio.m4a", false}};

// The patterns of an open dialog's row: "name (*.a *.b)".
QStringList RowPatterns(const QString& row)
{
    const qsizetype open = row.lastIndexOf(u'(');
    return row.sliced(open + 1, row.size() - open - 2).split(u' ');
}

// (How they are examined is the examination test's.)
TEST(TodaysFormats, AreSearchedForByDefaultListedByTheOpenDialogAndPlayedAndAFilesTagsAndCoverComeWhileItPlaysAndGoWithIt)
{
    const QString folder = QFileInfo(Media("today.mp4")).path();
    const SearchResult found = SearchFolder(QFile::encodeName(folder), ExtensionList(MediaChoices{}), false);
    // The rows a stored row number names stay where they were: the older
    // kinds, then every file; today's kinds after them, and every kind last.
    const QStringList rows = MediaFileFilters();
    ASSERT_EQ(rows.size(), 10 + 5 + 1);
    EXPECT_EQ(std::tuple(rows[9], MediaFileFilterRow(rows[10])), std::tuple(AllFilesFilter(), 10));
    for (const auto& [name, video] : kTodaysFiles) {
        const QString path = Media(name);
        EXPECT_TRUE(found.paths.contains(path)) << name;
        const auto listedBy = [&](qsizetype row) { return QDir::match(RowPatterns(rows[row]), QFileInfo(path).fileName()); };
        EXPECT_TRUE(listedBy(rows.size() - 1)) << name;
        EXPECT_TRUE(listedBy(10) || listedBy(11) || listedBy(12) || listedBy(13) || listedBy(14)) << name;

        MediaEngine engine;
        ASSERT_TRUE(OpenAndWait(engine, path)) << name;
        EXPECT_EQ(engine.HasVideo(), video) << name;
        engine.StartPlayback();
        EXPECT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() > 0.3; }, 5000)) << name;
    }

    MediaEngine engine;
    int told = 0;
    QObject::connect(&engine, &MediaEngine::tagsChanged, [&] { ++told; });
    ASSERT_TRUE(OpenAndWait(engine, Media("tagged.flac")));
    engine.StartPlayback();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.Tags().cover.isNull(); }, 5000));
    const MediaTags& tags = engine.Tags();
    EXPECT_EQ(std::tuple(tags.title, tags.artist, tags.album, tags.trackNumber),
              std::tuple(QString("Kivo Song"), QString("Kivo Singer"), QString("Kivo Album"), 7));
    EXPECT_EQ(tags.cover.pixelColor(16, 16).name(), "#0000fe");  // blue, as ffmpeg converts it
    EXPECT_GE(told, 1);
    // Another file has tags of its own, or none.
    const int before = told;
    ASSERT_TRUE(OpenAndWait(engine, Media("audio.wav")));
    EXPECT_TRUE(engine.Tags() == MediaTags{} && told > before);
}

}  // namespace
}  // namespace kivo
