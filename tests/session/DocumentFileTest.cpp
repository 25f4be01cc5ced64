#include "DocumentParts.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "session/DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace kivo {
namespace {

using test::Media;

// The user's answers, given in turn; what was asked is noted.
struct ScriptedQuestions : DocumentQuestions {
    Answer AskToSaveChanges(const QString& question) override
    {
        questions.append(question);
        return std::exchange(answer, Answer::Cancel);
    }
    QString ChooseSavePath(const QString& start) override
    {
        starts.append(start);
        return std::exchange(savePath, QString());
    }
    void BringForward() override { ++broughtForward; }

    Answer answer = Answer::Cancel;
    QString savePath;
    QStringList questions;
    QStringList starts;
    int broughtForward = 0;
};

class File : public ::testing::Test, protected test::DocumentParts {
protected:
    // Opens the file; false when it did not become the document.
    bool Open(const QString& path)
    {
        std::optional<bool> opened;
        file.Open(path, [&](bool ok) { opened = ok; });
        return QTest::qWaitFor([&] { return opened.has_value(); }, 60000) && Settled() && *opened;
    }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    ScriptedQuestions user;
    DocumentFile file{document, settings, user};
    QSignalSpy titles{&file, &DocumentFile::titleChanged};
};

TEST_F(File, SavingNamesTheDocumentAfterItsFileAndKeepsItAmongTheRecentFiles)
{
    ASSERT_TRUE(Add({Media("audio.wav")}));
    EXPECT_EQ((std::tuple{file.Save(), titles.count()}), std::tuple(false, 0));  // asked for a file, and cancelled
    user.savePath = folder.filePath("list");  // no extension: the scenario's
    ASSERT_TRUE(file.Save() && document.FinishSaving());
    const QString saved = folder.filePath("list.kvo");
    EXPECT_EQ(std::tuple(file.Path(), titles.takeLast().at(0).toString(), settings.GetRecentFiles()),
              std::tuple(saved, "list.kvo - Kivo", QStringList{saved}));

    user.savePath = folder.filePath("other.scene");  // an extension of its own stays
    ASSERT_TRUE(file.SaveAs() && document.FinishSaving());
    // The choice starts at the document's file.
    EXPECT_EQ(std::pair(user.starts, file.Path()), std::pair(QStringList({"", "", saved}), folder.filePath("other.scene")));
    QFile::remove(saved);
    document.SetModified(true);
    ASSERT_TRUE(file.Save() && document.FinishSaving());  // back to its own file, without asking
    EXPECT_EQ(std::pair(user.starts.size(), QFile::exists(saved)), std::pair(qsizetype{3}, false));
}

TEST_F(File, AModifiedDocumentIsReplacedOnlyAfterTheUsersAnswer)
{
    EXPECT_TRUE(file.MaySaveChanges());  // unmodified: nothing to ask
    EXPECT_TRUE(user.questions.isEmpty());
    ASSERT_TRUE(Add({Media("audio.wav")}));
    document.SetModified(true);

    // Cancelled; not saved; saved, but the untitled document's file is
    // not chosen; saved, but the file cannot be written; saved.
    using enum DocumentQuestions::Answer;
    const QString path = folder.filePath("list.kvo");
    for (const auto& [answer, savePath, replaced] : {std::tuple(Cancel, path, false), {No, path, true}, {Yes, QString(), false},
                                                     {Yes, folder.filePath("no/such/list.kvo"), false}, {Yes, path, true}}) {
        user.answer = answer;
        user.savePath = savePath;
        EXPECT_EQ(file.MaySaveChanges(), replaced);
        EXPECT_EQ(document.IsModified(), answer != Yes || !replaced);
    }
    EXPECT_EQ(user.questions.first(), "無題 への変更を保存しますか?");
    EXPECT_TRUE(QFile::exists(path));

    // A cancelled question keeps the document: an open does not happen.
    document.SetModified(true);
    bool doneRan = false;
    file.Open(folder.filePath("missing.kvo"), [&](bool) { doneRan = true; });
    EXPECT_EQ(std::tuple(user.questions.last(), doneRan, file.Path()), std::tuple("list.kvo への変更を保存しますか?", false, path));
}

// A file that ends early, and what the real program then saves, are the
// end-to-end test open-a-scenario's.
TEST_F(File, OpeningTakesTheFilesNameOrLeavesAnUntitledDocument)
{
    ASSERT_TRUE(Add({Media("video.avi"), Media("audio.wav")}));
    const QString path = folder.filePath("list.kvo");
    file.SaveTo(path);
    ASSERT_TRUE(document.FinishSaving());
    QSignalSpy opens(&player, &MediaEngine::openFinished);
    // The open, unchanged file under another name: it only comes forward.
    ASSERT_TRUE(Open(QDir(folder.path()).filePath("../" + QDir(folder.path()).dirName() + "/list.kvo")));
    EXPECT_EQ(std::tuple(user.broughtForward, opens.count()), std::tuple(1, 0));

    // (The title an open file gives is the open-a-scenario script's.)
    file.New();
    EXPECT_EQ(file.Title(), "無題 - Kivo");
    ASSERT_TRUE(Open(path));
    // A playlist gives an untitled list.
    ASSERT_TRUE(document.ExportPlaylist(folder.filePath("list.m3u8")));
    ASSERT_TRUE(Open(folder.filePath("list.m3u8")));
    EXPECT_EQ(std::tuple(file.Path(), list.GetItemCount()), std::tuple("", 2));

    // A file that cannot be read leaves the recent files.
    QFile::resize(path, 30);
    user.answer = DocumentQuestions::Answer::No;
    EXPECT_FALSE(Open(path));
    EXPECT_TRUE(settings.GetRecentFiles().isEmpty());
}

}  // namespace
}  // namespace kivo
