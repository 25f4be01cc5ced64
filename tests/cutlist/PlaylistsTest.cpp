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

#include <algorithm>
#include <limits>
#include <span>

namespace kivo {

void PrintTo(const PlaylistEntry& entry, std::ostream* out)
{
    *out << "{" << PrintableFileName(entry.path).toStdString() << ", " << entry.title.toStdString() << ", "
         << entry.seconds << "}";
}

namespace {

using namespace Qt::StringLiterals;
using Entries = std::vector<PlaylistEntry>;
using enum PlaylistFormat;

PlaylistReadResult Read(PlaylistFormat format, QByteArrayView bytes)
{
    return ReadPlaylist(bytes, format, QStringLiteral("/lists"));
}

// An XSPF playlist of these tracks.
QByteArray XspfOf(const QByteArray& tracks)
{
    return R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"><trackList>)" + tracks + "</trackList></playlist>";
}
// A track of these locations, then the other elements given.
QByteArray Track(const QByteArrayList& locations, const QByteArray& more = {})
{
    return "<track><location>" + locations.join("</location><location>") + "</location>" + more + "</track>";
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
        SCOPED_TRACE(test.what);
        const PlaylistReadResult result = Read(test.format, test.bytes);
        EXPECT_EQ(result.status, PlaylistStatus::Ok) << result.detail.toStdString();
        EXPECT_EQ(std::tuple(result.reading.entries, result.reading.skipped), std::tuple(test.entries, test.skipped));
    }
}

TEST(PlaylistsTest, ReadsTheFilesOtherPlayersWriteWhateverTheirEncodingAndLineEnds)
{
    const QString cafe = u"Café"_s;
    const Entries two{{"/m/a.mp3", "One", 5}, {"/m/b.mp3", "", -1}};
    const ReadCase cases[] = {
        {"M3U8 with a byte-order mark, CRLF, comments, URLs and relative paths", M3u8,
         "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:61.5,First one\r\nsub/a.mp3\r\n\r\n# a comment\r\n/abs/b%20c.mp3\r\n"
         "#EXTINF:12,Radio\r\nhttp://example.org/stream\r\nfile:///m/%E9%9F%B3%20x.mp3\r\nRTSP://host/x\r\n"
         "mms://host/y\r\nfile://localhost/m/l.mp3\r\nfile://server/share/s.mp3\r\n../up/c.mp3\r\nC:d.mp3\r\n",
         {{"/lists/sub/a.mp3", "First one", 61.5}, {"/abs/b%20c.mp3", "", -1}, {u"/m/音 x.mp3"_s, "", -1},
          {"/m/l.mp3", "", -1}, {"/up/c.mp3", "", -1}, {"/lists/C:d.mp3", "", -1}},
         4},
        {"PLS keys in any case, entries by number", Pls,
         "[Playlist]\r\nNumberOfEntries=3\r\nfile3=http://example.org/x\r\nFILE2=b.mp3\r\nTitle2=Bee\r\n"
         "length2=-1\r\nFile1=file:///m/a%20b.mp3\r\nLength1=90\r\nVersion=2\r\n[other]\r\nFile9=/nope.mp3\r\n",
         {{"/m/a b.mp3", "", 90}, {"/lists/b.mp3", "Bee", -1}}, 1},
        {"XSPF in the ways players write it", Xspf,
         R"(<?xml version="1.0" encoding="UTF-8"?>
<playlist version="1" xmlns="http://xspf.org/ns/0/" xmlns:vlc="http://www.videolan.org/vlc/playlist/ns/0/">
  <title>Mine</title><trackList>
    <track><location>file:///m/%E9%9F%B3.mp3</location><title>Sound</title><duration>1500</duration>
      <extension application="http://www.videolan.org/vlc/playlist/0"><vlc:id>0</vlc:id></extension></track>
    <track><location>/plain/a b.mp3</location></track><track><location>sub/My%20Song.mp3</location></track>
    <track><location>https://example.org/x.mp3</location></track><track><title>no location</title></track>
  </trackList></playlist>)",
         {{u"/m/音.mp3"_s, "Sound", 1.5}, {"/plain/a b.mp3", "", -1}, {"/lists/sub/My Song.mp3", "", -1}}, 1},
        {"empty M3U", M3u8, "", {}},
        {"PLS without entries", Pls, "[playlist]\nNumberOfEntries=0\nVersion=2\n", {}},
        {"XSPF without tracks", Xspf, R"(<playlist version="1" xmlns="http://xspf.org/ns/0/"/>)", {}},
        // One Latin-1 line no longer turns a whole UTF-8 file into Latin-1.
        {"M3U, lines in UTF-8 or else Latin-1", M3u,
         "#EXTM3U\n#EXTINF:1,Caf\xc3\xa9\n/m/Caf\xc3\xa9.mp3\n#EXTINF:2,Caf\xe9\n/m/Caf\xe9 2.mp3\n",
         {{"/m/" + cafe + ".mp3", cafe, 1}, {"/m/" + cafe + " 2.mp3", cafe, 2}}},
        // A path's bytes that are not UTF-8 in an M3U8 are those of the
        // file's name; a title is text.
        {"M3U8, lines in UTF-8 or else Latin-1", M3u8,
         "#EXTINF:3,Caf\xe9\n/m/bad\xff.mp3\n#EXTINF:4,Caf\xc3\xa9\n/m/Caf\xc3\xa9.mp3\n",
         {{FileNameFromBytes("/m/bad\xff.mp3"), cafe, 3}, {"/m/" + cafe + ".mp3", cafe, 4}}},
        {"PLS, lines in UTF-8 or else Latin-1", Pls,
         "[playlist]\nFile1=/m/Caf\xc3\xa9.mp3\nTitle1=Caf\xe9\nFile2=/m/Caf\xe9.mp3\nTitle2=Caf\xc3\xa9\n",
         {{"/m/" + cafe + ".mp3", cafe, -1}, {"/m/" + cafe + ".mp3", cafe, -1}}},
        // Old Mac line ends once gave nothing, or one path holding every entry
        // (the PLS reader splits its lines with the same code).
        {"M3U8 with CR line ends, no header", M3u8, "#EXTINF:5,One\r/m/a.mp3\r\r/m/b.mp3", two},
        {"M3U with every line end", M3u, "#EXTINF:5,One\r\n/m/a.mp3\r/m/b.mp3\n", two},
    };
    ExpectEachReads(cases);
    // A CRLF is one line end, a lone CR one of its own.
    EXPECT_TRUE(Read(Pls, "[playlist]\r\n\r\njunk\r\n").detail.contains("line 3"));
    EXPECT_TRUE(Read(Pls, "[playlist]\r\rjunk\r").detail.contains("line 3"));
}

TEST(PlaylistsTest, TakesTheFirstLocationOfATrackThatExistsElseTheFirstLocalOne)
{
    QTemporaryDir folder;
    const QString there = folder.filePath("there.mp3");
    ASSERT_TRUE(test::WriteFile(there));
    const QByteArray uri = QUrl::fromLocalFile(folder.path()).toEncoded();
    const QByteArray xspf =
        XspfOf(Track({"http://example.org/a.mp3", uri + "/missing.mp3", uri + "/there.mp3", "/nowhere/z.mp3"}) +
               Track({"rtsp://host/b", "/nowhere/one.mp3", "/nowhere/two.mp3"}) + Track({"missing.mp3", "there.mp3"}) +
               Track({"", "  ", "/nowhere/three.mp3"}) +
               Track({"https://example.org/c.mp3", "https://example.org/d.mp3"}));
    const PlaylistReadResult result = ReadPlaylist(xspf, Xspf, folder.path());
    EXPECT_EQ(result.reading.entries,
              Entries({{there, "", -1}, {"/nowhere/one.mp3", "", -1}, {there, "", -1}, {"/nowhere/three.mp3", "", -1}}));
    EXPECT_EQ(result.reading.skipped, 1);
}

// Every reader takes its locations through LocalFileOfLocation (FileNamesTest):
// cut short at a NUL, an entry named another file. Long titles are cut
// between characters; lengths once wrapped around into the 32-bit media time.
// Every reader's titles and lengths are bounded by the same code: the rows
// of M3U titles and of the lengths of two units show it.
TEST(PlaylistsTest, RefusesWhatTheSystemWouldCutShortCleansTheRestAndBoundsTitlesAndLengths)
{
    const QByteArray tooLong = "/m/" + QByteArray(4093, 'a');
    const Entries ok{{"/etc/shadow", "", -1}, {"/m/ok.mp3", "", -1}};
    // The pair would straddle the bound: it goes whole.
    const QString cut = QString(kMaxNameChars - 1, u'x');
    const QByteArray straddling = (cut + u"🎵tail"_s).toUtf8();
    const ReadCase cases[] = {
        {"M3U", M3u, "file:///tmp/%2e%2e/%2e%2e/etc/shadow\n/m/a\0b.mp3\n"_ba + tooLong + "\n/m/ok.mp3\n", ok, 2},
        {"M3U8", M3u8, "/tmp/../../etc/shadow\nfile:///m/a%00b.mp3\n/m/ok.mp3\n", ok, 1},
        {"PLS", Pls,
         "[playlist]\nFile1=/tmp/../../etc/shadow\nFile2=/m/a\0b.mp3\nFile3=file:///m/c%00\nFile4="_ba + tooLong +
             "\nFile5=/m/ok.mp3\n",
         ok, 3},
        {"XSPF", Xspf,
         XspfOf(Track({"%2e%2e/%2E%2E/etc/shadow"}) + Track({"sub%00/x.mp3"}) + Track({tooLong}) +
                Track({"file:///m/a%00b.mp3", "file:///m/ok.mp3"})),
         ok, 2},
        {"M3U title", M3u8, "#EXTINF:1," + straddling + "\n/m/a.mp3\n#EXTINF:2," + QByteArray(30 << 20, 'y') + "\n/m/b.mp3\n",
         {{"/m/a.mp3", cut, 1}, {"/m/b.mp3", QString(kMaxNameChars, u'y'), 2}}},
        {"fitting title", M3u, "#EXTINF:1," + (cut + u'z').toUtf8() + "\n/m/a.mp3\n", {{"/m/a.mp3", cut + u'z', 1}}},
        {"M3U lengths", M3u, "#EXTINF:1e20,Big\n/m/a.mp3\n#EXTINF:21474836,\n/m/b.mp3\n#EXTINF:21474837,\n/m/c.mp3\n",
         {{"/m/a.mp3", "Big", -1}, {"/m/b.mp3", "", 21474836}, {"/m/c.mp3", "", -1}}},
        {"XSPF lengths", Xspf,
         XspfOf(Track({"/m/a.mp3"}, "<duration>1e23</duration>") + Track({"/m/b.mp3"}, "<duration>21474836470</duration>") +
              Track({"/m/c.mp3"}, "<duration>21474836480</duration>")),
         {{"/m/a.mp3", "", -1}, {"/m/b.mp3", "", 21474836.47}, {"/m/c.mp3", "", -1}}},
    };
    ExpectEachReads(cases);
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
    QByteArray tracks;
    for (qsizetype i = 0; i < entries; ++i) {
        m3u += "a\n";
        pls += "File" + QByteArray::number(i + 1) + "=a\n";
        tracks += Track({"a"});
    }
    for (const auto& [format, bytes] : {std::pair{M3u, m3u}, std::pair{Pls, pls}, std::pair{Xspf, XspfOf(tracks)}}) {
        const PlaylistReadResult result = ReadPlaylist(bytes, format, folder);
        EXPECT_EQ(result.status, PlaylistStatus::TooLarge) << bytes.left(20).toStdString();
        EXPECT_EQ(result.problem, "ﾌﾟﾚｲﾘｽﾄが大きすぎます。");
        EXPECT_TRUE(result.reading.entries.empty());
    }
    // The same entries from a short folder are read.
    EXPECT_EQ(ReadPlaylist(m3u, M3u, "/m").reading.entries.size(), size_t(entries));
}

TEST(PlaylistsTest, RefusesMalformedPlaylistsSayingWhere)
{
    const std::tuple<PlaylistFormat, QByteArray, const char*> cases[] = {
        {Pls, "[playlist\nFile1=/a.mp3\n[other]\nFile2=/b.mp3\n", "no [playlist] section"},
        {Xspf, "", "line 1"},
        {Xspf, "<playlist>\n<trackList>\n<track>\n</trackList>", "line 4"},
        {Xspf, R"(<playlist xmlns="urn:other"/>)", "not an XSPF playlist"},
        {Xspf, "<playlist/>\n<junk/>", "line 2"},
    };
    for (const auto& [format, bytes, where] : cases) {
        const PlaylistReadResult result = Read(format, bytes);
        EXPECT_EQ(result.status, PlaylistStatus::Malformed) << bytes.toStdString();
        EXPECT_TRUE(result.detail.contains(QLatin1String(where))) << result.detail.toStdString();
        EXPECT_FALSE(result.problem.isEmpty());
    }
}

// Such a file was once refused whole, where other players read it.
TEST(PlaylistsTest, PassesOverPlsLinesThatAreNotKeyValueAndCountsThem)
{
    const QByteArray pls = "; written by hand\nnot a key\nFile9=/before/any/section.mp3\n[playlist]\n"
                           "File1=/m/1.mp3\nthe second one:\nFile2=/m/2.mp3\n[\nFile3=/m/3.mp3\n";
    QTemporaryDir folder;
    const QString file = folder.filePath("junk.pls");
    test::WriteFile(file, pls);
    QLoggingCategory::setFilterRules(QStringLiteral("kivo.playlist.debug=true"));
    PlaylistReadResult result;
    const auto log = test::LoggedWhile([&] { result = ReadPlaylistFile(file); });
    QLoggingCategory::setFilterRules(QString());
    EXPECT_EQ(std::tuple(result.reading.entries, result.detail),
              std::tuple(Entries({{"/m/1.mp3", "", -1}, {"/m/2.mp3", "", -1}, {"/m/3.mp3", "", -1}}), "passed over 4 lines that are not key=value in [playlist] (the first: line 2)"));
    EXPECT_EQ(std::ranges::count_if(log, [&](const test::LogLine& line) {
                  return line.category == "kivo.playlist" && line.text.contains(file) && line.text.contains("passed over 4 lines");
              }), 1);
}

TEST(PlaylistsTest, WritesWhatReadsBackTheSame)
{
    EXPECT_EQ(PlaylistText({{"/m/a.mp3", "Song, one", 61.4}, {"/m/b.mp3", "", -1}}, M3u8),
              "#EXTM3U\n#EXTINF:61,Song, one\n/m/a.mp3\n/m/b.mp3\n");
    // Paths that only a file URI keeps: a byte that is not UTF-8, a line
    // break, a space at the end; whole seconds where the format has only
    // those.
    const Entries entries{{u"/m/音 楽.mp3"_s, u"ﾀｲﾄﾙ & <b>"_s, 120},
                          {FileNameFromBytes("/m/bad\xff.mp3"), "", -1},
                          {"/m/line\nbreak.mp3", "a title", 0},
                          {"/m/space at end ", "", 7},
                          {"/m/100%.mp3", "", -1}};
    for (PlaylistFormat format : {M3u, M3u8, Pls, Xspf}) {
        const PlaylistReadResult result = Read(format, PlaylistText(entries, format));
        EXPECT_EQ(result.reading.entries, entries) << PlaylistText(entries, format).toStdString();
    }
    // A control character anywhere, DEL and NUL among them, makes a URI too.
    EXPECT_EQ(PlaylistText({{"/m/a\x7f" "b\x01.mp3", "", -1}, {QString::fromUtf8("/m/c\0d", 6), "", -1}}, M3u8),
              "#EXTM3U\nfile:///m/a%7Fb%01.mp3\nfile:///m/c%00d\n");
    // A title's bytes that are not UTF-8 would turn a whole M3U or PLS into
    // Latin-1: they are written as U+FFFD.
    EXPECT_TRUE(PlaylistText({{"/m/a.mp3", FileNameFromBytes("x\xff"), -1}}, Pls).contains("Title1=x\xEF\xBF\xBD\n"));
    const Entries precise{{"/m/a.mp3", "", 1.234}};
    EXPECT_EQ(Read(Xspf, PlaylistText(precise, Xspf)).reading.entries, precise);
    // Lengths beyond a media time are written as unknown.
    const Entries huge{{"/m/a.mp3", "Big", 1e20},
                          {"/m/b.mp3", "", std::numeric_limits<double>::infinity()},
                          {"/m/c.mp3", "", std::numeric_limits<double>::quiet_NaN()},
                          {"/m/d.mp3", "", kMaxEntrySeconds}};
    // (PLS writes its lengths as M3U does.)
    EXPECT_EQ(PlaylistText(huge, M3u), "#EXTM3U\n#EXTINF:-1,Big\n/m/a.mp3\n/m/b.mp3\n/m/c.mp3\n#EXTINF:21474836,\n/m/d.mp3\n");
    const QByteArray xspf = PlaylistText(huge, Xspf);
    EXPECT_TRUE(xspf.count("<duration>") == 1 && xspf.contains("<duration>21474836470</duration>")) << xspf.toStdString();
}

TEST(PlaylistsTest, FilesByTheirExtension)
{
    EXPECT_EQ(std::pair(PlaylistFormatOf(u"/a/list.M3U"), PlaylistFormatOf(u"x.XSPF")),
              std::pair(std::optional(M3u), std::optional(Xspf)));
    EXPECT_FALSE(IsPlaylistFile(u"/a.m3u/clip.avi") || IsPlaylistFile(u"m3u"));
    // An export named without a playlist's extension gets the chosen one.
    EXPECT_EQ(std::pair(ExportFileName("/a/mine.txt", M3u8), ExportFileName("/a/mine.PLS", M3u8)), std::pair(QString("/a/mine.txt.m3u8"), QString("/a/mine.PLS")));

    QTemporaryDir folder;
    test::WriteFile(folder.filePath("relative.pls"), "[playlist]\nFile1=sub/x.mp3\n");
    EXPECT_EQ(ReadPlaylistFile(folder.filePath("relative.pls")).reading.entries,
              Entries({{folder.filePath("sub/x.mp3"), "", -1}}));
    const std::optional<WriteFailure> failure = WritePlaylistFile(folder.filePath("list.txt"), {});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, u"ﾌﾟﾚｲﾘｽﾄの種類が分かりません。"_s);

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
