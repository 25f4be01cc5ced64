#include "ByteFolder.h"
#include "KvotoolRun.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "cutlist/FileNames.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <filesystem>
#include <tuple>

namespace kivo {
namespace {

using test::Media;
using test::RunKvotool;
using test::RunKvotoolBytes;

TEST(KvotoolProbe, ReportsEachFileAsTheCutListWillShowIt)
{
    QTemporaryDir pictures;
    const auto run = RunKvotool({"probe", "--json", "--thumbnails", pictures.path(), Media("video.mpg"),
                                 Media("audio.wav"), Media("text.txt")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    // What the examination finds is the examination test's; here that each
    // file's report comes in its place.
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(std::tuple(json[0]["flag"], json[0]["width"], json[1]["flag"], json[2]["flag"]), std::tuple(0, 320, -2, -1));
    EXPECT_EQ(json[1]["length"], 300);
    EXPECT_EQ(json[2]["size"], QFile(Media("text.txt")).size());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(QImage(pictures.filePath(QStringLiteral("%1.png").arg(i))).size(), QSize(64, 48));
}

TEST(KvotoolCreate, WritesTheScenarioOfTheAddedFilesButLeavesAPipeAlone)
{
    QTemporaryDir folder;
    const QString scenario = folder.filePath("list.kvo");
    auto run = RunKvotool({"create", scenario, Media("text.txt"), Media("video.avi"), Media("audio.wav"),
                           Media("video.avi")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = RunKvotool({"dump", "--json", scenario});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["version"], 30);
    EXPECT_EQ(json["current"], 1);  // the first playable object
    EXPECT_EQ(json["names"], json["paths"]);
    const auto& cache = json["cache"];
    ASSERT_EQ(cache.size(), 4u);
    EXPECT_EQ(cache[0]["path"], "");  // invalid: never cached
    EXPECT_EQ(cache[1]["thumbnail_bytes"], 12288);
    EXPECT_EQ(cache[2]["thumbnail_bytes"], 0);  // sound only
    EXPECT_EQ(cache[3], cache[1]);              // the second time from the cache

    // Anything but a regular file or a link to one is left alone.
    const QString pipe = folder.filePath("pipe.kvo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    run = RunKvotool({"create", pipe, Media("audio.wav")});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_fifo(pipe.toStdString()));
}

TEST(KvotoolCreate, StoresFullPathsWithTheirBytes)
{
    const test::ByteFolder folder;
    const QByteArray clip = folder.Copy(Media("video.avi"), "clip\xff.avi");
    auto run = RunKvotoolBytes({"create", "list.kvo", "clip\xff.avi"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = RunKvotoolBytes({"dump", "--json", "list.kvo"}, folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(json["paths"], QJsonArray({FileNameFromBytes(clip)}));
    EXPECT_EQ(json["cache"][0]["path"], FileNameFromBytes(clip));
    EXPECT_GT(json["cache"][0]["length"].toInt(), 0);  // examined under its own name
}

TEST(KvotoolConvert, KeepsPathsOrderAndNamesFromPlaylistToScenarioAndBack)
{
    QTemporaryDir folder;
    const auto dump = [](const QString& scenario) {
        const auto run = RunKvotool({"dump", "--json", scenario});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return nlohmann::json::parse(run.out);
    };
    // Titles name their objects; an untitled entry keeps its path as name.
    // A URL and a missing file are left out and counted together.
    test::WriteFile(folder.filePath("list.m3u8"), ("#EXTM3U\n#EXTINF:3,Sound ｻｳﾝﾄﾞ\n" + Media("audio.wav") +
                                                   "\nhttp://example.org/stream\n" + Media("video.avi") +
                                                   "\n#EXTINF:5,Gone\n" + Media("missing.avi") +
                                                   "\n#EXTINF:-1,Broken\n" + Media("text.txt") + "\n")
                                                      .toUtf8());
    auto run = RunKvotool({"convert", folder.filePath("list.m3u8"), folder.filePath("first.kvo")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("left out 2 entries that are not local files or do not exist"), std::string::npos)
        << run.err;
    const auto first = dump(folder.filePath("first.kvo"));
    EXPECT_EQ(first["paths"], nlohmann::json({Media("audio.wav").toStdString(), Media("video.avi").toStdString(),
                                              Media("text.txt").toStdString()}));
    EXPECT_EQ(first["names"], nlohmann::json({"Sound ｻｳﾝﾄﾞ", Media("video.avi").toStdString(), "Broken"}));
    EXPECT_EQ(first["cache"][1]["thumbnail_bytes"], 12288);  // examined as create examines

    run = RunKvotool({"convert", folder.filePath("first.kvo"), folder.filePath("list.xspf")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(test::ReadFile(folder.filePath("list.xspf")).contains("<duration>3000</duration>"));
    run = RunKvotool({"convert", folder.filePath("list.xspf"), folder.filePath("second.KVO")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dump(folder.filePath("second.KVO")), first);

    test::WriteFile(folder.filePath("bad.xspf"), "<playlist><trackList>");
    EXPECT_EQ(RunKvotool({"convert", folder.filePath("bad.xspf"), folder.filePath("x.m3u")}).exitCode, 2);
    EXPECT_EQ(RunKvotool({"convert", folder.filePath("missing.pls"), folder.filePath("x.m3u")}).exitCode, 3);
    EXPECT_EQ(RunKvotool({"convert", folder.filePath("list.m3u8"), folder.filePath("x.txt")}).exitCode, 1);
    EXPECT_FALSE(QFile::exists(folder.filePath("x.m3u")));
}

// A length beyond a media time once wrapped around on its way through.
TEST(KvotoolConvert, WritesNoLengthThatWrappedAround)
{
    QTemporaryDir folder;
    const QString in = folder.filePath("huge.m3u8");
    test::WriteFile(in, QStringLiteral("#EXTM3U\n#EXTINF:1e20,Big\n%1\n#EXTINF:7,Seven\n%2\n")
                            .arg(Media("audio.wav"), Media("video.avi"))
                            .toUtf8());
    ASSERT_EQ(RunKvotool({"convert", in, folder.filePath("out.pls")}).exitCode, 0);
    const QByteArray text = test::ReadFile(folder.filePath("out.pls"));
    EXPECT_TRUE(text.contains("Length1=-1\n") && text.contains("Length2=7\n")) << text.toStdString();
}

TEST(KvotoolSnapshot, WritesTheFrameAsABitmapFile)
{
    QTemporaryDir folder;
    const QString bitmap = folder.filePath("frame.bmp");
    auto run = RunKvotool({"snapshot", Media("video.avi"), "1.5", bitmap});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(QImage(bitmap, "BMP").size(), QSize(320, 240));

    for (const char* video : {"video.mpg", "vcd.dat", "video.mov", "video-only.avi", "video.rm"}) {
        const QString other = folder.filePath(QStringLiteral("%1.bmp").arg(video));
        EXPECT_EQ(RunKvotool({"snapshot", Media(video), "1", other}).exitCode, 0) << video;
        EXPECT_EQ(QImage(other).size(), QSize(320, 240)) << video;
    }
    EXPECT_EQ(RunKvotool({"snapshot", Media("audio.wav"), "1", bitmap}).exitCode, 3);
    EXPECT_EQ(RunKvotool({"snapshot", Media("missing.avi"), "1", bitmap}).exitCode, 3);
    for (const char* seconds : {"soon", "nan", "inf", "1e308", "-1"})
        EXPECT_EQ(RunKvotool({"snapshot", Media("video.avi"), seconds, bitmap}).exitCode, 1) << seconds;
    EXPECT_EQ(QImage(bitmap).size(), QSize(320, 240));  // failures leave the file alone
}

}  // namespace
}  // namespace kivo
