#include "ByteFolder.h"
#include "ScenarioSamples.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "cutlist/FileNames.h"
#include "cutlist/ScenarioFile.h"

#include <QImage>
#include <QtCore>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kivo {
namespace {

using test::Media;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

constexpr rlim_t kTwoGigabytes = rlim_t{2} << 30;

// Runs the built kvotool in `folder`, if given, in `addressSpace` bytes of
// memory. The arguments reach it as the bytes of the file names they are
// (QProcess would pass them through UTF-8).
ToolRun RunKvotool(const QStringList& arguments, const QString& folder = {}, rlim_t addressSpace = RLIM_INFINITY)
{
    QList<QByteArray> bytes{KVOTOOL_PATH};
    for (const QString& argument : arguments)
        bytes.append(FileNameBytes(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setChildProcessModifier([&argv, addressSpace] {
        const rlimit limit{addressSpace, addressSpace};
        if (addressSpace != RLIM_INFINITY)
            ::setrlimit(RLIMIT_AS, &limit);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    });
    process.start(QStringLiteral(KVOTOOL_PATH), {});
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

bool Says(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }
// What the tool printed, read as JSON (which, unlike most readers, keeps lone surrogates).
QJsonDocument Json(const ToolRun& run) { return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)); }

class Kvotool : public ::testing::Test {
protected:
    QString At(const char* name) const { return FileNameFromBytes(m_folder.Path(name)); }
    QString File(const char* name, const QByteArray& bytes)
    {
        EXPECT_TRUE(test::WriteFile(At(name), bytes));
        return At(name);
    }
    // What `kvotool dump --json` makes of the scenario `name`.
    static QJsonObject Dump(const QString& scenario)
    {
        const ToolRun run = RunKvotool({"dump", "--json", scenario});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return Json(run).object();
    }

    test::ByteFolder m_folder;
};

// What QJsonDocument makes of the scenario, each version with its own keys:
// the form the streamed output keeps. The values are the reader's.
std::string DocumentJson(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const Scenario scenario = ReadScenario(buffer).scenario;
    QJsonObject json{{"version", scenario.version}, {"paths", QJsonArray::fromStringList(scenario.paths)}};
    QJsonArray cache;
    for (const MEDIARECORD& entry : scenario.cache) {
        cache.append(QJsonObject{{"path", entry.strPath}, {"size", static_cast<qint64>(entry.dwSize)},
                                 {"modified", entry.timeModified}, {"length", entry.nLength},
                                 {"thumbnail_bytes", qint64{entry.dwReserved}}});
    }
    if (scenario.version >= 20) {
        json["current"] = scenario.current;
        json["position"] = scenario.position;
        json["cache"] = cache;
    }
    if (scenario.version >= 30)
        json["names"] = QJsonArray::fromStringList(scenario.names);
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

TEST_F(Kvotool, DumpJsonIsByteForByteWhatTheJsonDocumentWritesTheTextEscapesWhatIsNoTextAndUsageErrorsAndBadFilesEndWithTheirStatus)
{
    // Texts to escape: controls, a quote, a backslash, a lone surrogate
    // (the byte 0xFF), a surrogate pair and DEL.
    const QString odd = FileNameFromBytes("/m/\x01\t\"q\"\\b\xff") + QStringLiteral("\U0001F600\x7f.mpg");
    const QByteArray oddFile = samples::Bytes().Str("KivoDSv30").I32(1).Raw(samples::Wide(odd)).I32(-1).I32(-5).I32(0)
                                   .Raw(samples::Wide(odd)).U32(7).I32(-2).I32(3).U32(0).Raw(samples::Wide(odd)).Data();
    std::vector<QByteArray> files = samples::AllSamples();
    files.push_back(oddFile);
    for (const QByteArray& bytes : files) {
        const ToolRun run = RunKvotool({"dump", "--json", File("same.kvo", bytes)});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, DocumentJson(bytes));
    }
    // The text form can be shown on a terminal (the escapes are FileNamesTest's).
    const ToolRun text = RunKvotool({"dump", File("odd.kvo", oddFile)});
    EXPECT_TRUE(!Says(text.out, "\x01") && Says(text.out, "  0: /m/\\x01\\t\"q\"\\\\b\\xff😀\\x7f.mpg\n")) << text.out;
    const ToolRun summary = RunKvotool({"dump", File("list.kvo", samples::Version30File())});
    for (const char* part : {"version 30", "/m/ビデオ.mpg", "current object: 1", "1m00s", "6144 bytes", "ﾃｽﾄ"})
        EXPECT_TRUE(Says(summary.out, part)) << part;

    for (const QStringList& wrong : {QStringList(), {"dump"}, {"dump", "--xml", "a.kvo"}, {"frobnicate"}})
        EXPECT_EQ(RunKvotool(wrong).exitCode, 1) << wrong.join(' ').toStdString();
    EXPECT_TRUE(Says(RunKvotool({"--help"}).out, "dump [--json] FILE.kvo"));
    // A text too short for a magic is not a scenario either.
    for (const QByteArray& notScenario : {QByteArray("\x09KivoDSv99 and more"), QByteArray("todo\n")}) {
        const ToolRun run = RunKvotool({"dump", File("text.kvo", notScenario)});
        EXPECT_EQ(std::tuple(run.exitCode, run.err), std::tuple(2, "このファイルは読み込めませんでした。\n"));
    }
    // Any other failure of the reader: the file's name and the reader's detail.
    const QString cut = File("short.kvo", samples::Version30File().left(40));
    const ToolRun run = RunKvotool({"dump", "--json", cut});
    EXPECT_TRUE(run.exitCode == 3 && run.out.empty() && Says(run.err, (cut.toStdString() + ": the file ends early").c_str())) << run.err;
}

// A scenario of 30 million objects, each an empty path and name, is refused
// for its count, rather than the tool growing until it is stopped.
TEST_F(Kvotool, DumpOfThirtyMillionObjectsIsRefusedInTwoGigabytes)
{
    const QString file = File("thirty-million-objects.kvo", samples::EmptyObjectsFile(30000000));
    const ToolRun run = RunKvotool({"dump", "--json", file}, {}, kTwoGigabytes);
    EXPECT_TRUE(run.exitCode == 3 && run.out.empty() &&
                Says(run.err, "the file holds 30000000 objects, more than the 1000000 a scenario may have"))
        << run.exitCode << run.err;
}

TEST(KvotoolProbe, ReportsEachFileAsTheCutListWillShowIt)
{
    QTemporaryDir pictures;
    const auto run = RunKvotool({"probe", "--json", "--thumbnails", pictures.path(), Media("video.mpg"),
                                 Media("audio.wav"), Media("text.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonArray json = Json(run).array();
    // What the examination finds is the examination test's; here that each
    // file's report comes in its place.
    ASSERT_EQ(json.size(), 3);
    EXPECT_EQ(std::tuple(json[0]["flag"].toInt(), json[0]["width"].toInt(), json[1]["flag"].toInt(), json[1]["length"].toInt(),
                         json[2]["flag"].toInt(), json[2]["size"].toInteger()),
              std::tuple(0, 320, -2, 300, -1, QFile(Media("text.txt")).size()));
    for (const char* picture : {"0.png", "1.png", "2.png"})
        EXPECT_EQ(QImage(pictures.filePath(picture)).size(), QSize(64, 48));
}

// A file named relatively, by bytes that are not UTF-8, is stored by its full path.
TEST_F(Kvotool, CreateWritesTheScenarioOfTheAddedFilesOrEndsWith3)
{
    m_folder.Copy(Media("video.avi"), "clip\xff.avi");
    const auto run = RunKvotool({"create", "list.kvo", Media("text.txt"), FileNameFromBytes("clip\xff.avi"),
                                 Media("audio.wav"), At("clip\xff.avi")}, m_folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject json = Dump(At("list.kvo"));
    // Current: the first playable object. The sound has no thumbnail; the
    // file added twice comes from the cache the second time.
    EXPECT_EQ(std::tuple(json["version"].toInt(), json["current"].toInt(), json["names"]), std::tuple(30, 1, json["paths"]));
    const QJsonArray cache = json["cache"].toArray();
    ASSERT_EQ(cache.size(), 4);
    EXPECT_EQ(std::tuple(cache[1]["path"].toString(), cache[1]["thumbnail_bytes"].toInt(), cache[2]["thumbnail_bytes"].toInt(), cache[3]),
              std::tuple(At("clip\xff.avi"), 12288, 0, cache[1]));
    // A failed save (which files the writer refuses is its own test's) ends with 3.
    EXPECT_EQ(RunKvotool({"create", m_folder.path(), Media("audio.wav")}).exitCode, 3);
}

TEST_F(Kvotool, ConvertKeepsPathsOrderAndNamesFromPlaylistToScenarioAndBack)
{
    const auto convert = [&](const char* in, const char* out) { return RunKvotool({"convert", At(in), At(out)}); };
    // Titles name their objects; an untitled entry keeps its path as name.
    // A URL and a missing file are left out and counted together.
    File("list.m3u8", ("#EXTM3U\n#EXTINF:3,Sound ｻｳﾝﾄﾞ\n" + Media("audio.wav") + "\nhttp://example.org/stream\n" +
                       Media("video.avi") + "\n#EXTINF:5,Gone\n" + Media("missing.avi") + "\n#EXTINF:-1,Broken\n" +
                       Media("text.txt") + "\n").toUtf8());
    const auto run = convert("list.m3u8", "first.kvo");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Says(run.err, "left out 2 entries that are not local files or do not exist")) << run.err;
    const auto first = Dump(At("first.kvo"));
    // Examined as create examines.
    EXPECT_EQ(std::tuple(first["paths"], first["names"], first["cache"][1]["thumbnail_bytes"]),
              std::tuple(QJsonArray({Media("audio.wav"), Media("video.avi"), Media("text.txt")}),
                         QJsonArray({"Sound ｻｳﾝﾄﾞ", Media("video.avi"), "Broken"}), 12288));

    ASSERT_EQ(convert("first.kvo", "list.xspf").exitCode, 0);
    EXPECT_TRUE(test::ReadFile(At("list.xspf")).contains("<duration>3000</duration>"));
    ASSERT_EQ(convert("list.xspf", "second.KVO").exitCode, 0);
    EXPECT_EQ(Dump(At("second.KVO")), first);

    File("bad.xspf", "<playlist><trackList>");
    EXPECT_EQ(std::tuple(convert("bad.xspf", "x.m3u").exitCode, convert("missing.pls", "x.m3u").exitCode, convert("list.m3u8", "x.txt").exitCode),
              std::tuple(2, 3, 1));
    EXPECT_FALSE(QFile::exists(At("x.m3u")));
}

// A million relative lines (2 MB) in a folder whose path is 3,785 characters
// long: each entry would repeat the folder. The playlist is refused as too
// large, or read, but the tool never aborts for want of memory.
TEST_F(Kvotool, ConvertOfAPlaylistInADeepFolderEndsInTwoGigabytes)
{
    // Nested folders, each name shorter than the 255 bytes a name may have.
    QString folder = m_folder.path();
    while (folder.size() + 201 <= 3785)
        folder += u'/' + QString(200, u'd');
    folder += u'/' + QString(3785 - folder.size() - 1, u'e');
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(test::WriteFile(folder + "/list.m3u", QByteArray("a\n").repeated(1000000)));
    const ToolRun run = RunKvotool({"convert", folder + "/list.m3u", At("out.m3u8")}, {}, kTwoGigabytes);
    if (run.exitCode == 3)
        EXPECT_TRUE(Says(run.err, "paths take more than")) << run.err;
    else
        EXPECT_TRUE(run.exitCode == 0 && QFileInfo(At("out.m3u8")).size() > 0) << run.exitCode << run.err;
}

TEST_F(Kvotool, SnapshotWritesTheFrameAsABitmapFile)
{
    for (const char* video : {"video.avi", "video.mpg", "vcd.dat", "video.mov", "video-only.avi", "video.rm"}) {
        const auto run = RunKvotool({"snapshot", Media(video), "1.5", At(video) + ".bmp"});
        EXPECT_EQ(run.exitCode, 0) << video << run.err;
        EXPECT_EQ(QImage(At(video) + ".bmp", "BMP").size(), QSize(320, 240)) << video;
    }
    const QString bitmap = At("video.avi") + ".bmp";
    for (const char* missing : {"audio.wav", "missing.avi"})
        EXPECT_EQ(RunKvotool({"snapshot", Media(missing), "1", bitmap}).exitCode, 3) << missing;
    for (const char* seconds : {"soon", "nan", "inf", "1e308", "-1"})
        EXPECT_EQ(RunKvotool({"snapshot", Media("video.avi"), seconds, bitmap}).exitCode, 1) << seconds;
    EXPECT_EQ(QImage(bitmap).size(), QSize(320, 240));  // failures leave the file alone
}

}  // namespace
}  // namespace kivo
