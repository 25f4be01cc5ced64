// Subtitles and audio tracks: the subtitle file found beside a video, the
// streams the engine reports, and that a choice changes what is drawn and
// what is heard.

#include "TestFiles.h"
#include "TestMedia.h"
#include "media/MediaEngine.h"
#include "media/MediaTracks.h"

#include <QFile>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

namespace kivo {
namespace {

using test::Media;

TEST(SidecarSubtitle, TheFirstKindBesideTheVideoWithItsBaseNameInEitherCaseAndOneThatIsNoSubtitlesLeavesTheVideoPlaying)
{
    QTemporaryDir folder;
    const QString video = folder.filePath("clip.v1.mkv");
    QDir(folder.path()).mkdir("clip.v1.ass");  // a folder is no subtitle file
    // Each file made in turn, and the one found then.
    const std::pair<const char*, const char*> steps[] = {{"clip.srt", ""}, {"clip.v1.mkv.srt", ""},
        {"clip.v1.SUB", "clip.v1.SUB"}, {"clip.v1.vtt", "clip.v1.vtt"}, {"clip.v1.SRT", "clip.v1.SRT"}, {"clip.v1.srt", "clip.v1.srt"}};
    for (const auto& [made, found] : steps) {
        ASSERT_TRUE(test::WriteFile(folder.filePath(made)));
        EXPECT_EQ(SidecarSubtitle(video), *found ? folder.filePath(found) : QString()) << made;
    }

    ASSERT_TRUE(QFile::link(Media("subtitled.mkv"), folder.filePath("clip.mkv")));
    ASSERT_TRUE(test::WriteFile(folder.filePath("clip.srt"), QByteArray(4096, '\x01')));
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, folder.filePath("clip.mkv")));
    engine.StartPlayback();
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() > 0.3; }, 5000));
}

// The pixels of two packed bitmaps of 320 x 240 that differ clearly, in the
// upper and the lower half of the picture (bitmaps run bottom-up).
std::pair<int, int> DifferingPixels(const QByteArray& first, const QByteArray& second)
{
    std::pair<int, int> upperAndLower{0, 0};
    for (int at = 40; at + 3 <= std::min(first.size(), second.size()); at += 3) {
        int difference = 0;
        for (int channel = 0; channel < 3; ++channel)
            difference += std::abs(static_cast<uchar>(first[at + channel]) - static_cast<uchar>(second[at + channel]));
        if (difference > 60)
            ++((at - 40) / 3 < 320 * 120 ? upperAndLower.second : upperAndLower.first);
    }
    return upperAndLower;
}

TEST(Tracks, TheSubtitleFileBesideAVideoIsDrawnWhenSwitchedOn)
{
    MediaEngine engine;
    QSignalSpy told(&engine, &MediaEngine::tracksChanged);
    ASSERT_TRUE(OpenAndWait(engine, Media("subtitled.mkv")));
    EXPECT_EQ(engine.Tracks(), (MediaTracks{.audio = {}, .subtitles = {Track{}}, .audioChoice = 0, .subtitleChoice = 0}));
    engine.SetPosition(1.0);
    told.clear();
    engine.ChooseSubtitle(std::nullopt);
    EXPECT_EQ(engine.Tracks().subtitleChoice, std::nullopt);  // in force at once
    EXPECT_EQ(told.size(), 1);
    const auto frame = [&] {
        EXPECT_TRUE(CaptureFrameAndWait(engine));
        return engine.SnapshotBitmap();
    };
    const QByteArray without = frame();
    ASSERT_EQ(without.size(), 40 + 320 * 240 * 3);

    engine.ChooseSubtitle(0);
    // The overlay does not wait for a sparse subtitle stream, so a frame
    // sought while paused now and then comes before its text: sought once
    // more, it has it. The text is drawn near the bottom of the same frame,
    // nowhere else ("KIVO" in the default font covers some 44 x 14 pixels).
    std::pair<int, int> upperAndLower = DifferingPixels(frame(), without);
    for (int attempt = 1; attempt < 3 && upperAndLower.second <= 40; ++attempt) {
        engine.SetPosition(1.0);
        upperAndLower = DifferingPixels(frame(), without);
    }
    EXPECT_TRUE(upperAndLower.first == 0 && upperAndLower.second > 40) << upperAndLower.first << " " << upperAndLower.second;
    EXPECT_NEAR(engine.GetPosition(), 1.0, 0.05);
    engine.ChooseSubtitle(std::nullopt);
    EXPECT_EQ(DifferingPixels(without, frame()), std::pair(0, 0));

    // Choices out of range change nothing; a new medium starts afresh.
    told.clear();
    engine.ChooseSubtitle(1);
    engine.ChooseAudioTrack(0);
    EXPECT_EQ(told.size(), 0);
    engine.ChooseSubtitle(std::nullopt);
    ASSERT_TRUE(OpenAndWait(engine, Media("subtitled.mkv")));
    EXPECT_EQ(engine.Tracks().subtitleChoice, 0);
    ASSERT_TRUE(OpenAndWait(engine, Media("video.avi")));
    EXPECT_EQ(engine.Tracks(), (MediaTracks{.audio = {Track{}}, .subtitles = {}, .subtitleChoice = {}}));
    engine.Close();
    EXPECT_EQ(engine.Tracks(), MediaTracks{});
}

// The tone of the sound the audio sink last prerolled with or played, in Hz,
// counted by the signs of its samples (mono 16-bit, as the sink asks for it).
class HeardTone {
public:
    explicit HeardTone(MediaEngine& engine)
    {
        GstElement* sink = engine.FindFilterByName(QStringLiteral("Fake Audio Sink"));
        if (sink == nullptr)
            return;
        // The sink's streaming thread can still call in once this has gone,
        // as the test ends before the engine: each handler keeps the tone.
        for (const char* signal : {"preroll-handoff", "handoff"}) {
            g_signal_connect_data(sink, signal, G_CALLBACK(&HeardTone::Measure), new Tone(m_hertz),
                                  [](gpointer tone, GClosure*) { delete static_cast<Tone*>(tone); }, GConnectFlags{});
        }
        gst_object_unref(sink);
    }
    // The tone last heard, and none until the next sound.
    double Take() { return m_hertz->exchange(0.0); }

private:
    using Tone = std::shared_ptr<std::atomic<double>>;

    static void Measure(GstElement*, GstBuffer* buffer, GstPad*, gpointer hertz)
    {
        GstMapInfo map;
        if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
            return;
        const auto* samples = reinterpret_cast<const qint16*>(map.data);
        const gsize count = map.size / sizeof(qint16);
        int crossings = 0;
        for (gsize i = 1; i < count; ++i)
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        gst_buffer_unmap(buffer, &map);
        if (count > 200)
            (*static_cast<Tone*>(hertz))->store(crossings / 2.0 * 44100.0 / static_cast<double>(count));
    }

    Tone m_hertz = std::make_shared<std::atomic<double>>(0.0);
};

TEST(Tracks, TheSecondAudioStreamIsHeardOnceChosen)
{
    const QByteArray chosen = qgetenv("KIVO_AUDIO_SINK");
    qputenv("KIVO_AUDIO_SINK", "audioconvert ! audio/x-raw,format=S16LE,channels=1 ! fakeaudiosink sync=true signal-handoffs=true");
    MediaEngine engine;
    const bool opened = OpenAndWait(engine, Media("tracks.mkv"));
    qputenv("KIVO_AUDIO_SINK", chosen);
    ASSERT_TRUE(opened);
    // The tags name the streams.
    const MediaTracks& tracks = engine.Tracks();
    ASSERT_EQ(tracks.audio.size(), 2U);
    EXPECT_EQ(std::tuple(tracks.audio[0].language, tracks.audio[1]), std::tuple("eng", (Track{"jpn", "high"})));
    ASSERT_EQ(tracks.subtitles.size(), 1U);
    EXPECT_EQ(std::tuple(tracks.subtitles[0].language, tracks.audioChoice), std::tuple("fr", 0));

    HeardTone heard(engine);
    engine.SetPosition(1.0);
    engine.WaitForWorker();
    EXPECT_NEAR(heard.Take(), 440.0, 100.0);
    // Chosen while paused, and with subtitles switched off and on again (a
    // switch of streams there once deadlocked GStreamer), the choice is in
    // force at once and heard from the place where play starts.
    engine.ChooseAudioTrack(1);
    engine.ChooseSubtitle(std::nullopt);
    engine.ChooseSubtitle(0);
    engine.WaitForWorker();
    EXPECT_EQ(engine.Tracks().audioChoice, 1);
    EXPECT_NEAR(engine.GetPosition(), 1.0, 0.05);
    // The tone heard once play has gone on from `from`, and the sound before it gone by.
    const auto toneFrom = [&](double from) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() > from; }, 5000));
        heard.Take();
        EXPECT_TRUE(QTest::qWaitFor([&] { return engine.GetPosition() > from + 0.2; }, 5000));
        return heard.Take();
    };
    engine.StartPlayback();
    EXPECT_NEAR(toneFrom(1.3), 1760.0, 200.0);
    // Paused, sought and played on, the stream chosen stays.
    engine.PausePlayback();
    engine.SetPosition(0.5);
    engine.StartPlayback();
    EXPECT_NEAR(toneFrom(0.8), 1760.0, 200.0);
    EXPECT_EQ(engine.Tracks().audioChoice, 1);
    // Chosen while playing, the first stream is heard again.
    engine.ChooseAudioTrack(0);
    EXPECT_NEAR(toneFrom(engine.GetPosition() + 0.1), 440.0, 100.0);
}

}  // namespace
}  // namespace kivo
