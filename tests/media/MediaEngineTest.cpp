#include "TestMedia.h"
#include "media/Elements.h"
#include "media/Levels.h"
#include "media/MediaEngine.h"
#include "media/MediaTags.h"
#include "media/VideoOutput.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <glib.h>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace kivo {
namespace {

using test::Media;

// Also: the rate and the mute asked for with nothing open are kept for the
// next file, and a refused rate changes nothing.
TEST(MediaEngine, StateMachineOverOneFileItsLevelsItsCaptureAndFailedOpenings)
{
    MediaEngine engine;
    // Every change of the state is told once, in order, with the state in force.
    std::vector<PlayState> told;
    QObject::connect(&engine, &MediaEngine::stateChanged, [&](PlayState state) {
        EXPECT_EQ(state, engine.State());
        told.push_back(state);
    });
    engine.PausePlayback();  // nothing open: nothing happens
    EXPECT_EQ(engine.State(), PlayState::Empty);
    EXPECT_FALSE(CaptureFrameAndWait(engine));
    engine.SetRate(0.5);
    engine.SetVolume(-500);
    engine.SetMute(true);

    ASSERT_TRUE(OpenAndWait(engine, Media("video.avi")));
    EXPECT_EQ(std::tuple(engine.RenderOutcome(), engine.Volume(), engine.GetRate()), std::tuple(RenderResult::Success, kSilence, 0.5));
    engine.SetMute(true);  // already muted: the saved volume stays
    engine.SetMute(false);
    EXPECT_EQ(engine.Volume(), -500);
    engine.SetRate(0.0);  // refused: the old rate stays in force
    EXPECT_EQ(std::pair(engine.RequestedRate(), engine.GetRate()), std::pair(0.0, 0.5));
    EXPECT_NEAR(engine.Duration(), 3.0, 0.1);
    EXPECT_TRUE(engine.HasVideo() && engine.HasAudio());
    engine.StartPlayback();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() > 0.2; }, 5000));
    engine.PausePlayback();
    const double paused = engine.GetPosition();
    engine.StopPlayback();
    EXPECT_NEAR(engine.GetPosition(), paused, 0.05);  // no auto rewind: stopped where it was
    engine.StopPlayback();                            // already stopped: nothing happens

    engine.SetOptions({.autoRewind = true});
    engine.StartPlayback();
    engine.StopPlayback();
    EXPECT_NEAR(engine.GetPosition(), 0.0, 0.05);
    // A capture pauses (the frame it takes is the tracks' test's).
    engine.SetPosition(1.0);
    ASSERT_TRUE(CaptureFrameAndWait(engine));

    // A failed opening takes the pipeline there was with it. A named pipe
    // nobody writes to, and a folder, are refused at once.
    QTemporaryDir folder;
    const QString pipe = folder.filePath("pipe.mpg");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& bad : {Media("missing.avi"), Media("text.txt"), Media("empty.mpg"), pipe, folder.path()}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_FALSE(OpenAndWait(engine, bad));
        EXPECT_EQ(engine.RenderOutcome(), RenderResult::Failed);
        EXPECT_FALSE(engine.HasGraph());
    }
    engine.Reopen();  // the last render failed: nothing happens
    EXPECT_FALSE(engine.HasGraph());
    using enum PlayState;
    EXPECT_EQ(told, std::vector<PlayState>({Stopped, Playing, Paused, Stopped, Playing, Stopped, Paused, Empty}));
}

// What is asked faster than the pipeline follows is carried out in order by
// one thread: a paused seek still settling when play, pause, rates and
// another seek come ends where and as asked, without GStreamer's warnings,
// also where the demuxer refuses the seek and the pipeline starts over.
TEST(MediaEngine, ChangesAskedInQuickSuccessionEndAsAsked)
{
    int warnings = 0;
    const guint handler = g_log_set_handler(
        "GStreamer", static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING),
        [](const gchar*, GLogLevelFlags, const gchar*, gpointer count) { ++*static_cast<int*>(count); }, &warnings);
    // A file whose demuxer cannot seek shows its start again.
    for (const auto& [name, seeks] : {std::pair("video.avi", true), std::pair("video.rm", false)}) {
        MediaEngine engine;
        ASSERT_TRUE(OpenAndWait(engine, Media(name))) << name;
        for (int round = 0; round < 10; ++round) {
            engine.PausePlayback();
            engine.SetPosition(1.0 + round * 0.1);
            engine.StartPlayback();
            engine.SetRate(round % 2 == 0 ? 2.0 : 0.5);
            engine.PausePlayback();
            engine.SetRate(1.0);
            engine.SetPosition(round * 0.1);
            engine.WaitForWorker();
            ASSERT_EQ(engine.State(), PlayState::Paused) << name << round;
            ASSERT_NEAR(engine.GetPosition(), seeks ? round * 0.1 : 0.0, 0.05) << name << round;
        }
        engine.SetPosition(1.0);
        engine.StartPlayback();
        engine.WaitForWorker();
        const double from = engine.GetPosition();
        EXPECT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() > from + 0.3; }, 3000)) << name;
    }
    g_log_remove_handler("GStreamer", handler);
    EXPECT_EQ(warnings, 0);
}

// MPEG program streams keep their own clock values, and their demuxer
// guesses the start and the length from time stamps near the ends of the
// file; the player counts from the first moment to the end of the last.
TEST(MediaEngine, ProgramStreamsRunFromZeroToTheirWholeLength)
{
    for (const char* name : {"video.mpg", "video-large-packs.mpg"}) {
        SCOPED_TRACE(name);
        MediaEngine engine;
        double positionAtTheEnd = -1.0;
        QObject::connect(&engine, &MediaEngine::runEnded, [&] { positionAtTheEnd = engine.GetPosition(); });
        ASSERT_TRUE(OpenAndWait(engine, Media(name)));
        EXPECT_NEAR(engine.Duration(), 3.0, 0.1);
        EXPECT_LT(engine.GetPosition(), 0.01);
        engine.SetPosition(2.0);
        EXPECT_NEAR(engine.GetPosition(), 2.0, 0.05);
        engine.StartPlayback();
        ASSERT_TRUE(QTest::qWaitFor([&] { return positionAtTheEnd >= 0.0; }, 5000));
        EXPECT_NEAR(positionAtTheEnd, engine.Duration(), 0.1);
    }
}

// The end of a run is reported once, unless it repeats; the engine keeps its
// state, and the receiver decides what comes next.
TEST(MediaEngine, TheEndIsReportedOnceThenAutoRewindGoesBackRepeatReportsNothingAndAReplacedPipelineNothingLate)
{
    MediaEngine engine;
    int ends = 0;
    double positionWhenReported = -1.0;
    QObject::connect(&engine, &MediaEngine::runEnded, [&] { ++ends, positionWhenReported = engine.GetPosition(); });
    ASSERT_TRUE(OpenAndWait(engine, Media("audio.wav")));
    const auto nearTheEnd = [&](PlayerOptions options) {
        engine.SetOptions(options);
        engine.SetPosition(engine.Duration() - 0.3);
        engine.StartPlayback();
    };
    EXPECT_FALSE(CaptureFrameAndWait(engine));  // sound only: no frame
    nearTheEnd({.autoRewind = true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return ends > 0; }, 5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(ends, engine.State()), std::tuple(1, PlayState::Playing));
    EXPECT_TRUE(positionWhenReported > 1.0 && engine.GetPosition() < 1.0) << positionWhenReported;

    nearTheEnd({.autoRewind = true, .repeat = true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() > 2.0; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() < 1.0; }, 5000));
    EXPECT_EQ(std::tuple(ends, engine.State()), std::tuple(1, PlayState::Playing));

    // The end is reached while no event is handled: its message waits in
    // the queue when another file replaces the pipeline.
    nearTheEnd({});
    QElapsedTimer waited;
    waited.start();
    while (engine.GetPosition() < engine.Duration() - 0.01 && waited.elapsed() < 5000)
        QThread::yieldCurrentThread();
    ASSERT_GE(engine.GetPosition(), engine.Duration() - 0.01);
    ASSERT_TRUE(OpenAndWait(engine, Media("audio.wav")));
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 1);
}

TEST(MediaEngine, NoAudioOutputFailsSoundOnlyFilesAndSilencesVideo)
{
    const QByteArray chosen = qgetenv("KIVO_AUDIO_SINK");
    qunsetenv("KIVO_AUDIO_SINK");
    MediaEngine engine;
    if (OpenAndWait(engine, Media("audio.wav"))) {
        qputenv("KIVO_AUDIO_SINK", chosen);
        GTEST_SKIP() << "this machine has a sound output";
    }
    EXPECT_EQ(engine.RenderOutcome(), RenderResult::NoAudioHardware);
    ASSERT_TRUE(OpenAndWait(engine, Media("video.avi")));
    EXPECT_EQ(std::pair(engine.RenderOutcome(), engine.HasAudio()), std::pair(RenderResult::AudioNotRendered, false));
    qputenv("KIVO_AUDIO_SINK", chosen);
}

// The video sink outlives its pipeline: the next object draws with it
// instead of setting a window system up again. One that a pipeline still
// holds (an open superseded as it came down) is not shared.
TEST(MediaEngine, TheVideoSinkIsKeptFromOneObjectToTheNext)
{
    const QByteArray kept = qgetenv("KIVO_VIDEO_SINK");
    qputenv("KIVO_VIDEO_SINK", "fakevideosink");
    MediaEngine engine;
    const auto videoSink = [&engine] {
        GstElement* sink = engine.FindFilterByName(QStringLiteral("Fake Video Sink"));
        if (sink != nullptr)
            gst_object_unref(sink);
        return sink;
    };
    ASSERT_TRUE(OpenAndWait(engine, Media("video.avi")));
    GstElement* first = videoSink();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(OpenAndWait(engine, Media("video.mov")));
    EXPECT_EQ(videoSink(), first);
    ASSERT_TRUE(OpenAndWait(engine, Media("video.mpg")));
    EXPECT_EQ(videoSink(), first);
    qputenv("KIVO_VIDEO_SINK", kept);

    VideoOutput output;
    GstElement* sink = output.Take(0);
    GstElement* holder = gst_bin_new(nullptr);
    gst_bin_add(GST_BIN(holder), sink);
    GstElement* another = GST_ELEMENT(gst_object_ref_sink(output.Take(0)));
    EXPECT_NE(another, sink);
    gst_object_unref(another);
    gst_object_unref(holder);
    EXPECT_EQ(output.Take(0), sink);
}

TEST(Elements, AnMpegPipelineListsItsDemuxerAndDecodersButNotTheFileSourceAndRefusesValuesOutOfRange)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, Media("video.mpg")));
    const QStringList filters = engine.ListFilters();
    const auto listed = [&](const char* part) {
        return std::any_of(filters.begin(), filters.end(), [&](const QString& name) { return name.contains(part); });
    };
    EXPECT_TRUE(listed("MPEG Program Stream Demuxer") && listed("decoder") && !filters.contains("File Source"))
        << filters.join(", ").toStdString();

    GstElement* source = engine.FindFilterByName("File Source");
    ASSERT_NE(source, nullptr);  // in the pipeline, but not listed: it has no sink pad
    gst_object_unref(source);
    // A value out of its range is refused, not corrected (the editors are PropertySheetTest's).
    GstElement* panorama = engine.FindFilterByName("Stereo positioning");
    ASSERT_NE(panorama, nullptr);
    EXPECT_FALSE(SetElementProperty(panorama, "panorama", 3.0));
    gst_object_unref(panorama);
}

// The engine passes on only the tag lists HoldsMediaTags accepts: a list it
// refuses must be one MergeTags takes nothing from.
TEST(MediaTags, ListsThatOnlyRepeatTheBitrateAreLeftBehindAndEveryTagThatIsReadIsPassedOn)
{
    gst_init(nullptr, nullptr);
    GstDateTime* dateTime = gst_date_time_new_y(2019);
    GDate* date = g_date_new_dmy(1, G_DATE_JANUARY, 2018);
    GstTagList* lists[] = {
        gst_tag_list_new(GST_TAG_BITRATE, 155000u, GST_TAG_MAXIMUM_BITRATE, 155000u, nullptr),
        gst_tag_list_new(GST_TAG_VIDEO_CODEC, "H.264", GST_TAG_CONTAINER_FORMAT, "Matroska", nullptr),
        gst_tag_list_new(GST_TAG_TITLE, "Title", nullptr),
        gst_tag_list_new(GST_TAG_ARTIST, "Artist", nullptr),
        gst_tag_list_new(GST_TAG_ALBUM, "Album", nullptr),
        gst_tag_list_new(GST_TAG_GENRE, "Genre", nullptr),
        gst_tag_list_new(GST_TAG_TRACK_NUMBER, 3u, nullptr),
        gst_tag_list_new(GST_TAG_DATE_TIME, dateTime, nullptr),
        gst_tag_list_new(GST_TAG_DATE, date, nullptr),
    };
    const bool passed[] = {false, false, true, true, true, true, true, true, true};
    for (size_t i = 0; i < std::size(lists); ++i) {
        MediaTags merged;
        EXPECT_EQ(HoldsMediaTags(lists[i]), passed[i]) << i;
        EXPECT_EQ(MergeTags(merged, lists[i]), passed[i]) << i;
        gst_tag_list_unref(lists[i]);
    }
    g_date_free(date);
    gst_date_time_unref(dateTime);
}

// The way back, from the bars to the levels, is the bars' (PlaybackArithmetic,
// PlaybackPage) and the sequencer's.
TEST(Levels, AmplitudeCurveAndBalance)
{
    EXPECT_NEAR(VolumeToAmplitude(-2000), 0.1, 1e-12);
    EXPECT_EQ(VolumeToAmplitude(-10000), 0.0);
    EXPECT_NEAR(BalanceToPanorama(2000), 0.9, 1e-12);    // left channel at -20 dB
    EXPECT_NEAR(BalanceToPanorama(-2000), -0.9, 1e-12);  // right channel at -20 dB
}

}  // namespace
}  // namespace kivo
