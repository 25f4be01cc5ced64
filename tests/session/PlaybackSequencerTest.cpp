#include "QuietPlaybackHost.h"
#include "TestMedia.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/Thumbnail.h"
#include "media/Levels.h"
#include "media/MediaEngine.h"
#include "media/Pictures.h"
#include "session/PlaybackSequencer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace kivo {
namespace {

using test::Media;

// Records what the sequencer tells the windows around it and the bars.
struct FakeHost : test::QuietHost {
    void ShowMessage(const QString& text, Icon) override { messages.append(text); }
    void ShowBusy(bool on) override { busy += on ? 1 : -1; }

    void Listen(PlaybackSequencer& sequencer)
    {
        QObject::connect(&sequencer, &PlaybackSequencer::positionChanged, [this](int at) { positions.push_back(at); });
        QObject::connect(&sequencer, &PlaybackSequencer::lengthChanged, [this](int length) {
            lengths.push_back(length);
            lengthsWhileBusy.push_back(busy > 0);
        });
        QObject::connect(&sequencer, &PlaybackSequencer::playStateChanged,
                         [this](PlayState state) { states.push_back(state); });
    }
    void Clear() { positions.clear(), lengths.clear(), states.clear(); }

    std::vector<int> positions, lengths;
    std::vector<bool> lengthsWhileBusy;  // for each length: shown while busy
    std::vector<PlayState> states;
    QStringList messages;
    int busy = 0;
};

class Sequencing : public ::testing::Test {
protected:
    Sequencing() { host.Listen(sequencer); }

    void Add(const QString& path, bool playable = true)
    {
        list.AddObject(test::Record(path, 300, playable ? kFlagValid : kFlagInvalid), QImage(), false);
    }
    // Waits for the object being opened.
    bool Opened() { return QTest::qWaitFor([&] { return !sequencer.IsOpening() && host.busy == 0; }, 10000); }
    bool Cue(int position, qint64 hundredths) { return sequencer.CueObject(position, hundredths) && Opened(); }

    QString State(int position) const { return list.GetItemText(position, CutListModel::kColumnState); }

    CutListModel list;
    MediaEngine player;
    FakeHost host;
    PlaybackSequencer sequencer{list, player, host};
};

TEST_F(Sequencing, ASliderDragPausesSeeksAtMostEveryTenthOfASecondAndLandsWhereItWasLetGo)
{
    Add(Media("video.avi"));
    ASSERT_TRUE(Cue(0, 0));
    // Every seek lands on a known position: count the landings by
    // watching the engine's position change between the requests.
    std::vector<double> sought;
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= 50; ++i) {
        sequencer.Seek(i * 5);
        if (sought.empty() || std::abs(player.GetPosition() - sought.back()) > 1e-9)
            sought.push_back(player.GetPosition());
        // A drag's pace: the seeks are limited in time, so the requests
        // must come spread over time as a slider's do.
        QTest::qWait(5);
    }
    EXPECT_LE(static_cast<qint64>(sought.size()), clock.elapsed() / 100 + 2);
    EXPECT_GE(sought.size(), 2u);
    sequencer.FinishSeeking();
    EXPECT_NEAR(player.GetPosition(), 2.5, 0.03);
    EXPECT_EQ(State(0), "一時停止");  // a seek while stopped leaves it paused there
}

TEST_F(Sequencing, RequestsWhileTheObjectOpensAreCarriedOutOnceItHasOpened)
{
    Add(Media("video.avi"));
    Add(Media("audio.wav"));
    // The first object of a list just opened: the bars show it stopped and
    // offer the transport at once (the command rules' opening row), and a
    // play pressed before it has opened plays it.
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    EXPECT_EQ(sequencer.FrameState(), PlayState::Stopped);
    EXPECT_TRUE(sequencer.IsOpeningObject());
    // Then right after next: the pause waits for the object, and so does a stop.
    using Request = void (PlaybackSequencer::*)();
    for (const auto& [next, request, state] :
         {std::tuple<int, Request, PlayState>(-1, &PlaybackSequencer::PlayPause, PlayState::Playing),
          {1, &PlaybackSequencer::Pause, PlayState::Paused}, {0, &PlaybackSequencer::Stop, PlayState::Stopped}}) {
        if (next >= 0)
            sequencer.PlayNext(next);
        (sequencer.*request)();
        ASSERT_TRUE(Opened());
        EXPECT_EQ(player.State(), state);
    }
    // The position slider let go while the object opens: sought once it has.
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    sequencer.Seek(150);
    sequencer.FinishSeeking();
    ASSERT_TRUE(Opened());
    EXPECT_NEAR(player.GetPosition(), 1.5, 0.05);
    // Going elsewhere, or a reset, drops what was asked of the object.
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    sequencer.PlayPause();
    ASSERT_TRUE(sequencer.CueObject(1, 0));
    ASSERT_TRUE(Opened());
    EXPECT_EQ(player.State(), PlayState::Playing);  // the cue was the object asked for
    ASSERT_TRUE(sequencer.CueObject(0, 0));
    sequencer.PlayPause();
    sequencer.ResetPlayback();
    EXPECT_EQ(host.busy, 0);
    player.WaitForWorker();
    QCoreApplication::processEvents();
    EXPECT_EQ(player.State(), PlayState::Empty);
}

// Files damaged or gone during a play-through, given up with one message,
// and the GStreamer box, are the end-to-end test everyday-gestures'.
TEST_F(Sequencing, AnObjectWhoseFileIsGoneIsPassedOverSilentlyWhenCuedAndToldOnceWhenAskedFor)
{
    Add(Media("audio.wav"));
    Add(Media("gone.avi"));  // a clip the media folder does not hold
    ASSERT_TRUE(Cue(1, 0));
    EXPECT_EQ(list.FindCurrentItem(), 0);  // the next playable one, from the start of the list
    EXPECT_TRUE(host.messages.isEmpty());
    // Those that fail one after the other are told in one message.
    Add(Media("gone-too.avi"));
    Add(Media("gone-three.avi"));
    sequencer.PlayNext(2);
    ASSERT_TRUE(Opened());
    EXPECT_EQ(std::tuple(host.messages, State(2)), std::tuple(QStringList({"再生開始できません。"}), "無効"));
    EXPECT_EQ(list.GetLargeImage(list.GetItemData(2)), ToListPicture(LoadPicture(PictureId::Unavailable)));
}

// (The player shown for video and hidden for sound is the
// play-and-keep-a-cut-list script's.)
TEST_F(Sequencing, TheEndOfTheListCuesTheFirstPlayableObjectOrPlaysItWhenTheListRepeatsAllUnderTheWaitCursor)
{
    Add(Media("text.txt"), false);
    EXPECT_FALSE(sequencer.CueObject(0, 0));
    sequencer.PlayNext(0);
    EXPECT_EQ(list.GetCurrent(), -1);  // a list of invalid objects plays nothing
    Add(Media("video-only.avi"));
    Add(Media("audio.wav"));
    ASSERT_TRUE(Cue(2, 270));
    sequencer.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.FindCurrentItem() == 1; }, 5000));
    ASSERT_TRUE(Opened());
    EXPECT_EQ(std::pair(State(1), State(2)), std::pair(QString("停止"), QString("待機")));
    sequencer.SetRepeatList(true);
    for (const int asked : {-1 /* the end of the last object's run */, 3 /* the next object */}) {
        ASSERT_TRUE(Cue(2, 0));
        sequencer.PlayNext(asked);
        ASSERT_TRUE(Opened());
        EXPECT_EQ(std::pair(list.FindCurrentItem(), player.State()), std::pair(1, PlayState::Playing)) << asked;
    }
    // Cueing and moving on open media, which can be slow: the wait cursor
    // shows for each, and goes again.
    EXPECT_EQ(host.lengthsWhileBusy, std::vector<bool>(host.lengths.size(), true));
    EXPECT_GE(host.lengths.size(), 5u);
    EXPECT_EQ(host.busy, 0);
}

TEST_F(Sequencing, ALaterOpeningWinsRatesAndLevelsReachThePlayerAndLongTimesAreClamped)
{
    EXPECT_EQ(sequencer.SetRate(200), 200);  // nothing open: the rate the next object opens with
    for (int i = 0; i < 3; ++i)
        Add(Media("audio.wav"));
    // A later opening wins over one under way: only its follow-up runs.
    ASSERT_TRUE(sequencer.CueObject(1, 0));
    sequencer.PlayNext(2);
    ASSERT_TRUE(Opened());
    EXPECT_EQ(std::tuple(sequencer.Position().index, State(1), player.GetRate()), std::tuple(2, "待機", 2.0));
    EXPECT_EQ(sequencer.SetRate(0), 200);  // refused: the rate in force
    // The bars' 0 to 100 scales, loud and left at 0.
    sequencer.SetVolume(50);
    sequencer.SetBalance(-100);
    EXPECT_EQ(std::pair(player.Volume(), player.Balance()), std::pair(AmplitudeToVolume(0.5), -10000L));
    // The times of very long media are reported clamped.
    Add(Media("slow.wav"));  // 23,068,628 s
    host.Clear();
    ASSERT_TRUE(Cue(3, qint64{2200000000}));
    EXPECT_EQ(std::pair(host.lengths, host.positions.back()),
              std::pair(std::vector<int>({std::numeric_limits<qint32>::max()}), std::numeric_limits<qint32>::max()));
}

TEST_F(Sequencing, ThePositionIsReportedWhilePlayingOnlyPlayPauseAtTheStartReopensAndResetReportsStopped)
{
    Add(Media("audio.wav"));
    ASSERT_TRUE(Cue(0, 50));
    EXPECT_EQ(host.positions.back(), 50);  // where the cued object stands
    sequencer.Play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return host.positions.size() >= 3 && host.positions.back() > 50; }, 5000));
    sequencer.Pause();
    const int pausedAt = host.positions.back();
    host.Clear();
    // At rest, nothing is reported: the program does not wake.
    QTest::qWait(3 * PlaybackSequencer::kPositionReportMilliseconds);
    EXPECT_TRUE(host.positions.empty());
    // A seek while paused reports where it went.
    sequencer.Seek(pausedAt + 10);
    sequencer.FinishSeeking();
    EXPECT_EQ(host.positions, std::vector<int>({pausedAt + 10}));

    // A play-pause at exactly the start opens the object anew (its duration
    // is reported again); one elsewhere resumes where it was.
    sequencer.Seek(0);
    sequencer.FinishSeeking();
    host.Clear();
    sequencer.PlayPause();
    EXPECT_TRUE(sequencer.IsOpeningObject());
    ASSERT_TRUE(Opened());
    EXPECT_EQ(std::tuple(host.lengths.size(), player.State()), std::tuple(1u, PlayState::Playing));
    sequencer.PlayPause();
    EXPECT_EQ(State(0), "一時停止");
    host.Clear();
    sequencer.PlayPause();
    EXPECT_TRUE(host.lengths.empty());
    host.states.clear();
    sequencer.ResetPlayback();
    EXPECT_EQ(std::tuple(host.states, list.GetCurrent()), std::tuple(std::vector<PlayState>({PlayState::Stopped, PlayState::Empty}), -1));
    // An object cued at its start that has not played yet plays at once.
    ASSERT_TRUE(Cue(0, 0));
    sequencer.PlayPause();
    EXPECT_EQ(std::tuple(sequencer.IsOpeningObject(), player.State()), std::tuple(false, PlayState::Playing));
}

}  // namespace
}  // namespace kivo
