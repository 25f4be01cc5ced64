#include "DocumentParts.h"
#include "LogLines.h"
#include "ScenarioSamples.h"
#include "TestMedia.h"
#include "TestFiles.h"
#include "cutlist/Playlists.h"
#include "cutlist/ScenarioFile.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace kivo {
namespace {

using test::Media;

class Document : public ::testing::Test, protected test::DocumentParts {
protected:
    void SetUp() override
    {
        QObject::connect(&document, &CutListDocument::message, [this](const QString& text) { messages.append(text); });
    }

    OpenOutcome Open(const QString& path)
    {
        std::optional<OpenOutcome> outcome;
        document.Open(path, [&](OpenOutcome result) { outcome = result; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 60000) && Settled());
        return outcome.value_or(OpenOutcome::Refused);
    }

    QTemporaryDir folder;
    QStringList messages;
};

TEST_F(Document, PlaylistsOpenAsNewCutListsAndTheListExportsAsOne)
{
    ASSERT_TRUE(Add({Media("audio.wav")}));
    const QString playlist = folder.filePath("other.m3u8");
    test::WriteFile(playlist, QStringLiteral("#EXTM3U\n#EXTINF:3,夜の音\n%1\nhttp://example.org/a.mp3\n%2\n%3\n")
                                  .arg(Media("video.avi"), Media("missing.avi"), Media("text.txt"))
                                  .toUtf8());
    bool opened = false;
    document.OpenPlaylist(playlist, [&](bool read) { opened = read; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened; }, 60000) && Settled());
    ASSERT_EQ(list.GetItemCount(), 2);  // a new list of the local files that exist
    EXPECT_EQ(std::pair(list.GetItemText(0, CutListModel::kColumnName), list.GetItemText(1, CutListModel::kColumnName)),
              std::pair(QString("夜の音"), Media("text.txt")));
    EXPECT_EQ(list.FindCurrentItem(), 0);
    // The http entry and the missing file, counted together.
    EXPECT_EQ(messages, QStringList{"ローカルファイルでないか、存在しない 2 個の項目は読み込みませんでした。"});

    // Exporting leaves the document as it is.
    document.SetModified(false);
    const QString exported = folder.filePath("out.xspf");
    ASSERT_TRUE(document.ExportPlaylist(exported));
    EXPECT_FALSE(document.IsModified());
    const PlaylistReading back = ReadPlaylistFile(exported).reading;
    ASSERT_EQ(back.entries.size(), 2U);
    EXPECT_EQ(std::tuple(back.entries[0].path, back.entries[0].title, back.entries[1].title),
              std::tuple(Media("video.avi"), QString("夜の音"), QString()));
    EXPECT_GT(back.entries[0].seconds, 2.5);
}

TEST_F(Document, SavedCutListsOpenAgainWithTheirNamesAndCacheEntriesAndKeepTheCuedObjectsPlace)
{
    ASSERT_TRUE(Add({Media("text.txt"), Media("video.avi"), Media("audio.wav")}));
    EXPECT_EQ(list.FindCurrentItem(), 1);  // the first playable object, not opened
    list.SetItemText(2, CutListModel::kColumnName, QStringLiteral("音声"));
    const QString path = folder.filePath("list.kvo");
    document.Save(path);
    ASSERT_TRUE(document.FinishSaving());

    document.NewDocument();
    const int cached = cache.GetSize();
    // As the program started with the file opens it: from its read ahead.
    document.UseReadAhead(ScenarioReadAhead(path));
    ASSERT_EQ(Open(path), OpenOutcome::Opened);
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(std::tuple(list.GetItemText(2, CutListModel::kColumnName), list.GetItemText(1, CutListModel::kColumnState)),
              std::tuple("音声", "停止"));
    EXPECT_FALSE(document.IsModified());
    // The stored entries joined the cache, but for the sound file's, alike
    // to the entry the cache holds (no picture to tell them apart); nothing
    // was examined again.
    EXPECT_EQ(cache.GetSize(), cached + 2);
    EXPECT_TRUE(messages.isEmpty());

    // Saved again before the cued object has opened, it keeps its place.
    playback.CueObject(1, 150);
    document.Save(path);
    ASSERT_TRUE(document.FinishSaving());
    ASSERT_TRUE(Settled());
    EXPECT_EQ(ReadScenarioFile(path).scenario.position, 150);
}

// A large list is written while the window goes on: what is saved is the list
// as it was when asked for, a change meanwhile leaves the document modified,
// and saves follow one another in turn, each settled from the event loop.
TEST_F(Document, SavesAreWrittenInTheBackgroundInTurnAndAChangeMeanwhileKeepsTheDocumentModified)
{
    ASSERT_TRUE(Add({Media("video.avi"), Media("audio.wav")}));
    document.SetModified(true);
    const QString path = folder.filePath("list.kvo");
    std::vector<std::pair<QString, bool>> settled;
    const auto heard = [&](const QString& name) { return [&settled, name](bool saved) { settled.emplace_back(name, saved); }; };
    document.Save(path, heard("list"));
    list.DeleteItem(0);
    document.SetModified(true);
    document.Save(folder.filePath("no/such/folder.kvo"), heard("nowhere"));
    EXPECT_TRUE(settled.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return settled.size() == 2; }));
    EXPECT_EQ(settled, (std::vector<std::pair<QString, bool>>{{"list", true}, {"nowhere", false}}));
    EXPECT_EQ(std::pair(ReadScenarioFile(path).scenario.paths.size(), document.IsModified()), std::pair(qsizetype{2}, true));

    document.Save(path);
    ASSERT_TRUE(document.FinishSaving());
    EXPECT_EQ(std::pair(ReadScenarioFile(path).scenario.paths.size(), document.IsModified()), std::pair(qsizetype{1}, false));

    // A save refused at once, maybe before the document hears of its end,
    // is settled all the same.
    for (int i = 0; i < 50; ++i) {
        settled.clear();
        document.Save(folder.path(), heard("folder"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !settled.empty(); }, 2000)) << "save " << i;
    }
    // And whoever waits for it hears of the failure: a quick refusal once
    // was settled before the wait, which then said all was written.
    for (int i = 0; i < 50; ++i) {
        document.Save(folder.path());
        ASSERT_FALSE(document.FinishSaving()) << "save " << i;
    }
}

// (The current object and its position after a save and an open are the
// end-to-end test play-and-keep-a-cut-list's.)

// What the real program does with a file that ends early, is no scenario,
// is gone, empty or a pipe is the end-to-end test open-a-scenario's.
TEST_F(Document, HostileFilesAndFailedWritesChangeNothingAndAreSaidInJapaneseAndWarnedOnceNamingTheFile)
{
    ASSERT_TRUE(Add({Media("audio.wav")}));
    document.SetModified(true);
    // A stored path holding a NUL would reach another file; more objects
    // than a scenario holds, every byte of them there.
    const QString nul = folder.filePath("nul.kvo"), large = folder.filePath("large.kvo");
    const QString saved = folder.filePath("no/such/folder.kvo"), exported = folder.filePath("no/such/list.m3u8");
    const QString playlist = folder.filePath("broken.xspf");
    test::WriteFile(nul, QByteArray("\x09KivoDSv10\x01\0\0\0\x09/m/a\0.avi", 24));
    ASSERT_TRUE(test::WriteFile(large, samples::EmptyObjectsFile(1000001)));
    test::WriteFile(playlist, "<playlist>");
    const auto log = test::LoggedWhile([&] {
        EXPECT_EQ(Open(nul), OpenOutcome::Refused);
        EXPECT_EQ(messages.last(), "nul.kvo を読み込めませんでした。\nファイルの形式が正しくありません。");
        EXPECT_EQ(Open(large), OpenOutcome::Refused);
        EXPECT_EQ(messages.last(), "large.kvo を読み込めませんでした。\nｵﾌﾞｼﾞｪｸﾄが多すぎます（1000000 個まで）。");
        document.Save(saved);
        EXPECT_FALSE(document.FinishSaving());
        EXPECT_TRUE(messages.last().startsWith("folder.kvo に保存できませんでした。"));
        EXPECT_FALSE(document.ExportPlaylist(exported));
        document.OpenPlaylist(playlist, {});
    });
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_TRUE(document.IsModified());
    for (const QString& message : messages)
        EXPECT_FALSE(message.section(u'\n', 1).contains(QRegularExpression("[A-Za-z]"))) << message.toStdString();
    for (const auto& [category, path] : {std::pair("kivo.scenario", nul), {"kivo.scenario", saved},
                                         {"kivo.playlist", exported}, {"kivo.playlist", playlist}})
        EXPECT_EQ(test::WarningsNaming(log, category, path), 1) << path.toStdString();
}

// The search for a still picture once outlived its add and took over the
// player at the next one.
TEST_F(Document, ExaminingPausesThePlayersVideoOrOpensTheFirstExaminedFileThereEvenWhenACueOvertakesIt)
{
    ASSERT_TRUE(Add({Media("text.txt"), Media("audio.wav"), Media("video.avi")}));
    // The first file that opens, then the video, which holds, paused.
    EXPECT_EQ(std::pair(player.Path(), player.State()), std::pair(Media("audio.wav"), PlayState::Stopped));
    playback.PlayNext(2);
    ASSERT_TRUE(Settled());
    ASSERT_TRUE(Add({Media("video.mov")}));
    EXPECT_EQ(std::pair(player.Path(), player.State()), std::pair(Media("video.avi"), PlayState::Paused));

    playback.PlayNext(1);  // sound only: the next add looks for a picture
    ASSERT_TRUE(Settled());
    bool added = false;
    document.AddMediaFiles({Media("video.avi")}, false, [&] { added = true; });
    // A cue made before the still picture has opened, as the cue at the end
    // of a quick add is.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.IsOpening(); }, 10000));
    ASSERT_TRUE(playback.CueObject(1, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return added; }, 60000) && Settled());
    // The next add looks again, from its own first file.
    ASSERT_TRUE(Add({Media("video.mpg")}));
    EXPECT_EQ(std::pair(player.Path(), player.State()), std::pair(Media("video.mpg"), PlayState::Paused));
}

}  // namespace
}  // namespace kivo
