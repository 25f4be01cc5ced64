#include "LogLines.h"
#include "TestFiles.h"
#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"
#include "cutlist/ShownText.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <limits>
#include <span>

namespace kivo {

void PrintTo(const PlaylistEntry& entry, std::ostream* out)
{
    *out << "{" << PrintableFileName(entry.path).toStdString() << ", " << entry.title.toStdString() << ", "
         << entry.seconds << "}";
}

namespace {

using Entries = std::vector<PlaylistEntry>;

PlaylistReadResult Read(PlaylistFormat format, QByteArrayView bytes)
{
    return ReadPlaylist(bytes, format, QStringLiteral("/lists"));
}

struct ReadCase {
    const char* what;
    PlaylistFormat format;
    QByteArray bytes;
    Entries entries;
    int skipped = 0;
};

void ExpectEachReads(std::span<const ReadCase> cases)
{
    for (const ReadCase& test : cases) {
        const PlaylistReadResult result = Read(test.format, test.bytes);
        EXPECT_EQ(result.status, PlaylistStatus::Ok) << test.what << ": " << result.detail.toStdString();
        EXPECT_EQ(result.reading.entries, test.entries) << test.what;
        EXPECT_EQ(result.reading.skipped, test.skipped) << test.what;
    }
}

TEST(PlaylistsTest, ReadsTheFilesOtherPlayersWrite)
{
    const QString odd = FileNameFromBytes("/m/bad\xff.mp3");
    const ReadCase cases[] = {
        {"M3U8 with a byte-order mark, CRLF, comments, URLs and relative paths", PlaylistFormat::M3u8,
         "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:61.5,First one\r\nsub/a.mp3\r\n\r\n# a comment\r\n/abs/b%20c.mp3\r\n"
         "#EXTINF:12,Radio\r\nhttp://example.org/stream\r\nfile:///m/%E9%9F%B3%20x.mp3\r\nRTSP://host/x\r\n"
         "mms://host/y\r\nfile://localhost/m/l.mp3\r\nfile://server/share/s.mp3\r\n../up/c.mp3\r\nC:d.mp3\r\n"
         "file:///m/bad%FF.mp3\r\n",
         {{"/lists/sub/a.mp3", "First one", 61.5},
          {"/abs/b%20c.mp3", "", -1},
          {QStringLiteral("/m/音 x.mp3"), "", -1},
          {"/m/l.mp3", "", -1},
          {"/up/c.mp3", "", -1},
          {"/lists/C:d.mp3", "", -1},
          {odd, "", -1}},
         4},
        {"M3U that is not UTF-8 is Latin-1", PlaylistFormat::M3u, "#EXTINF:-1,Caf\xe9\n/m/Caf\xe9.mp3\n",
         {{QStringLiteral("/m/Café.mp3"), QStringLiteral("Café"), -1}}},
        {"M3U that is UTF-8", PlaylistFormat::M3u, "/m/Caf\xc3\xa9.mp3", {{QStringLiteral("/m/Café.mp3"), "", -1}}},
        {"M3U8 keeps the bytes that are not UTF-8", PlaylistFormat::M3u8, "/m/bad\xff.mp3\n", {{odd, "", -1}}},
        {"PLS keys in any case, entries by number", PlaylistFormat::Pls,
         "[Playlist]\r\nNumberOfEntries=3\r\nfile3=http://example.org/x\r\nFILE2=b.mp3\r\nTitle2=Bee\r\n"
         "length2=-1\r\nFile1=file:///m/a%20b.mp3\r\nLength1=90\r\nVersion=2\r\n[other]\r\nFile9=/nope.mp3\r\n",
         {{"/m/a b.mp3", "", 90}, {"/lists/b.mp3", "Bee", -1}},
         1},
        {"XSPF in the ways players write it", PlaylistFormat::Xspf,
         R"(<?xml version="1.0" encoding="UTF-8"?>
<playlist version="1" xmlns="http://xspf.org/ns/0/" xmlns:vlc="http://www.videolan.org/vlc/playlist/ns/0/">
  <title>Mine</title>
  <trackList>
    <track><location>file:///m/%E9%9F%B3.mp3</location><title>Sound</title><duration>1500</duration>
      <extension application="http://www.videolan.org/vlc/playlist/0"><vlc:id>0</vlc:id></extension></track>
    <track><location>/plain/a b.mp3</location><location>file:///second.mp3</location></track>
    <track><location>sub/My%20Song.mp3</location></track>
    <track><location>https://example.org/x.mp3</location></track>
    <track><title>no location</title></track>
  </trackList>
</playlist>)",
         {{QStringLiteral("/m/音.mp3"), "Sound", 1.5}, {"/plain/a b.mp3", "", -1}, {"/lists/sub/My Song.mp3", "", -1}},
         1},
        {"empty M3U", PlaylistFormat::M3u8, "", {}},
        {"M3U with its header only", PlaylistFormat::M3u, "#EXTM3U\n", {}},
        {"PLS without entries", PlaylistFormat::Pls, "[playlist]\nNumberOfEntries=0\nVersion=2\n", {}},
        {"XSPF without tracks", PlaylistFormat::Xspf, R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"/>)", {}},
    };
    ExpectEachReads(cases);
}

TEST(PlaylistsTest, DecodesEachLineAsUtf8OrElseLatin1)
{
    const QString cafe = QStringLiteral("Café");
    const ReadCase cases[] = {
        {"M3U in UTF-8 with one Latin-1 line", PlaylistFormat::M3u,
         "#EXTM3U\n#EXTINF:1,Caf\xc3\xa9\n/m/Caf\xc3\xa9.mp3\n#EXTINF:2,Caf\xe9\n/m/Caf\xe9 2.mp3\n/m/\xe9\xe9.mp3\n",
         {{"/m/" + cafe + ".mp3", cafe, 1}, {"/m/" + cafe + " 2.mp3", cafe, 2}, {QStringLiteral("/m/éé.mp3"), "", -1}}},
        // A path's bytes that are not UTF-8 in an M3U8 are those of the
        // file's name; a title is text.
        {"M3U8 with a Latin-1 title", PlaylistFormat::M3u8,
         "#EXTINF:3,Caf\xe9\n/m/bad\xff.mp3\n#EXTINF:4,Caf\xc3\xa9\n/m/Caf\xc3\xa9.mp3\n",
         {{FileNameFromBytes("/m/bad\xff.mp3"), cafe, 3}, {"/m/" + cafe + ".mp3", cafe, 4}}},
        {"PLS in UTF-8 with one Latin-1 line", PlaylistFormat::Pls,
         "[playlist]\nFile1=/m/Caf\xc3\xa9.mp3\nTitle1=Caf\xe9\nFile2=/m/Caf\xe9.mp3\nTitle2=Caf\xc3\xa9\n",
         {{"/m/" + cafe + ".mp3", cafe, -1}, {"/m/" + cafe + ".mp3", cafe, -1}}},
    };
    ExpectEachReads(cases);
}

TEST(PlaylistsTest, ReadsEachLineWhateverEndsIt)
{
    const Entries two{{"/m/a.mp3", "One", 5}, {"/m/b.mp3", "", -1}};
    const ReadCase cases[] = {
        {"M3U with CR line ends", PlaylistFormat::M3u, "#EXTM3U\r#EXTINF:5,One\r/m/a.mp3\r/m/b.mp3\r", two},
        {"M3U8 with CR line ends, no header", PlaylistFormat::M3u8, "#EXTINF:5,One\r/m/a.mp3\r\r/m/b.mp3", two},
        {"M3U with every line end", PlaylistFormat::M3u, "#EXTINF:5,One\r\n/m/a.mp3\r/m/b.mp3\n", two},
        {"PLS with CR line ends", PlaylistFormat::Pls,
         "[playlist]\rFile1=/m/a.mp3\rTitle1=One\rLength1=5\rFile2=/m/b.mp3\r", two},
    };
    ExpectEachReads(cases);
    // A CRLF is one line end, a lone CR one of its own.
    EXPECT_TRUE(Read(PlaylistFormat::Pls, "[playlist]\r\n\r\njunk\r\n").detail.contains("line 3"));
    EXPECT_TRUE(Read(PlaylistFormat::Pls, "[playlist]\r\rjunk\r").detail.contains("line 3"));
}

TEST(PlaylistsTest, TakesTheFirstLocationOfATrackThatExistsElseTheFirstLocalOne)
{
    QTemporaryDir folder;
    const QString there = folder.filePath("there.mp3");
    ASSERT_TRUE(test::WriteFile(there));
    const QByteArray uri = QUrl::fromLocalFile(folder.path()).toEncoded();
    const QByteArray xspf = R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>
        <track><location>http://example.org/a.mp3</location><location>)" + uri + R"(/missing.mp3</location>
               <location>)" + uri + R"(/there.mp3</location><location>/nowhere/z.mp3</location></track>
        <track><location>rtsp://host/b</location><location>/nowhere/one.mp3</location>
               <location>/nowhere/two.mp3</location></track>
        <track><location>missing.mp3</location><location>there.mp3</location></track>
        <track><location/><location>  </location><location>/nowhere/three.mp3</location></track>
        <track><location>https://example.org/c.mp3</location><location>https://example.org/d.mp3</location></track>
        </trackList></playlist>)";
    const PlaylistReadResult result = ReadPlaylist(xspf, PlaylistFormat::Xspf, folder.path());
    ASSERT_EQ(result.status, PlaylistStatus::Ok) << result.detail.toStdString();
    EXPECT_EQ(result.reading.entries,
              Entries({{there, "", -1},
                       {"/nowhere/one.mp3", "", -1},
                       {there, "", -1},
                       {"/nowhere/three.mp3", "", -1}}));
    EXPECT_EQ(result.reading.skipped, 1);
}

TEST(PlaylistsTest, RefusesEntriesWithANulByteAsNonLocalOnes)
{
    using namespace Qt::StringLiterals;
    const Entries ok{{"/m/ok.mp3", "", -1}};
    const ReadCase cases[] = {
        {"M3U with a raw NUL", PlaylistFormat::M3u, "/m/a\0b.mp3\n/m/ok.mp3\n"_ba, ok, 1},
        {"M3U8 with %00", PlaylistFormat::M3u8, "file:///m/a%00b.mp3\n/m/ok.mp3\n", ok, 1},
        {"PLS with a raw NUL and %00", PlaylistFormat::Pls,
         "[playlist]\nFile1=/m/a\0b.mp3\nFile2=/m/ok.mp3\nFile3=file:///m/c%00\n"_ba, ok, 2},
        {"XSPF with %00", PlaylistFormat::Xspf,
         R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>
              <track><location>file:///m/a%00b.mp3</location></track>
              <track><location>sub%00/x.mp3</location></track>
              <track><location>file:///m/a%00b.mp3</location><location>/m/ok.mp3</location></track>
            </trackList></playlist>)",
         ok, 2},
    };
    ExpectEachReads(cases);
}

TEST(PlaylistsTest, PathsAreCleanAndNoLongerThanTheSystemTakes)
{
    const QString tooLong = "/m/" + QString(4093, u'a');
    const QString longest = "/m/" + QString(4092, u'a');
    const Entries ok{{"/etc/shadow", "", -1}, {longest, "", -1}};
    const ReadCase cases[] = {
        {"M3U", PlaylistFormat::M3u,
         "file:///tmp/%2e%2e/%2e%2e/etc/shadow\n" + tooLong.toUtf8() + "\n" + longest.toUtf8() + "\n", ok, 1},
        {"PLS", PlaylistFormat::Pls,
         "[playlist]\nFile1=/tmp/../../etc/shadow\nFile2=" + tooLong.toUtf8() + "\nFile3=" + longest.toUtf8() + "\n",
         ok, 1},
        {"XSPF", PlaylistFormat::Xspf,
         R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>
              <track><location>%2e%2e/%2E%2E/etc/shadow</location></track>
              <track><location>)" + tooLong.toUtf8() + R"(</location></track>
              <track><location>file://)" + longest.toUtf8() + R"(</location></track>
            </trackList></playlist>)",
         ok, 1},
    };
    ExpectEachReads(cases);
}

TEST(PlaylistsTest, LongTitlesAreCutBetweenCharacters)
{
    const QString pair = QStringLiteral("🎵");
    const QString cut = QString(kMaxNameChars - 1, u'x');
    // The pair would straddle the bound: it goes whole.
    const QByteArray straddling = (cut + pair + "tail").toUtf8();
    const QByteArray huge(30 << 20, 'y');
    const ReadCase cases[] = {
        {"M3U", PlaylistFormat::M3u8, "#EXTINF:1," + straddling + "\n/m/a.mp3\n#EXTINF:2," + huge + "\n/m/b.mp3\n",
         {{"/m/a.mp3", cut, 1}, {"/m/b.mp3", QString(kMaxNameChars, u'y'), 2}}},
        {"PLS", PlaylistFormat::Pls, "[playlist]\nFile1=/m/a.mp3\nTitle1=" + straddling + "\n",
         {{"/m/a.mp3", cut, -1}}},
        {"XSPF", PlaylistFormat::Xspf,
         R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>
              <track><location>/m/a.mp3</location><title>)" + straddling + R"(</title></track>
            </trackList></playlist>)",
         {{"/m/a.mp3", cut, -1}}},
    };
    ExpectEachReads(cases);
    const QString fits = cut + u'z';
    EXPECT_EQ(Read(PlaylistFormat::M3u, "#EXTINF:1," + fits.toUtf8() + "\n/m/a.mp3\n").reading.entries[0].title, fits);
}

TEST(PlaylistsTest, RelativePathsInADeepFolderAreBoundedInAll)
{
    // Each relative entry repeats the folder: a playlist of a few hundred
    // kilobytes names more characters of paths than it may.
    QString folder;
    while (folder.size() < 3785)
        folder += '/' + QString(250, u'd');
    const qsizetype entries = kMaxPlaylistPathChars / folder.size() + 100;
    QByteArray m3u;
    QByteArray pls = "[playlist]\n";
    QByteArray xspf = R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>)";
    for (qsizetype i = 0; i < entries; ++i) {
        m3u += "a\n";
        pls += "File" + QByteArray::number(i + 1) + "=a\n";
        xspf += "<track><location>a</location></track>";
    }
    xspf += "</trackList></playlist>";
    for (const auto& [format, bytes] :
         {std::pair{PlaylistFormat::M3u, m3u}, std::pair{PlaylistFormat::Pls, pls}, std::pair{PlaylistFormat::Xspf, xspf}}) {
        const PlaylistReadResult result = ReadPlaylist(bytes, format, folder);
        EXPECT_EQ(result.status, PlaylistStatus::TooLarge) << bytes.left(20).toStdString();
        EXPECT_EQ(result.problem, "ﾌﾟﾚｲﾘｽﾄが大きすぎます。");
        EXPECT_TRUE(result.reading.entries.empty());
    }
    // The same entries from a short folder are read.
    EXPECT_EQ(ReadPlaylist(m3u, PlaylistFormat::M3u, "/m").reading.entries.size(), size_t(entries));
}

TEST(PlaylistsTest, LengthsBeyondAMediaTimeAreUnknownReadOrWritten)
{
    const ReadCase cases[] = {
        {"M3U", PlaylistFormat::M3u,
         "#EXTINF:1e20,Big\n/m/a.mp3\n#EXTINF:21474836,\n/m/b.mp3\n#EXTINF:21474837,\n/m/c.mp3\n",
         {{"/m/a.mp3", "Big", -1}, {"/m/b.mp3", "", 21474836}, {"/m/c.mp3", "", -1}}},
        {"XSPF", PlaylistFormat::Xspf,
         R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>
              <track><location>/m/a.mp3</location><duration>1e23</duration></track>
              <track><location>/m/b.mp3</location><duration>21474836470</duration></track>
              <track><location>/m/c.mp3</location><duration>21474836480</duration></track>
            </trackList></playlist>)",
         {{"/m/a.mp3", "", -1}, {"/m/b.mp3", "", 21474836.47}, {"/m/c.mp3", "", -1}}},
        {"PLS", PlaylistFormat::Pls,
         "[playlist]\nFile1=/m/a.mp3\nLength1=99999999999999999999999\nFile2=/m/b.mp3\nLength2=1e300\n",
         {{"/m/a.mp3", "", -1}, {"/m/b.mp3", "", -1}}},
    };
    ExpectEachReads(cases);

    // Whatever length an entry is given, none is written that wrapped
    // around: a length beyond a media time is written as unknown.
    const Entries entries{{"/m/a.mp3", "Big", 1e20},
                          {"/m/b.mp3", "", 1e300},
                          {"/m/c.mp3", "", std::numeric_limits<double>::infinity()},
                          {"/m/d.mp3", "", std::numeric_limits<double>::quiet_NaN()},
                          {"/m/e.mp3", "", kMaxEntrySeconds}};
    EXPECT_EQ(PlaylistText(entries, PlaylistFormat::M3u),
              "#EXTM3U\n#EXTINF:-1,Big\n/m/a.mp3\n/m/b.mp3\n/m/c.mp3\n/m/d.mp3\n#EXTINF:21474836,\n/m/e.mp3\n");
    const QByteArray pls = PlaylistText(entries, PlaylistFormat::Pls);
    for (const char* length : {"Length1=-1\n", "Length2=-1\n", "Length3=-1\n", "Length4=-1\n", "Length5=21474836\n"})
        EXPECT_TRUE(pls.contains(length)) << length << " in " << pls.toStdString();
    const QByteArray xspf = PlaylistText(entries, PlaylistFormat::Xspf);
    EXPECT_EQ(xspf.count("<duration>"), 1) << xspf.toStdString();
    EXPECT_TRUE(xspf.contains("<duration>21474836470</duration>"));
}

TEST(PlaylistsTest, MissingFilesAreLeftOutAndCountedWithTheOtherSkippedEntries)
{
    QTemporaryDir folder;
    const QString there = folder.filePath("there.mp3");
    ASSERT_TRUE(test::WriteFile(there));
    const QString dangling = folder.filePath("dangling.mp3");
    ASSERT_TRUE(QFile::link(folder.filePath("gone.mp3"), dangling));
    PlaylistReading reading{{{folder.filePath("missing.mp3"), "Missing", 3},
                             {there, "There", 4},
                             {dangling, "", -1},
                             {there + "/under-a-file.mp3", "", -1},
                             {folder.path(), "", -1},
                             {there, "", -1}},
                            1};
    LeaveOutMissingFiles(reading);
    EXPECT_EQ(reading.entries, Entries({{there, "There", 4}, {folder.path(), "", -1}, {there, "", -1}}));
    EXPECT_EQ(reading.skipped, 4);
}

TEST(PlaylistsTest, RefusesMalformedPlaylistsSayingWhere)
{
    const std::tuple<PlaylistFormat, QByteArray, const char*> cases[] = {
        {PlaylistFormat::Pls, "", "no [playlist] section"},
        {PlaylistFormat::Pls, "File1=/a.mp3\n", "no [playlist] section"},
        {PlaylistFormat::Pls, "[playlist\nFile1=/a.mp3\n[other]\nFile2=/b.mp3\n", "no [playlist] section"},
        {PlaylistFormat::Xspf, "", "line 1"},
        {PlaylistFormat::Xspf, "<playlist>\n<trackList>\n<track>\n</trackList>", "line 4"},
        {PlaylistFormat::Xspf, "<html/>", "not an XSPF playlist"},
        {PlaylistFormat::Xspf, R"(<playlist xmlns="urn:other"/>)", "not an XSPF playlist"},
        {PlaylistFormat::Xspf, "<playlist/>\n<junk/>", "line 2"},
    };
    for (const auto& [format, bytes, where] : cases) {
        const PlaylistReadResult result = Read(format, bytes);
        EXPECT_EQ(result.status, PlaylistStatus::Malformed) << bytes.toStdString();
        EXPECT_TRUE(result.detail.contains(QLatin1String(where))) << result.detail.toStdString();
        EXPECT_FALSE(result.problem.isEmpty());
    }
}

// What the playlist category logs while `read` runs.
QStringList PlaylistLog(const std::function<void()>& read)
{
    QLoggingCategory::setFilterRules(QStringLiteral("kivo.playlist.debug=true"));
    QStringList lines;
    for (const test::LogLine& line : test::LoggedWhile(read))
        if (line.category == QLatin1String("kivo.playlist"))
            lines.append(line.text);
    QLoggingCategory::setFilterRules(QString());
    return lines;
}

TEST(PlaylistsTest, PassesOverPlsLinesThatAreNotKeyValueAndCountsThem)
{
    const QByteArray pls = "; written by hand\nnot a key\nFile9=/before/any/section.mp3\n[playlist]\n"
                           "File1=/m/1.mp3\nthe second one:\nFile2=/m/2.mp3\nFile3=/m/3.mp3\n[\n"
                           "File4=/m/4.mp3\nFile5=/m/5.mp3\nNumberOfEntries=5\n";
    const PlaylistReadResult result = Read(PlaylistFormat::Pls, pls);
    ASSERT_EQ(result.status, PlaylistStatus::Ok) << result.detail.toStdString();
    ASSERT_EQ(result.reading.entries.size(), 5U);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(result.reading.entries[i].path, QStringLiteral("/m/%1.mp3").arg(i + 1));
    EXPECT_EQ(result.detail, "passed over 4 lines that are not key=value in [playlist] (the first: line 2)");

    QTemporaryDir folder;
    const QString file = folder.filePath("junk.pls");
    test::WriteFile(file, pls);
    const QStringList log = PlaylistLog([&] { EXPECT_EQ(ReadPlaylistFile(file).reading.entries.size(), 5U); });
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(file) && log[0].contains("passed over 4 lines")) << log[0].toStdString();
}

TEST(PlaylistsTest, WritesWhatReadsBackTheSame)
{
    EXPECT_EQ(PlaylistText({{"/m/a.mp3", "Song, one", 61.4}, {"/m/b.mp3", "", -1}, {"/m/c.mp3", "", 3}},
                           PlaylistFormat::M3u8),
              "#EXTM3U\n#EXTINF:61,Song, one\n/m/a.mp3\n/m/b.mp3\n#EXTINF:3,\n/m/c.mp3\n");

    // Paths that only a file URI keeps: a byte that is not UTF-8, a line
    // break, a space at the end; whole seconds where the format has only
    // those.
    const Entries entries{{QStringLiteral("/m/音 楽.mp3"), QStringLiteral("ﾀｲﾄﾙ & <b>"), 120},
                          {FileNameFromBytes("/m/bad\xff.mp3"), "", -1},
                          {"/m/line\nbreak.mp3", "a title", 0},
                          {"/m/space at end ", "", 7},
                          {"/m/100%.mp3", "", -1}};
    for (PlaylistFormat format : {PlaylistFormat::M3u, PlaylistFormat::M3u8, PlaylistFormat::Pls, PlaylistFormat::Xspf}) {
        const PlaylistReadResult result = Read(format, PlaylistText(entries, format));
        EXPECT_EQ(result.status, PlaylistStatus::Ok) << result.detail.toStdString();
        EXPECT_EQ(result.reading.entries, entries) << PlaylistText(entries, format).toStdString();
    }
    // A title's bytes that are not UTF-8 would turn a whole M3U or PLS into
    // Latin-1: they are written as U+FFFD.
    EXPECT_TRUE(PlaylistText({{"/m/a.mp3", FileNameFromBytes("x\xff"), -1}}, PlaylistFormat::Pls)
                    .contains("Title1=x\xEF\xBF\xBD\n"));
    Entries precise{{"/m/a.mp3", "", 1.234}};
    EXPECT_EQ(Read(PlaylistFormat::Xspf, PlaylistText(precise, PlaylistFormat::Xspf)).reading.entries, precise);
}

TEST(PlaylistsTest, FilesByTheirExtension)
{
    EXPECT_EQ(PlaylistFormatOf(u"/a/list.M3U"), PlaylistFormat::M3u);
    EXPECT_EQ(PlaylistFormatOf(u"list.m3u8"), PlaylistFormat::M3u8);
    EXPECT_EQ(PlaylistFormatOf(u"x.Pls"), PlaylistFormat::Pls);
    EXPECT_EQ(PlaylistFormatOf(u"x.XSPF"), PlaylistFormat::Xspf);
    EXPECT_FALSE(IsPlaylistFile(u"/a.m3u/clip.avi"));
    EXPECT_FALSE(IsPlaylistFile(u"m3u"));
    // An export named without a playlist's extension gets the chosen one.
    EXPECT_EQ(ExportFileName("/a/mine", PlaylistFormat::Xspf), "/a/mine.xspf");
    EXPECT_EQ(ExportFileName("/a/mine.txt", PlaylistFormat::M3u8), "/a/mine.txt.m3u8");
    EXPECT_EQ(ExportFileName("/a/mine.PLS", PlaylistFormat::M3u8), "/a/mine.PLS");

    QTemporaryDir folder;
    const QString list = folder.filePath("list.XSPF");
    ASSERT_EQ(WritePlaylistFile(list, {{"/m/a.mp3", "A", 2}}), std::nullopt);
    test::WriteFile(folder.filePath("relative.pls"), "[playlist]\nFile1=sub/x.mp3\n");
    EXPECT_EQ(ReadPlaylistFile(list).reading.entries, Entries({{"/m/a.mp3", "A", 2}}));
    EXPECT_EQ(ReadPlaylistFile(folder.filePath("relative.pls")).reading.entries,
              Entries({{folder.filePath("sub/x.mp3"), "", -1}}));
    const std::optional<WriteFailure> failure = WritePlaylistFile(folder.filePath("list.txt"), {});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, QStringLiteral("ﾌﾟﾚｲﾘｽﾄの種類が分かりません。"));

    // Neither a pipe nor a file beyond the limit is read.
    const QString pipe = folder.filePath("pipe.m3u");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(ReadPlaylistFile(pipe).status, PlaylistStatus::CannotOpen);
    const QString huge = folder.filePath("huge.m3u8");
    test::WriteFile(huge);
    ASSERT_EQ(::truncate(QFile::encodeName(huge).constData(), kMaxPlaylistBytes + 1), 0);
    EXPECT_EQ(ReadPlaylistFile(huge).status, PlaylistStatus::TooLarge);
}

}  // namespace
}  // namespace kivo
