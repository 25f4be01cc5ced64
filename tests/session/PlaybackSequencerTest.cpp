#include "TestMedia.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "media/Levels.h"
#include "media/MediaEngine.h"
#include "session/PlaybackSequencer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace kivo {
namespace {

using test::Media;
using test::WaitUntil;

// Records what the sequencer tells the windows around it.
struct FakeHost : PlaybackHost {
    void SendToFrame(int code, qintptr value) override
    {
        frame.emplace_back(code, value);
        if (code == 2)
            durationsWhileBusy.push_back(busy > 0);
    }
    void ShowPlayerWindow(bool show) override { playerVisible = show; }
    void ShowMessage(const QString& text, Icon) override { messages.append(text); }
    void SetModified() override { ++modified; }
    void ShowBusy(bool on) override { busy += on ? 1 : -1; }

    // The values sent with one code, in order.
    std::vector<qintptr> Sent(int code) const
    {
        std::vector<qintptr> values;
        for (const auto& [sentCode, value] : frame) {
            if (sentCode == code)
                values.push_back(value);
        }
        return values;
    }

    std::vector<std::pair<int, qintptr>> frame;
    bool playerVisible = false;
    QStringList messages;
    int modified = 0;
    int busy = 0;
    // For each duration report: whether it came while the host showed itself busy.
    std::vector<bool> durationsWhileBusy;
};

class Sequencing : public ::testing::Test {
protected:
    void Add(const QString& path, bool playable = true)
    {
        list.AddObject(test::Record(path, 300, playable ? kFlagValid : kFlagInvalid), QImage(), false);
    }

    QString State(int position) const { return list.GetItemText(position, CutListModel::kColumnState); }

    CutListModel list;
    MediaEngine player;
    FakeHost host;
    PlaybackSequencer sequencer{list, player, host};
};

TEST_F(Sequencing, TheEndOfTheLastObjectCuesTheFirstPlayableOne)
{
    Add(Media("text.txt"), false);
    Add(Media("audio.wav"));
    Add(Media("video-only.avi"));
    Add(Media("text.txt"), false);
    ASSERT_TRUE(sequencer.CueObject(2, 270));
    EXPECT_EQ(State(2), "停止");
    sequencer.Play();
    EXPECT_EQ(State(2), "再生");
    EXPECT_EQ(list.GetItemState(2), ObjectState::Playing);
    EXPECT_TRUE(host.playerVisible);  // video shows the player
    host.frame.clear();

    ASSERT_TRUE(WaitUntil([&] { return list.FindCurrentItem() == 1; }, 5000));
    EXPECT_EQ(State(1), "停止");
    EXPECT_EQ(State(2), "待機");
    EXPECT_EQ(State(0), "無効");
    EXPECT_FALSE(host.playerVisible);
    EXPECT_EQ(host.Sent(2), std::vector<qintptr>({300}));
    EXPECT_EQ(host.Sent(3).back(), kPlayStateStopped);
    EXPECT_EQ(sequencer.FrameState(), kPlayStateStopped);
    // Cueing and moving on open media, which can be slow: the wait cursor
    // shows for both, and goes again.
    EXPECT_EQ(host.durationsWhileBusy, std::vector<bool>({true, true}));
    EXPECT_EQ(host.busy, 0);
}

TEST_F(Sequencing, PlayPauseAtExactlyTheStartRebuildsThePipelineAndSoundPlaysWithThePlayerHidden)
{
    Add(Media("audio.wav"));
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    host.frame.clear();
    host.playerVisible = true;
    sequencer.PlayPause();
    EXPECT_EQ(host.Sent(2).size(), 1u);  // reopened: the duration is reported again
    EXPECT_EQ(player.State(), kPlayStatePlaying);
    EXPECT_FALSE(host.playerVisible);
    sequencer.PlayPause();
    EXPECT_EQ(player.State(), kPlayStatePaused);
    EXPECT_EQ(State(0), "一時停止");
    host.frame.clear();
    sequencer.PlayPause();  // resumes where it was
    EXPECT_TRUE(host.Sent(2).empty());
}

TEST_F(Sequencing, ASeekWhileStoppedLeavesTheObjectPausedThere)
{
    Add(Media("video.avi"));
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    EXPECT_EQ(sequencer.Dispatch(1, 150), 0);
    EXPECT_EQ(State(0), "一時停止");
    EXPECT_EQ(sequencer.FrameState(), kPlayStatePaused);
    EXPECT_NEAR(static_cast<double>(sequencer.Dispatch(2, 0)), 150.0, 3.0);
}

TEST_F(Sequencing, OnlyInvalidObjectsLeft)
{
    Add(Media("text.txt"), false);
    Add(Media("empty.mpg"), false);
    EXPECT_FALSE(sequencer.CueObject(0, 0));
    EXPECT_EQ(list.GetCurrent(), -1);
    sequencer.PlayNext(0);
    EXPECT_EQ(list.GetCurrent(), -1);
    EXPECT_FALSE(host.playerVisible);
    EXPECT_EQ(sequencer.Dispatch(3, 0), -1);
}

TEST_F(Sequencing, AFileGoneSinceItWasAddedCannotStart)
{
    QTemporaryDir folder;
    const QString copy = folder.filePath("clip.avi");
    ASSERT_TRUE(QFile::copy(Media("video.avi"), copy));
    Add(copy);
    ASSERT_TRUE(QFile::remove(copy));
    ASSERT_TRUE(sequencer.CueObject(0, 0));  // still the current object
    sequencer.Play();
    EXPECT_EQ(host.messages, QStringList({"再生開始できません。"}));
    EXPECT_EQ(State(0), "停止");
}

TEST_F(Sequencing, ProtocolCodesAndEnabling)
{
    EXPECT_EQ(sequencer.Dispatch(20, 0), -1);  // no objects, no current one
    for (int i = 0; i < 3; ++i)
        Add(Media("audio.wav"));
    EXPECT_EQ(sequencer.Dispatch(20, 0), 3 * 65535 - 1);
    EXPECT_FALSE(sequencer.CanPlayPrevious());
    EXPECT_FALSE(sequencer.CanPlayNext());
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    EXPECT_EQ(sequencer.Dispatch(20, 0), 3 * 65535);
    EXPECT_EQ(sequencer.Dispatch(4, 0), 0);
    EXPECT_FALSE(sequencer.CanPlayPrevious());
    EXPECT_TRUE(sequencer.CanPlayNext());
    EXPECT_TRUE(sequencer.CanPause());
    EXPECT_FALSE(sequencer.CanStop());

    EXPECT_EQ(sequencer.Dispatch(3, 2), 0);  // the last object, opened, not played
    EXPECT_EQ(list.FindCurrentItem(), 2);
    EXPECT_TRUE(sequencer.CanPlayPrevious());
    EXPECT_FALSE(sequencer.CanPlayNext());

    EXPECT_EQ(sequencer.Dispatch(13, 200), 200);
    EXPECT_EQ(sequencer.Dispatch(13, 0), 200);  // refused: the rate in force
    sequencer.Dispatch(11, 50);
    EXPECT_EQ(player.Volume(), -693);
    sequencer.Dispatch(10, -100);
    EXPECT_EQ(player.Balance(), -10000);
    sequencer.Dispatch(12, 1);
    EXPECT_TRUE(player.IsMuted());
    EXPECT_EQ(sequencer.Dispatch(99, 5), 0);
}

TEST_F(Sequencing, TimesOfVeryLongMediaAreReportedClamped)
{
    constexpr qintptr largest = std::numeric_limits<qint32>::max();
    Add(Media("slow.wav"));  // 23,068,628 s
    ASSERT_TRUE(sequencer.CueObject(0, qint64{2200000000}));
    EXPECT_EQ(host.Sent(2), std::vector<qintptr>({largest}));
    EXPECT_EQ(sequencer.Dispatch(2, 0), largest);
    sequencer.OnTimer();
    EXPECT_EQ(host.Sent(1).back(), largest);
}

TEST_F(Sequencing, ResetForgetsTheCurrentObjectAfterReportingStopped)
{
    Add(Media("audio.wav"));
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    sequencer.Play();
    host.frame.clear();
    sequencer.ResetPlayback();
    EXPECT_EQ(host.Sent(3), std::vector<qintptr>({kPlayStateStopped, kPlayStateEmpty}));
    EXPECT_EQ(list.GetCurrent(), -1);
    EXPECT_EQ(player.State(), kPlayStateEmpty);
    EXPECT_FALSE(sequencer.CanPlayPause());
}

}  // namespace
}  // namespace kivo
