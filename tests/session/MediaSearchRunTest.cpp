#include "DocumentParts.h"
#include "session/MediaSearchRun.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Media;

// Answers the question as told, and counts what the run asks and tells.
struct Answers : MediaSearchQuestions {
    bool AskToClearCutList() override
    {
        ++clearQuestions;
        return clear;
    }
    void TellNothingFound() override { ++nothingFound; }
    bool clear = false;
    int clearQuestions = 0;
    int nothingFound = 0;
};

// Searches of a folder holding a.WAV and sub/deep/b.avi, and sub/c.wav.txt,
// which is no media file, into a list of two objects.
class MediaSearching : public ::testing::Test, protected test::DocumentParts {
protected:
    void SetUp() override
    {
        QDir(drive.path()).mkpath("sub/deep");
        ASSERT_TRUE(QFile::copy(Media("video.avi"), drive.filePath("sub/deep/b.avi")));
        ASSERT_TRUE(QFile::copy(Media("audio.wav"), drive.filePath("a.WAV")));
        ASSERT_TRUE(QFile::copy(Media("audio.wav"), drive.filePath("sub/c.wav.txt")));
        ASSERT_TRUE(Add({Media("audio.wav"), Media("video.avi")}));
    }
    bool Search(const MediaChoices& choices = {})
    {
        bool done = false;
        run.Start(choices, root, [&] { done = true; });
        return QTest::qWaitFor([&] { return done; }, 60000) && Settled();
    }
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < list.GetItemCount(); ++i)
            names << list.GetItemText(i, CutListModel::kColumnName);
        return names;
    }

    QTemporaryDir drive;
    const QByteArray root = QFile::encodeName(drive.path());
    Answers answers;
    CutListEditor& editor = session.editor;
    MediaSearchRun run{document, editor, answers};
};

TEST_F(MediaSearching, TheWalkIsAnnouncedThenKeptObjectsAndHitsAreSortedByNameAndTheFirstIsCued)
{
    editor.Sort(SortKey::Name);  // a plain name sort would descend next
    document.SetModified(false);
    // Announced from its start to its end, and ended before the hits are added.
    QStringList events;
    QObject::connect(&run, &MediaSearchRun::walkStarted, [&](const QByteArray& folder) { events << folder; });
    QObject::connect(&run, &MediaSearchRun::walkProgressed, [&](quint64 folders, quint64 hits) { events << QString("%1/%2").arg(folders).arg(hits); });
    QObject::connect(&run, &MediaSearchRun::walkEnded, [&] { events << QString::number(list.GetItemCount()); });
    ASSERT_TRUE(Search());
    EXPECT_EQ(std::tuple(answers.clearQuestions, events.mid(0, 2) + events.mid(events.size() - 2)),
              std::tuple(1, QStringList({drive.path(), "0/0", "3/2", "2"})));
    QStringList expected = {Media("audio.wav"), Media("video.avi"), drive.filePath("a.WAV"), drive.filePath("sub/deep/b.avi")};
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(Names(), expected);
    EXPECT_TRUE(list.FindCurrentItem() == 0 && document.IsModified());
}

TEST_F(MediaSearching, ACancelledWalkLeavesTheListAsItWasOrAsTheUserHadItCleared)
{
    const QStringList before = Names();
    for (const bool clear : {false, true}) {
        answers.clear = clear;
        QSignalSpy ended(&run, &MediaSearchRun::walkEnded);
        bool done = false;
        run.Start({}, root, [&] { done = true; });
        ASSERT_TRUE(run.IsWalking());
        run.Cancel();
        EXPECT_TRUE(done && ended.count() == 1);
        EXPECT_EQ(Names(), clear ? QStringList() : before);
    }
    EXPECT_EQ(answers.clearQuestions, 2);
    MediaSearchRun(document, editor, answers).Start({}, root);  // gone at once
    // What the walks left behind found reaches nothing: this search adds its own hits only.
    ASSERT_TRUE(Search());
    EXPECT_EQ(Names(), QStringList({drive.filePath("a.WAV"), drive.filePath("sub/deep/b.avi")}));
}

TEST_F(MediaSearching, NothingFoundIsToldAndChangesNothingElse)
{
    const QStringList before = Names();
    MediaChoices choices;
    choices.avi = choices.wav = false;
    ASSERT_TRUE(Search(choices));
    EXPECT_EQ(std::pair(answers.nothingFound, Names()), std::pair(1, before));

    choices.all = true;  // every file, whatever its name
    answers.clear = true;
    ASSERT_TRUE(Search(choices));
    EXPECT_EQ(std::pair(list.GetItemCount(), answers.nothingFound), std::pair(3, 1));
}

TEST_F(MediaSearching, ASearchAskedForMeanwhileWaitsItsTurn)
{
    answers.clear = true;
    QStringList ends;
    run.Start({}, root, [&] { ends << QStringLiteral("first %1").arg(list.GetItemCount()); });
    run.Start({}, root, [&] { ends << QStringLiteral("second %1").arg(list.GetItemCount()); });
    EXPECT_EQ(answers.clearQuestions, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends.size() == 2; }, 60000));
    EXPECT_EQ(ends, QStringList({"first 2", "second 2"}));
    EXPECT_EQ(answers.clearQuestions, 2);  // the list held the first search's hits
}

}  // namespace
}  // namespace kivo
