#include "LogLines.h"
#include "TestMedia.h"
#include "media/Examination.h"
#include "media/MediaProbe.h"
#include "media/Pictures.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace kivo {
namespace {

using test::Media;

// The colour in the middle of the picture of a clip: its name.
std::string MiddleOfPicture(const char* name)
{
    const Examination examined = ExamineMediaFile(MediaProbe(), Media(name));
    if (!examined.object.record.pThumbnail)
        return "no picture";
    const QColor middle = examined.object.record.pThumbnail->pixelColor(32, 24);
    const auto strong = [](int value) { return value > 100 ? '+' : value < 60 ? '-' : '?'; };
    return {strong(middle.red()), strong(middle.green()), strong(middle.blue())};
}

TEST(Examination, VideoAndSoundOnlyMediaArePlayableWithTheirTimesClampedAndAPictureIsTheFrameAtOneSecondOrTheFirstOfAShorterMedium)
{
    const MediaProbe probe;
    // A playable file warns of nothing (the run through an MPEG file's last
    // second once warned of its decoder's error).
    const auto examineQuietly = [&probe](const char* name) {
        Examination examined;
        for (const test::LogLine& line : test::LoggedWhile([&] { examined = ExamineMediaFile(probe, Media(name)); }))
            EXPECT_TRUE(line.type == QtDebugMsg || line.type == QtInfoMsg) << line.text.toStdString();
        return examined;
    };
    for (const char* name :
         {"video.mpg", "vcd.dat", "video-large-packs.mpg", "video-fast-mux.mpg", "video.avi", "video.mov", "video-only.avi",
          "video.rm", "today.mp4", "today.mkv", "today.webm"}) {
        SCOPED_TRACE(name);
        const Examination video = examineQuietly(name);
        EXPECT_EQ(video.object.record.nFlag, kFlagValid);
        EXPECT_NEAR(video.object.record.nLength, 300, 4);
        ASSERT_TRUE(video.hasVideo && video.object.record.pThumbnail);
        EXPECT_NE(*video.object.record.pThumbnail, LoadPicture(PictureId::Media));  // a frame was taken
    }
    for (const char* name : {"audio.wav", "audio.au", "audio.aiff", "audio.mp3", "music.mid", "audio.flac", "audio.opus", "audio.m4a"}) {
        SCOPED_TRACE(name);
        const Examination sound = examineQuietly(name);
        EXPECT_EQ(sound.object.record.nFlag, kFlagNoPicture);
        EXPECT_GT(sound.object.record.nLength, 100);
        EXPECT_TRUE(sound.hasAudio && !sound.hasVideo && !sound.object.record.pThumbnail);
        EXPECT_EQ(sound.object.picture, LoadPicture(PictureId::SoundOnly));
    }
    // A media time beyond what the field holds is clamped.
    const Examination slow = ExamineMediaFile(probe, Media("slow.wav"));  // 23,068,628 s
    EXPECT_EQ(std::tuple(slow.object.record.nFlag, slow.object.record.nLength), std::tuple(kFlagNoPicture, std::numeric_limits<qint32>::max()));

    // Under a second: the first frame, sought anew once the examination has
    // read the medium's times. Green from half a second to one and a half,
    // with key frames at 0 (red) and 5 s (blue).
    EXPECT_EQ(std::pair(MiddleOfPicture("red-moment.mpg"), MiddleOfPicture("late-key.mkv")), std::pair(std::string("+--"), std::string("-+-")));
}

TEST(Examination, BadFilesAreInvalidWithoutHanging)
{
    const MediaProbe probe;
    for (const char* name : {"text.txt", "empty.mpg", "truncated.mpg", "missing.mpg"}) {
        SCOPED_TRACE(name);
        QElapsedTimer timer;
        timer.start();
        Examination bad;
        const auto log = test::LoggedWhile([&] { bad = ExamineMediaFile(probe, Media(name)); });
        EXPECT_LT(timer.elapsed(), 8000);
        if (std::string(name) == "truncated.mpg" && bad.object.record.nFlag != kFlagInvalid)
            continue;  // the first 4 KiB may hold a playable moment
        EXPECT_EQ(std::tuple(bad.object.record.nFlag, bad.object.record.nLength), std::tuple(kFlagInvalid, 0));
        // Told once, with the file, where a user sees only warnings.
        EXPECT_EQ(std::tuple(test::WarningsNaming(log, "kivo.engine", Media(name)), bad.object.picture),
                  std::tuple(1, LoadPicture(PictureId::Unavailable)));
    }
    const Examination missing = ExamineMediaFile(probe, Media("missing.mpg"));
    EXPECT_TRUE(missing.object.record.timeModified == 0 && missing.object.record.dwSize == 0 && missing.typeText.isEmpty());
    // A file named for another kind is judged by what it holds, and is no
    // failure.
    const auto log = test::LoggedWhile(
        [&] { EXPECT_EQ(ExamineMediaFile(probe, Media("wrong-extension.wav")).object.record.nFlag, kFlagValid); });
    EXPECT_EQ(test::WarningsNaming(log, "kivo.engine", Media("wrong-extension.wav")), 0);
}

// (A file named by bytes that are not UTF-8 is examined and cached by those
// bytes in kvotool's create case, KvotoolTest.)

}  // namespace
}  // namespace kivo
