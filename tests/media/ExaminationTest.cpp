#include "LogLines.h"
#include "TestMedia.h"
#include "cutlist/MediaInfoCache.h"
#include "media/Examination.h"
#include "media/MediaProbe.h"
#include "media/Pictures.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <limits>

namespace kivo {
namespace {

using test::Media;

TEST(Examination, VideoAndSoundOnlyMediaArePlayableWithTheirTimesClamped)
{
    const MediaProbe probe;
    for (const char* name :
         {"video.mpg", "vcd.dat", "video-large-packs.mpg", "video-fast-mux.mpg", "video.avi", "video.mov", "video-only.avi", "video.rm"}) {
        SCOPED_TRACE(name);
        const Examination video = ExamineMediaFile(probe, Media(name));
        EXPECT_EQ(video.flag, kFlagValid);
        EXPECT_NEAR(video.record.nLength, 300, 4);
        ASSERT_TRUE(video.record.pThumbnail);
        EXPECT_EQ(video.record.pThumbnail->size(), QSize(64, 48));
        EXPECT_NE(*video.record.pThumbnail, LoadPicture(PictureId::Media));  // a frame was taken
    }
    for (const char* name : {"audio.wav", "audio.au", "audio.aiff", "audio.mp3", "music.mid"}) {
        SCOPED_TRACE(name);
        const Examination sound = ExamineMediaFile(probe, Media(name));
        EXPECT_EQ(sound.flag, kFlagNoPicture);
        EXPECT_EQ(sound.record.nFlag, kFlagValid);
        EXPECT_GT(sound.record.nLength, 100);
        EXPECT_TRUE(sound.hasAudio && !sound.hasVideo && !sound.record.pThumbnail);
        EXPECT_EQ(sound.picture, LoadPicture(PictureId::SoundOnly));
    }
    // A media time beyond what the field holds is clamped.
    const Examination slow = ExamineMediaFile(probe, Media("slow.wav"));  // 23,068,628 s
    EXPECT_EQ(slow.record.nLength, std::numeric_limits<qint32>::max());
}

// The colour in the middle of the picture of a clip: its name.
std::string MiddleOfPicture(const char* name)
{
    const Examination examined = ExamineMediaFile(MediaProbe(), Media(name));
    if (!examined.record.pThumbnail)
        return "no picture";
    const QColor middle = examined.record.pThumbnail->pixelColor(32, 24);
    const auto strong = [](int value) { return value > 100 ? '+' : value < 60 ? '-' : '?'; };
    return {strong(middle.red()), strong(middle.green()), strong(middle.blue())};
}

TEST(Examination, APictureIsTheFrameAtOneSecondOrTheFirstOfAShorterMedium)
{
    // Under a second: the first frame, sought anew once the examination has
    // read the medium's times.
    EXPECT_EQ(MiddleOfPicture("red-moment.mpg"), "+--");
    // Green from half a second to one and a half, with key frames at 0 (red)
    // and 5 s (blue).
    EXPECT_EQ(MiddleOfPicture("late-key.mkv"), "-+-");
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
        if (std::string(name) == "truncated.mpg" && bad.flag != kFlagInvalid)
            continue;  // the first 4 KiB may hold a playable moment
        EXPECT_EQ(bad.flag, kFlagInvalid);
        // Told once, with the file, where a user sees only warnings.
        EXPECT_EQ(test::WarningsNaming(log, "kivo.engine", Media(name)), 1);
        EXPECT_EQ(bad.record.nLength, 0);
        EXPECT_EQ(bad.picture, LoadPicture(PictureId::Unavailable));
    }
    // A file named for another kind is judged by what it holds, and is no
    // failure.
    const auto log = test::LoggedWhile(
        [&] { EXPECT_EQ(ExamineMediaFile(probe, Media("wrong-extension.wav")).flag, kFlagValid); });
    EXPECT_EQ(test::WarningsNaming(log, "kivo.engine", Media("wrong-extension.wav")), 0);
}

// (Names that are not UTF-8 are examined and cached by their bytes:
// KvotoolCreate.StoresFullPathsWithTheirBytes.)
TEST(Examination, UnchangedFilesComeFromTheCacheAndInvalidOnesAreNotCached)
{
    const MediaProbe probe;
    CMediaInfoCache cache;
    const MediaObject first = MediaObjectFor(Media("video.avi"), cache, probe);
    const std::optional<MediaObject> again = CachedMediaObject(Media("video.avi"), cache);
    ASSERT_TRUE(again) << "the file on the disk matches its entry";
    EXPECT_EQ(again->record.pThumbnail.get(), first.record.pThumbnail.get());
    EXPECT_EQ(MediaObjectFor(Media("text.txt"), cache, probe).record.nFlag, kFlagInvalid);
    EXPECT_EQ(cache.GetSize(), 1);
}

}  // namespace
}  // namespace kivo
