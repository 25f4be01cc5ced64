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
#include "cutlist/TextEncoding.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <tuple>
#include <utility>

namespace kivo {
namespace {

namespace fs = std::filesystem;
using samples::Bytes;
using enum ScenarioStatus;

ScenarioReadResult Read(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadScenario(buffer);
}

// The picture of samples::TestPictureBlock(), whose rows are those of an RGB32 image.
Thumbnail TestPicture()
{
    const QByteArray block = samples::TestPictureBlock();
    return std::make_shared<QImage>(QImage(reinterpret_cast<const uchar*>(block.constData()), 64, 48, QImage::Format_RGB32).copy());
}

// The bytes that `write` puts in an archive.
QByteArray Archived(const std::function<void(ArchiveWriter&)>& write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ArchiveWriter archive(buffer);
    write(archive);
    EXPECT_TRUE(archive.Finish());
    return buffer.data();
}

QByteArray Written(const CutListModel& list, CMediaInfoCache& cache, qint32 position)
{
    return Archived([&](ArchiveWriter& archive) { WriteScenario(archive, ScenarioOfCutList(list, cache, position)); });
}

TEST(ScenarioReader, EachVersionReadsItsPartsDecodingShiftJisAndWideStringsAndAPictureOrTextMetAgainIsHeldOnceAndSharedWithTheList)
{
    const Scenario paths = Read(samples::Version10File()).scenario;
    EXPECT_EQ(std::tuple(paths.version, paths.paths, paths.current), std::tuple(10, QStringList({"/m/a.mpg", "/m/b.avi"}), 0));
    EXPECT_TRUE(paths.cache.empty() && paths.names.isEmpty());

    // Version 20 restores the position and the media information, but no names.
    const Scenario v20 = Read(samples::Version20File()).scenario;
    EXPECT_EQ(std::tuple(v20.version, v20.position, v20.names.size()), std::tuple(20, 12345, 0));
    ASSERT_EQ(v20.cache.size(), 1u);
    const MEDIARECORD& entry = v20.cache[0];
    EXPECT_EQ(std::tuple(entry.dwSize, entry.timeModified, entry.nLength, entry.dwReserved),
              std::tuple(1234u, 921000000, 6000, 12288u));
    ASSERT_TRUE(entry.pThumbnail);
    EXPECT_EQ(*entry.pThumbnail, *TestPicture());

    const ScenarioReadResult result = Read(samples::Version30File());
    ASSERT_EQ(result.status, Ok);
    const Scenario& scenario = result.scenario;
    EXPECT_EQ(std::tuple(scenario.paths, scenario.current, scenario.position),
              std::tuple(QStringList({"/m/ビデオ.mpg", "/m/café.mpg", "/m/x.wav"}), 1, 250));
    ASSERT_EQ(scenario.cache.size(), 3u);
    EXPECT_EQ(scenario.names, QStringList({"名前", "ﾃｽﾄ", " "}));
    CMediaInfoCache cache;
    AddScenarioCacheEntries(scenario, cache);
    // The entry whose thumbnail was written for a 16-bit screen holds no
    // picture and is dropped; the empty entry stays.
    EXPECT_EQ(std::tuple(cache.GetSize(), cache.Lookup(QStringLiteral("/m/ビデオ.mpg")).pThumbnail), std::tuple(2, scenario.cache[0].pThumbnail));
    EXPECT_TRUE(cache.Lookup(QStringLiteral("/m/café.mpg")).strPath.isEmpty());

    // A picture or text met again is held once.
    QByteArray other = samples::TestPictureBlock();
    other[0] = 8;  // the first pixel's blue
    const Scenario again = Read(Bytes()
                                    .Str("KivoDSv30").I32(3).Str("/m/a.mpg").Str("/m/a.mpg").Str("/m/a.mpg").I32(0).I32(0).I32(2)
                                    .Raw(samples::VideoEntry("/m/a.mpg")).Raw(samples::VideoEntry("/m/a.mpg"))
                                    .Str("/m/a.mpg").U32(1234).I32(921000000).I32(6000).U32(12288).Raw(other)
                                    .Str("/m/a.mpg").Str("x").Str("x").Data())
                               .scenario;
    ASSERT_EQ(again.cache.size(), 3u);
    EXPECT_TRUE(again.cache[0].pThumbnail == again.cache[1].pThumbnail && *again.cache[1].pThumbnail != *again.cache[2].pThumbnail &&
                again.names[0].constData() == again.paths[2].constData());
    // Entries of a path alike to the one before are kept once; the latest
    // entry of a path is the one looked up, even one alike to an earlier.
    Scenario alternating = again;
    alternating.cache.push_back(again.cache[0]);
    CMediaInfoCache entries;
    AddScenarioCacheEntries(alternating, entries);
    EXPECT_EQ(std::tuple(entries.GetSize(), entries.Lookup(QStringLiteral("/m/a.mpg")).pThumbnail),
              std::tuple(3, again.cache[0].pThumbnail));
    // The list's objects show the very pixels the cache holds.
    CutListModel list;
    for (size_t i = 0; i < 2; ++i)
        list.AddObject(test::SizedRecord("/m/a.mpg", 1234, 1, 6000), *again.cache[i].pThumbnail, false);
    const uchar* const held = again.cache[0].pThumbnail->constBits();
    EXPECT_EQ(std::tuple(list.GetLargeImage(0).constBits(), list.GetLargeImage(1).constBits()), std::tuple(held, held));
}

// Only the three magics are scenarios; a file too short for one is cut short
// only when it starts as one. Counts, paths and sizes are checked before
// anything is allocated for them.
TEST(ScenarioReader, DamagedOrHostileFilesAreRefusedWithTheirReasonAndNothingRead)
{
    using namespace std::string_view_literals;
    QByteArray claim = Bytes().Str("KivoDSv30").I32(2000000000).Data();  // 100 bytes claiming two billion objects
    claim.append(100 - claim.size(), 'a');
    const QByteArray nul = Bytes().Str("KivoDSv10").I32(2).Str("/m/a.mpg").Str("/m/b\0.avi"sv).Data();
    const auto magic = [](const char* text) { return Bytes().Str(text).I32(0).Data(); };
    // As many media information entries, behind no objects; an empty entry takes 17 bytes.
    const auto entries = [](qint32 count) {
        return Bytes().Str("KivoDSv20").I32(0).I32(-1).I32(0).I32(count - 1).Fill(17 * count, 0).Data();
    };
    const std::pair<QByteArray, ScenarioStatus> cases[] = {
        {{}, Empty},
        {magic("KivoDSv31"), UnknownMagic}, {magic("kivodsv30"), UnknownMagic}, {magic("KivoDSv3"), UnknownMagic},
        {magic(""), UnknownMagic}, {magic("KivoDSv30 "), UnknownMagic},
        {"hi\n", UnknownMagic}, {"x", UnknownMagic}, {"\x09KivoX", UnknownMagic}, {"\xff\xff", UnknownMagic},
        {claim, EndsEarly},
        {Bytes().Str("KivoDSv20").I32(0).I32(0).I32(0).I32(0x7FFFFFFF).Fill(40, 0).Data(), EndsEarly},
        {Bytes().Str("KivoDSv20").I32(0).I32(0).I32(0).I32(0).Str("").U32(0).I32(0).I32(0).U32(0xFFFFFFFF).Fill(40, 0).Data(),
         EndsEarly},
        // A path of 5,000 bytes: 0xFF, then its length in 16 bits.
        {Bytes().Str("KivoDSv10").I32(1).U8(0xFF).U16(5000).Fill(5000, 'a').Data(), Malformed},
        // Every byte is there: refused for the count alone (a file of too
        // many objects is the document test's).
        {entries(1000001), TooLarge},
    };
    // Each status's text is one line of a table; the document's test shows some.
    for (const auto& [bytes, status] : cases) {
        const ScenarioReadResult result = Read(bytes);
        EXPECT_EQ(result.status, status) << bytes.left(24).toHex().toStdString();
        EXPECT_TRUE(!result.problem.isEmpty() && result.scenario.paths.isEmpty());
    }
    // Every sample cut short, "\x09KivoDSv3" among them, ends early.
    for (const QByteArray& sample : samples::AllSamples()) {
        for (qsizetype length = 1; length < sample.size(); ++length)
            ASSERT_EQ(Read(sample.left(length)).status, EndsEarly) << length;
    }
    EXPECT_EQ(Read(samples::Version30File().left(40)).detail, "the file ends early (at byte 32, reading the path)");
    EXPECT_EQ(Read(nul).detail, "the path of object 1 holds a NUL byte or is too long");
    EXPECT_EQ(Read(entries(1000001)).detail,
              "the file holds 1000001 media information entries, more than the 1000000 a scenario may have");

    // Up to the bound (a million objects are the writer's test), and an
    // empty list as written (its last cache index is -1) or any other
    // negative count, are read.
    EXPECT_EQ(Read(entries(1000000)).status, Ok);
    for (const QByteArray& none :
         {samples::EmptyObjectsFile(0), Bytes().Str("KivoDSv30").I32(-5).I32(-1).I32(7).I32(-9).Data()}) {
        const ScenarioReadResult result = Read(none);
        EXPECT_TRUE(result.status == Ok && result.scenario.current == -1 && result.scenario.paths.isEmpty() &&
                    result.scenario.cache.empty() && result.scenario.names.isEmpty());
    }
}

TEST(ScenarioReader, ANameOfMegabytesIsCutAndTheFileReadButANameThatIsItsPathStaysWhole)
{
    // A string of 3 MB: 0xFF, 0xFFFF, then its length in 32 bits.
    constexpr int kHuge = 3 << 20;
    const ScenarioReadResult result = Read(Bytes()
                                               .Str("KivoDSv30").I32(2).Str("/m/a.mpg").Str("/m/b.mpg").I32(0).I32(0).I32(-1)
                                               .U8(0xFF).U16(0xFFFF).U32(kHuge).Fill(kHuge, 'n').Str("b").Data());
    ASSERT_EQ(result.status, Ok);
    EXPECT_EQ(std::tuple(result.scenario.paths, result.scenario.names),
              std::tuple(QStringList({"/m/a.mpg", "/m/b.mpg"}), QStringList({QString(kMaxNameChars, u'n'), "b"})));

    const std::string path = "/m/" + std::string(4000, 'p');
    const QByteArray named =
        Bytes().Str("KivoDSv30").I32(1).U8(0xFF).U16(4003).Raw(path).I32(0).I32(0).I32(-1).U8(0xFF).U16(4003).Raw(path).Data();
    EXPECT_EQ(Read(named).scenario.names, QStringList({QString::fromStdString(path)}));
}

class ScenarioWriter : public ::testing::Test {
protected:
    // /m/ビデオ.mpg with a picture, named 名前; /m/café.mpg without one, of
    // a size beyond 32 bits, named ﾃｽﾄ and current; /m/x.wav, never
    // examined, with a blank name.
    void SetUp() override
    {
        cache.Add(test::SizedRecord(QStringLiteral("/m/ビデオ.mpg"), 1234, 921000000, 6000, TestPicture()));
        cache.Add(test::SizedRecord(QStringLiteral("/m/café.mpg"), 0x100000063ull, 5, 500));  // 99 in 32 bits
        list.AddObject(cache.Lookup(QStringLiteral("/m/ビデオ.mpg")), *TestPicture(), false);
        list.AddObject(cache.Lookup(QStringLiteral("/m/café.mpg")), QImage(), true);
        list.AddObject(test::Record(QStringLiteral("/m/x.wav"), 0, kFlagInvalid), QImage(), true);
        list.SetItemText(0, CutListModel::kColumnName, QStringLiteral("名前"));
        list.SetItemText(1, CutListModel::kColumnName, QStringLiteral("ﾃｽﾄ"));
        list.SetCurrent(1);
    }
    QString At(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
    // The reason a save to `path` fails, or an empty text.
    QString Refusal(const QString& path, qint32 position = 250, const CutListModel* objects = nullptr)
    {
        const std::optional<WriteFailure> failure = SaveScenarioFile(path, objects ? *objects : list, cache, position);
        return failure ? failure->reason : QString();
    }

    CutListModel list;
    CMediaInfoCache cache;
    QTemporaryDir folder;
};

// The file keeps the low 32 bits of a size, and current -1 for none.
TEST_F(ScenarioWriter, WritesTheExactBytesOfVersion30AndOfAnEmptyListAndReplacesTheFileOnlyWhenComplete)
{
    EXPECT_EQ(Written(CutListModel(), cache, 0), samples::EmptyObjectsFile(0));
    ASSERT_EQ(Refusal(At("list.kvo")), QString());
    EXPECT_EQ(test::ReadFile(At("list.kvo")), samples::Version30File(0));
    // Let writes past 1,000 bytes fail, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original{};
    getrlimit(RLIMIT_FSIZE, &original);
    const rlimit limited{1000, original.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
    const QString reason = Refusal(At("list.kvo"), 0);
    setrlimit(RLIMIT_FSIZE, &original);
    EXPECT_EQ(std::tuple(reason, test::ReadFile(At("list.kvo")), QDir(folder.path()).entryList(QDir::Files)),
              std::tuple("書き込めませんでした。ディスクの空きを確かめてください。", samples::Version30File(0), QStringList({"list.kvo"})));

    // A million objects are saved, one more is refused and leaves the file.
    CutListModel large;
    large.AddObjects(std::vector<MediaObject>(1000000), true);
    ASSERT_EQ(Refusal(At("list.kvo"), 0, &large), QString());
    EXPECT_EQ(ReadScenarioFile(At("list.kvo")).scenario.paths.size(), 1000000);
    const QByteArray saved = test::ReadFile(At("list.kvo"));
    large.AddObject(MEDIARECORD(), QImage(), true);
    const std::optional<WriteFailure> failure = SaveScenarioFile(At("list.kvo"), large, cache, 0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(std::tuple(failure->reason, failure->detail),
              std::tuple("ｵﾌﾞｼﾞｪｸﾄが多すぎます（1000000 個まで）。", "the cut list has 1000001 objects, more than the 1000000 a scenario may have"));
    EXPECT_EQ(test::ReadFile(At("list.kvo")), saved);
}

// Only the open of the path read ahead takes the read, once, and only a
// read that succeeded: a failure's message is made again when it is shown.
TEST_F(ScenarioWriter, AReadAheadIsTakenOnceByTheOpenOfItsPathWhenItSucceeded)
{
    ASSERT_EQ(Refusal(At("list.kvo")), QString());
    ScenarioReadAhead readAhead(At("list.kvo"));
    EXPECT_FALSE(readAhead.Take(At("other.kvo")));
    const std::optional<ScenarioReadResult> read = readAhead.Take(At("list.kvo"));
    const Scenario stored = ReadScenarioFile(At("list.kvo")).scenario;
    ASSERT_TRUE(read);
    EXPECT_EQ(std::tuple(read->scenario.paths, read->scenario.names, read->scenario.current, read->scenario.cache.size()),
              std::tuple(stored.paths, stored.names, stored.current, stored.cache.size()));
    EXPECT_FALSE(readAhead.Take(At("list.kvo")));
    test::WriteFile(At("junk.kvo"), "junk");
    ASSERT_TRUE(QFile::copy(At("list.kvo"), At("list.m3u")));  // not a scenario's name: not read
    for (const char* unread : {"junk.kvo", "missing.kvo", "list.m3u"})
        EXPECT_FALSE(ScenarioReadAhead(At(unread)).Take(At(unread))) << unread;
    EXPECT_FALSE(ScenarioReadAhead().Take(QString()));
}

TEST_F(ScenarioWriter, SaveGoesThroughLinksReplacesNothingButRegularFilesAndRefusesANameOfBytesThatAreNotUtf8)
{
    const auto link = [this](const char* target, const char* name) { fs::create_symlink(target, At(name).toStdString()); };
    ASSERT_EQ(Refusal(At("target.kvo"), 0), QString());
    link("target.kvo", "link.kvo");
    link("made.kvo", "dangling.kvo");  // a link to nothing gets its file
    for (const auto& [name, target] : {std::pair{"link.kvo", "target.kvo"}, std::pair{"dangling.kvo", "made.kvo"}}) {
        ASSERT_EQ(Refusal(At(name)), QString());
        EXPECT_TRUE(fs::is_symlink(At(name).toStdString()));
        EXPECT_EQ(test::ReadFile(At(target)), Written(list, cache, 250));
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(At("pipe.kvo")).constData(), 0600), 0);
    link("pipe.kvo", "to-pipe.kvo");
    link("loop-b", "loop-a");
    link("loop-a", "loop-b");
    for (const char* name : {"pipe.kvo", "to-pipe.kvo", "loop-a"})
        EXPECT_EQ(Refusal(At(name)), "通常のファイルではありません。") << name;
    EXPECT_EQ(SaveScenarioFile(At("pipe.kvo"), list, cache, 0).value_or(WriteFailure{}).detail, "it is not a regular file");
    EXPECT_TRUE(fs::is_symlink(At("loop-a").toStdString()));
    EXPECT_EQ(Refusal(folder.path()), "フォルダです。");
    // Nor is anything but a regular file read, a pipe without waiting for a
    // writer (a wait that would never end).
    for (const auto& [path, problem] : {std::pair(folder.path(), "フォルダです。"), {At("none.kvo"), "ファイルが見つかりません。"},
                                        {"/dev/null", "通常のファイルではありません。"}, {At("pipe.kvo"), "通常のファイルではありません。"}})
        EXPECT_EQ(std::tuple(ReadScenarioFile(path).status, ReadScenarioFile(path).problem), std::tuple(CannotOpen, problem));

    // A scenario file whose own name is not UTF-8 is read by its bytes.
    // (The paths, cache entries and names that are not UTF-8 come back byte
    // for byte in kvotool's create case, KvotoolTest.)
    const test::ByteFolder bytes;
    const QByteArray file = bytes.Write("list\xff.kvo", samples::Version30File());
    const ScenarioReadResult result = ReadScenarioFile(FileNameFromBytes(file));
    EXPECT_EQ(result.status, Ok) << result.detail.toStdString();
    // Qt's save file cannot reach such a name: saving is refused rather
    // than going to another file.
    EXPECT_EQ(Refusal(FileNameFromBytes(file + ".new")), "このファイル名では保存できません。");
    EXPECT_EQ(bytes.Names(), std::vector<std::string>({"list\xff.kvo"}));
}

TEST_F(ScenarioWriter, SavingOverAnotherUsersFileKeepsItsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can make a file of another user";
    const QByteArray path = QFile::encodeName(At("theirs.kvo"));
    ASSERT_TRUE(test::WriteFile(At("theirs.kvo"), "old"));
    ASSERT_EQ(::chown(path.constData(), 12345, 23456) | ::chmod(path.constData(), 0640), 0);
    ASSERT_EQ(Refusal(At("theirs.kvo")), QString());
    struct stat saved {};
    ASSERT_EQ(::stat(path.constData(), &saved), 0);
    EXPECT_EQ(std::tuple(saved.st_uid, saved.st_gid, saved.st_mode & 07777, test::ReadFile(At("theirs.kvo"))),
              std::tuple(12345u, 23456u, 0640u, samples::Version30File(0)));
}

// The one string that the bytes hold.
QString ReadBack(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader archive(buffer);
    QString text = archive.ReadString("text");
    EXPECT_TRUE(archive.AtEnd());
    return text;
}

TEST(Archive, StringsFollowTheFrameworkEncodingAndReadsFailAtTheEndInsteadOfAllocating)
{
    const auto written = [](const QString& text) { return Archived([&](ArchiveWriter& archive) { archive.WriteString(text); }); };
    const std::pair<int, QByteArray> prefixes[] = {
        {0, Bytes().U8(0).Data()},
        {254, Bytes().U8(254).Data()},
        {255, Bytes().U8(0xFF).U16(255).Data()},
        {0xFFFD, Bytes().U8(0xFF).U16(0xFFFD).Data()},
        {0xFFFE, Bytes().U8(0xFF).U16(0xFFFF).U32(0xFFFE).Data()},
    };
    for (const auto& [length, prefix] : prefixes) {
        const QString text(length, u'x');
        EXPECT_EQ(written(text), prefix + QByteArray(length, 'x')) << length;
        EXPECT_EQ(ReadBack(written(text)), text) << length;
    }
    // Text outside CP932 takes the wide form, a character outside the basic
    // plane as its surrogate pair.
    EXPECT_EQ(written(QStringLiteral("😀")), Bytes().U8(0xFF).U16(0xFFFE).U8(2).U16(0xD83D).U16(0xDE00).Data());
    EXPECT_EQ(ReadBack(written(QStringLiteral("¥"))), QStringLiteral("¥"));
    // A length of 4 GB before three bytes; a wide string one unit short.
    for (const QByteArray& bytes : {Bytes().U8(0xFF).U16(0xFFFF).U32(0xFFFFFFF0).Raw("abc").Data(),
                                    Bytes().U8(0xFF).U16(0xFFFE).U8(3).U16('a').Data()})
        EXPECT_THROW(ReadBack(bytes), ArchiveEndsEarly);
}

// The reader reads ahead in blocks of the device: fields that straddle a
// block's end, a string of several blocks and a skip beyond the block read
// as they were written, and the end is where the bytes end.
TEST(Archive, FieldsAcrossTheReadAheadBlocksReadAsWritten)
{
    QStringList texts;
    for (int i = 0; i < 3000; ++i)
        texts.append(QString(i % 97, QChar(u'a' + i % 26)));
    texts.append(QString(200000, u'表'));
    QByteArray bytes = Archived([&](ArchiveWriter& archive) {
        for (const QString& text : texts) {
            archive.WriteString(text);
            archive.WriteInt32(static_cast<qint32>(text.size()));
        }
        archive.WriteBytes(QByteArray(100000, 'x'));
        archive.WriteInt32(-7);
    });
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ArchiveReader archive(buffer);
    QStringList read;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        read.append(archive.ReadString("text"));
        ASSERT_EQ(archive.ReadInt32("size"), read.back().size()) << i;
    }
    EXPECT_EQ(read, texts);
    archive.Skip(100000, "filler");
    EXPECT_EQ(archive.ReadInt32("end"), -7);
    EXPECT_TRUE(archive.AtEnd());
    EXPECT_THROW(archive.ReadInt32("beyond"), ArchiveEndsEarly);
}

// Which texts are written in Shift-JIS the writer's exact bytes show (the
// yen sign, which would read back as a backslash, the archive's).
TEST(TextEncoding, ShiftJisKeepsAsciiAndIsReadWithReplacements)
{
    EXPECT_EQ(EncodeCp932(QStringLiteral("a\\b~")), QByteArray("a\\b~"));
    // A trail byte 0x5C; a lone lead byte at the end and an undefined byte.
    EXPECT_EQ(DecodeCp932("\x95\x5c\x83\x72"), QStringLiteral("表ビ"));
    EXPECT_EQ(DecodeCp932("a\xff" "b\x83"), QStringLiteral("a\uFFFDb\uFFFD"));
}

}  // namespace
}  // namespace kivo
