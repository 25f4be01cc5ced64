#include "ByteFolder.h"
#include "ScenarioSamples.h"
#include "TestFiles.h"
#include "TestRecords.h"
#include "cutlist/Archive.h"
#include "cutlist/CutListModel.h"
#include "cutlist/FileNames.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ScenarioFile.h"
#include "cutlist/ShownText.h"
#include "cutlist/Thumbnail.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <tuple>

namespace kivo {
namespace {

using samples::Bytes;

ScenarioReadResult Read(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadScenario(buffer);
}

Thumbnail TestPicture()
{
    auto image = std::make_shared<QImage>(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x)
            image->setPixel(x, y, qRgb(4 * x, 5 * y, 7));
    }
    return image;
}

QByteArray Written(const CutListModel& list, CMediaInfoCache& cache, qint32 position)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ArchiveWriter archive(buffer);
    archive.WriteString(ScenarioMagic(kScenarioVersion));
    WriteCutList(archive, list, cache, position, kScenarioVersion);
    EXPECT_TRUE(archive.Finish());
    return buffer.data();
}

TEST(ScenarioReader, Version10HasPathsOnlyAndVersion20NoNames)
{
    const Scenario paths = Read(samples::Version10File()).scenario;
    EXPECT_EQ(paths.version, 10);
    EXPECT_EQ(paths.paths, QStringList({"/m/a.mpg", "/m/b.avi"}));
    EXPECT_EQ(paths.current, 0);
    EXPECT_TRUE(paths.cache.empty() && paths.names.isEmpty());

    // Version 20 restores the position and the media information, but no names.
    const Scenario scenario = Read(samples::Version20File()).scenario;
    EXPECT_EQ(scenario.version, 20);
    EXPECT_EQ(scenario.position, 12345);
    ASSERT_EQ(scenario.cache.size(), 1u);
    const MEDIARECORD& entry = scenario.cache[0];
    EXPECT_EQ(std::tuple(entry.dwSize, entry.timeModified, entry.nLength, entry.dwReserved),
              std::tuple(1234u, 921000000, 6000, 12288u));
    ASSERT_TRUE(entry.pThumbnail);
    EXPECT_EQ(*entry.pThumbnail, *TestPicture());
    EXPECT_TRUE(scenario.names.isEmpty());
}

TEST(ScenarioReader, Version30DecodesShiftJisAndWideStringsAndDropsUnfittingThumbnails)
{
    const ScenarioReadResult result = Read(samples::Version30File());
    ASSERT_EQ(result.status, ScenarioStatus::Ok);
    const Scenario& scenario = result.scenario;
    EXPECT_EQ(scenario.paths, QStringList({"/m/ビデオ.mpg", "/m/café.mpg", "/m/x.wav"}));
    EXPECT_EQ(scenario.current, 1);
    EXPECT_EQ(scenario.position, 250);
    ASSERT_EQ(scenario.cache.size(), 3u);
    EXPECT_EQ(scenario.cache[1].dwReserved, 6144u);
    EXPECT_FALSE(scenario.cache[1].pThumbnail);
    EXPECT_EQ(scenario.names, QStringList({"名前", "ﾃｽﾄ", " "}));

    CMediaInfoCache cache;
    AddScenarioCacheEntries(scenario, cache);
    // The 16-bit-screen entry is dropped; the empty entry stays.
    EXPECT_EQ(cache.GetSize(), 2);
    EXPECT_EQ(cache.Lookup(QStringLiteral("/m/ビデオ.mpg")).pThumbnail, scenario.cache[0].pThumbnail);
    EXPECT_TRUE(cache.Lookup(QStringLiteral("/m/café.mpg")).strPath.isEmpty());
}

TEST(ScenarioReader, APictureOrTextMetAgainIsHeldOnceAndSharedWithTheList)
{
    QByteArray other = samples::TestPictureBlock();
    other[0] = 8;  // the first pixel's blue
    const QByteArray bytes = Bytes()
                                 .Str("KivoDSv30").I32(3).Str("/m/a.mpg").Str("/m/a.mpg").Str("/m/a.mpg")
                                 .I32(0).I32(0).I32(2)
                                 .Append(samples::VideoEntry("/m/a.mpg"))
                                 .Append(samples::VideoEntry("/m/a.mpg"))
                                 .Str("/m/a.mpg").U32(1234).I32(921000000).I32(6000).U32(12288).Append(other)
                                 .Str("/m/a.mpg").Str("x").Str("x")
                                 .Data();
    const Scenario scenario = Read(bytes).scenario;
    ASSERT_EQ(scenario.cache.size(), 3u);
    EXPECT_EQ(scenario.cache[0].pThumbnail, scenario.cache[1].pThumbnail);
    EXPECT_NE(*scenario.cache[1].pThumbnail, *scenario.cache[2].pThumbnail);
    EXPECT_EQ(scenario.names[0].constData(), scenario.paths[2].constData());

    // The list's objects show the very pixels the cache holds.
    CMediaInfoCache cache;
    AddScenarioCacheEntries(scenario, cache);
    CutListModel list;
    for (int i = 0; i < 2; ++i)
        list.AddObject(test::SizedRecord("/m/a.mpg", 1234, 1, 6000), *scenario.cache[static_cast<size_t>(i)].pThumbnail, false);
    EXPECT_EQ(list.GetLargeImage(0).constBits(), scenario.cache[0].pThumbnail->constBits());
    EXPECT_EQ(list.GetLargeImage(1).constBits(), list.GetLargeImage(0).constBits());
}

TEST(ScenarioReader, OnlyTheThreeMagicsAreAccepted)
{
    for (const char* magic : {"KivoDSv31", "kivodsv30", "KivoDSv3", "", "KivoDSv30 "}) {
        const ScenarioReadResult result = Read(Bytes().Str(magic).I32(0).Data());
        EXPECT_EQ(result.status, ScenarioStatus::UnknownMagic) << magic;
        EXPECT_EQ(result.problem, QStringLiteral("このファイルは読み込めませんでした。"));
    }
    EXPECT_EQ(Read(QByteArray()).status, ScenarioStatus::Empty);
    // Too short for a magic: a scenario cut short only when it starts as one.
    for (const char* other : {"hi\n", "x", "\x09KivoX", "\xff\xff"})
        EXPECT_EQ(Read(QByteArray(other)).status, ScenarioStatus::UnknownMagic) << other;
    EXPECT_EQ(Read(QByteArray("\x09KivoDSv3")).status, ScenarioStatus::EndsEarly);
}

TEST(ScenarioReader, EveryTruncationEndsEarly)
{
    for (const QByteArray& sample : samples::AllSamples()) {
        for (qsizetype length = 1; length < sample.size(); ++length)
            ASSERT_EQ(Read(sample.left(length)).status, ScenarioStatus::EndsEarly) << length;
    }
}

TEST(ScenarioReader, AbsurdCountsFailAtOnceAndNegativeCountsMeanNone)
{
    // 100 bytes that claim two billion objects.
    QByteArray claim = Bytes().Str("KivoDSv30").I32(2000000000).Data();
    claim.append(100 - claim.size(), 'a');
    EXPECT_EQ(Read(claim).status, ScenarioStatus::EndsEarly);
    EXPECT_EQ(Read(Bytes().Str("KivoDSv20").I32(0).I32(0).I32(0).I32(0x7FFFFFFF).Fill(40, 0).Data()).status,
              ScenarioStatus::EndsEarly);
    EXPECT_EQ(Read(Bytes().Str("KivoDSv20").I32(0).I32(0).I32(0).I32(0).Str("").U32(0).I32(0).I32(0).U32(0xFFFFFFFF)
                       .Fill(40, 0)
                       .Data())
                  .status,
              ScenarioStatus::EndsEarly);

    // An empty list as written (its last cache index is -1) and any other
    // negative count.
    for (const QByteArray& none :
         {samples::EmptyVersion30File(), Bytes().Str("KivoDSv30").I32(-5).I32(-1).I32(7).I32(-9).Data()}) {
        const ScenarioReadResult negative = Read(none);
        ASSERT_EQ(negative.status, ScenarioStatus::Ok);
        EXPECT_TRUE(negative.scenario.paths.isEmpty());
        EXPECT_EQ(negative.scenario.current, -1);
        EXPECT_TRUE(negative.scenario.cache.empty());
        EXPECT_TRUE(negative.scenario.names.isEmpty());
    }
}

TEST(ScenarioReader, AMillionObjectsReadAndMoreAreRefusedAsTooLarge)
{
    const ScenarioReadResult million = Read(samples::EmptyObjectsFile(1000000));
    ASSERT_EQ(million.status, ScenarioStatus::Ok) << million.detail.toStdString();
    EXPECT_EQ(million.scenario.paths.size(), 1000000);
    EXPECT_EQ(million.scenario.names.size(), 1000000);

    // Every byte is there, so the file does not end early: it is refused
    // for the count alone.
    const ScenarioReadResult more = Read(samples::EmptyObjectsFile(1000001));
    EXPECT_EQ(more.status, ScenarioStatus::TooLarge);
    EXPECT_EQ(more.problem, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄが多すぎます（1000000 個まで）。"));
    EXPECT_EQ(more.detail, QStringLiteral("the file holds 1000001 objects, more than the 1000000 a scenario may have"));
    EXPECT_TRUE(more.scenario.paths.isEmpty());

    // As many media information entries, behind no objects; an empty entry
    // takes 17 bytes.
    const auto entries = [](qint32 count) {
        return Read(Bytes().Str("KivoDSv20").I32(0).I32(-1).I32(0).I32(count - 1).Fill(17 * count, 0).Data());
    };
    EXPECT_EQ(entries(1000000).status, ScenarioStatus::Ok);
    const ScenarioReadResult cached = entries(1000001);
    EXPECT_EQ(cached.status, ScenarioStatus::TooLarge);
    EXPECT_EQ(cached.detail,
              QStringLiteral("the file holds 1000001 media information entries, more than the 1000000 a scenario may have"));
}

TEST(ScenarioReader, ReasonsAreJapaneseAndTheDetailsEnglish)
{
    EXPECT_EQ(Read(QByteArray()).problem, QStringLiteral("ファイルが空です。"));
    const ScenarioReadResult cut = Read(samples::Version30File().left(40));
    EXPECT_EQ(cut.problem, QStringLiteral("ファイルが途中で終わっています。"));
    EXPECT_EQ(cut.detail, QStringLiteral("the file ends early (at byte 32, reading the path)"));

    QTemporaryDir folder;
    const std::pair<QString, const char16_t*> unopened[] = {
        {folder.path(), u"フォルダです。"},
        {folder.filePath(QStringLiteral("none.kvo")), u"ファイルが見つかりません。"},
        {QStringLiteral("/dev/null"), u"通常のファイルではありません。"},
    };
    for (const auto& [path, problem] : unopened) {
        const ScenarioReadResult result = ReadScenarioFile(path);
        EXPECT_EQ(result.status, ScenarioStatus::CannotOpen);
        EXPECT_EQ(result.problem, QString::fromUtf16(problem));
    }
}

TEST(ScenarioReader, APathTheSystemWouldCutShortOrRefuseRefusesTheFile)
{
    using namespace std::string_view_literals;
    const QByteArray nul = Bytes().Str("KivoDSv10").I32(2).Str("/m/a.mpg").Str("/m/b\0.avi"sv).Data();
    // A string of 5,000 bytes: 0xFF, then its length in 16 bits.
    const QByteArray tooLong = Bytes().Str("KivoDSv10").I32(1).U8(0xFF).U16(5000).Fill(5000, 'a').Data();
    for (const QByteArray& bytes : {nul, tooLong}) {
        const ScenarioReadResult result = Read(bytes);
        EXPECT_EQ(result.status, ScenarioStatus::Malformed);
        EXPECT_EQ(result.problem, QStringLiteral("ファイルの形式が正しくありません。"));
        EXPECT_TRUE(result.scenario.paths.isEmpty());
    }
    EXPECT_EQ(Read(nul).detail, "the path of object 1 holds a NUL byte or is too long");
}

TEST(ScenarioReader, ANameOfMegabytesIsCutAndTheFileReadButANameThatIsItsPathStaysWhole)
{
    // A string of 3 MB: 0xFF, 0xFFFF, then its length in 32 bits.
    constexpr int kHuge = 3 << 20;
    const QByteArray bytes = Bytes()
                                 .Str("KivoDSv30").I32(2).Str("/m/a.mpg").Str("/m/b.mpg")
                                 .I32(0).I32(0).I32(-1)
                                 .U8(0xFF).U16(0xFFFF).U32(kHuge).Fill(kHuge, 'n')
                                 .Str("b")
                                 .Data();
    const ScenarioReadResult result = Read(bytes);
    ASSERT_EQ(result.status, ScenarioStatus::Ok);
    EXPECT_EQ(result.scenario.paths, QStringList({"/m/a.mpg", "/m/b.mpg"}));
    EXPECT_EQ(result.scenario.names, QStringList({QString(kMaxNameChars, u'n'), "b"}));

    const QString path = QStringLiteral("/m/") + QString(4000, u'p');
    const QByteArray named = Bytes()
                                 .Str("KivoDSv30").I32(1).U8(0xFF).U16(4003).Raw(path.toStdString())
                                 .I32(0).I32(0).I32(-1)
                                 .U8(0xFF).U16(4003).Raw(path.toStdString())
                                 .Data();
    EXPECT_EQ(Read(named).scenario.names, QStringList({path}));
}

TEST(ScenarioReader, ANamedPipeIsRefusedWithoutWaitingForAWriter)
{
    QTemporaryDir folder;
    const QString pipe = folder.filePath(QStringLiteral("pipe.kvo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [&pipe] { return ReadScenarioFile(pipe); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // A writer lets the reader out of its open().
        ::close(::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK));
        FAIL() << "opening the pipe waits for a writer";
    }
    const ScenarioReadResult result = reading.get();
    EXPECT_EQ(result.status, ScenarioStatus::CannotOpen);
    EXPECT_EQ(result.problem, QStringLiteral("通常のファイルではありません。"));
    EXPECT_EQ(result.detail, QStringLiteral("it is not a regular file"));
}

class ScenarioWriter : public ::testing::Test {
protected:
    // /m/ビデオ.mpg with a picture, named 名前; /m/café.mpg without one,
    // named ﾃｽﾄ and current; /m/x.wav, never examined, with a blank name.
    void SetUp() override
    {
        cache.Add(test::SizedRecord(QStringLiteral("/m/ビデオ.mpg"), 1234, 921000000, 6000, TestPicture()));
        cache.Add(test::SizedRecord(QStringLiteral("/m/café.mpg"), 99, 5, 500));
        list.AddObject(cache.Lookup(QStringLiteral("/m/ビデオ.mpg")), *TestPicture(), false);
        list.AddObject(cache.Lookup(QStringLiteral("/m/café.mpg")), QImage(), true);
        MEDIARECORD missing;
        missing.strPath = QStringLiteral("/m/x.wav");
        missing.nFlag = kFlagInvalid;
        list.AddObject(missing, QImage(), true);
        list.SetItemText(0, CutListModel::kColumnName, QStringLiteral("名前"));
        list.SetItemText(1, CutListModel::kColumnName, QStringLiteral("ﾃｽﾄ"));
        list.SetCurrent(1);
    }

    CutListModel list;
    CMediaInfoCache cache;
};

TEST_F(ScenarioWriter, WritesTheExactBytesOfVersion30)
{
    EXPECT_EQ(Written(list, cache, 250), samples::Version30File(0));
}

TEST_F(ScenarioWriter, WritesAnEmptyListTheSameFileTwiceAndTheLow32BitsOfLargeSizes)
{
    CutListModel empty;
    EXPECT_EQ(Written(empty, cache, 0), samples::EmptyVersion30File());

    // The same file twice: two paths, two cache entries, two names; the
    // size keeps its low 32 bits.
    cache.Add(test::SizedRecord(QStringLiteral("/m/big.mpg"), 0x100000010ull, 7, 100));
    CutListModel twice;
    twice.AddObject(cache.Lookup(QStringLiteral("/m/big.mpg")), QImage(), false);
    twice.AddObject(cache.Lookup(QStringLiteral("/m/big.mpg")), QImage(), false);
    const ScenarioReadResult result = Read(Written(twice, cache, 0));
    ASSERT_EQ(result.status, ScenarioStatus::Ok);
    EXPECT_EQ(result.scenario.paths.size(), 2);
    ASSERT_EQ(result.scenario.cache.size(), 2u);
    EXPECT_EQ(result.scenario.cache[1].dwSize, 0x10u);
    EXPECT_EQ(result.scenario.names, QStringList({"/m/big.mpg", "/m/big.mpg"}));
    EXPECT_EQ(result.scenario.current, -1);
}

TEST_F(ScenarioWriter, SaveReplacesTheFileOnlyWhenComplete)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("list.kvo"));
    ASSERT_EQ(SaveScenarioFile(path, list, cache, 250), std::nullopt);
    const auto contents = [&path] { return test::ReadFile(path); };
    EXPECT_EQ(contents(), Written(list, cache, 250));

    // Let writes past 1,000 bytes fail, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    rlimit limited = original;
    limited.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limited);
    const std::optional<WriteFailure> failure = SaveScenarioFile(path, list, cache, 0);
    setrlimit(RLIMIT_FSIZE, &original);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, QStringLiteral("書き込めませんでした。ディスクの空きを確かめてください。"));
    EXPECT_EQ(contents(), Written(list, cache, 250));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"list.kvo"}));

    EXPECT_TRUE(SaveScenarioFile(folder.filePath(QStringLiteral("no/such/folder.kvo")), list, cache, 0));
}

TEST_F(ScenarioWriter, SaveGoesThroughLinksAndReplacesNothingButRegularFiles)
{
    namespace fs = std::filesystem;
    QTemporaryDir folder;
    const auto at = [&folder](const char* name) { return folder.filePath(QString::fromUtf8(name)); };
    const auto refusal = [this](const QString& path, qint32 position = 0) {
        const std::optional<WriteFailure> failure = SaveScenarioFile(path, list, cache, position);
        return failure ? failure->reason : QString();
    };
    ASSERT_EQ(refusal(at("target.kvo")), QString());
    fs::create_symlink("target.kvo", at("link.kvo").toStdString());
    ASSERT_EQ(refusal(at("link.kvo"), 250), QString());
    EXPECT_TRUE(fs::is_symlink(at("link.kvo").toStdString()));
    EXPECT_EQ(test::ReadFile(at("target.kvo")), Written(list, cache, 250));
    // A link to nothing gets its file.
    fs::create_symlink("made.kvo", at("dangling.kvo").toStdString());
    ASSERT_EQ(refusal(at("dangling.kvo"), 250), QString());
    EXPECT_TRUE(fs::is_symlink(at("dangling.kvo").toStdString()));
    EXPECT_EQ(test::ReadFile(at("made.kvo")), Written(list, cache, 250));

    ASSERT_EQ(::mkfifo(QFile::encodeName(at("pipe.kvo")).constData(), 0600), 0);
    fs::create_symlink("pipe.kvo", at("to-pipe.kvo").toStdString());
    for (const char* name : {"pipe.kvo", "to-pipe.kvo"}) {
        const std::optional<WriteFailure> failure = SaveScenarioFile(at(name), list, cache, 0);
        ASSERT_TRUE(failure) << name;
        EXPECT_EQ(failure->reason, QStringLiteral("通常のファイルではありません。"));
        EXPECT_EQ(failure->detail, QStringLiteral("it is not a regular file"));
    }
    EXPECT_TRUE(fs::is_fifo(at("pipe.kvo").toStdString()));
    EXPECT_EQ(refusal(folder.path()), QStringLiteral("フォルダです。"));
    fs::create_symlink("loop-b", at("loop-a").toStdString());
    fs::create_symlink("loop-a", at("loop-b").toStdString());
    EXPECT_EQ(refusal(at("loop-a")), QStringLiteral("通常のファイルではありません。"));
    EXPECT_TRUE(fs::is_symlink(at("loop-a").toStdString()));
}

TEST_F(ScenarioWriter, AMillionObjectsAreSavedButNotOneMoreAndTheOldFileStays)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.kvo"));
    CutListModel large;
    large.AddObjects(std::vector<MediaObject>(1000000), true);
    ASSERT_EQ(SaveScenarioFile(path, large, cache, 0), std::nullopt);
    EXPECT_EQ(ReadScenarioFile(path).scenario.paths.size(), 1000000);
    const QByteArray saved = test::ReadFile(path);

    large.AddObject(MEDIARECORD(), QImage(), true);
    const std::optional<WriteFailure> failure = SaveScenarioFile(path, large, cache, 0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄが多すぎます（1000000 個まで）。"));
    EXPECT_EQ(failure->detail, QStringLiteral("the cut list has 1000001 objects, more than the 1000000 a scenario may have"));
    EXPECT_EQ(test::ReadFile(path), saved);
}

TEST_F(ScenarioWriter, SavingOverAnotherUsersFileKeepsItsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can make a file of another user";
    QTemporaryDir folder;
    const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("theirs.kvo")));
    ASSERT_TRUE(test::WriteFile(QFile::decodeName(path), "old"));
    ASSERT_EQ(::chown(path.constData(), 12345, 23456), 0);
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    ASSERT_EQ(SaveScenarioFile(QFile::decodeName(path), list, cache, 250), std::nullopt);
    struct stat saved {};
    ASSERT_EQ(::stat(path.constData(), &saved), 0);
    EXPECT_EQ(std::tuple(saved.st_uid, saved.st_gid, saved.st_mode & 07777), std::tuple(12345u, 23456u, 0640u));
    EXPECT_EQ(test::ReadFile(QFile::decodeName(path)), Written(list, cache, 250));
}

TEST_F(ScenarioWriter, NamesThatAreNotUtf8ComeBackByteForByte)
{
    const QByteArray paths[] = {"/m/bad\xff\xfe.avi", "/m/\x83\x72\x83\x66\x83\x49.avi"};
    CMediaInfoCache odd;
    CutListModel objects;
    for (const QByteArray& bytes : paths) {
        odd.Add(test::SizedRecord(FileNameFromBytes(bytes), 1, 2, 3));
        objects.AddObject(odd.Lookup(FileNameFromBytes(bytes)), QImage(), false);
    }
    const QByteArray written = Written(objects, odd, 0);
    // The wide form keeps the lone surrogates that stand for the bytes.
    EXPECT_TRUE(written.contains(samples::Wide(FileNameFromBytes(paths[0]))));

    // A scenario file whose own name is not UTF-8 is read by its bytes.
    const test::ByteFolder folder;
    const QByteArray file = folder.Write("list\xff.kvo", written);
    const ScenarioReadResult result = ReadScenarioFile(FileNameFromBytes(file));
    ASSERT_EQ(result.status, ScenarioStatus::Ok) << result.detail.toStdString();
    ASSERT_EQ(result.scenario.paths.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(FileNameBytes(result.scenario.paths[i]), paths[i]);
        EXPECT_EQ(FileNameBytes(result.scenario.cache[static_cast<size_t>(i)].strPath), paths[i]);
        EXPECT_EQ(FileNameBytes(result.scenario.names[i]), paths[i]);
    }

    // Qt's save file cannot reach such a name: saving is refused rather
    // than going to another file.
    const std::optional<WriteFailure> failure = SaveScenarioFile(FileNameFromBytes(file + ".new"), objects, odd, 0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->reason, QStringLiteral("このファイル名では保存できません。"));
    EXPECT_EQ(folder.Names(), std::vector<std::string>({"list\xff.kvo"}));
}

}  // namespace
}  // namespace kivo
