#include "TestMedia.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "media/Elements.h"
#include "media/MediaEngine.h"
#include "media/Pictures.h"
#include "session/ObjectProperties.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <tuple>

namespace kivo {
namespace {

using Pages = QList<PropertyPage>;

class ObjectPropertiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_thumbnail.fill(Qt::red);
        ASSERT_TRUE(m_file.open());
        m_file.write("12345");
        m_file.flush();
        Add("/m/video.mpg", true, kFlagValid, std::make_shared<const QImage>(m_thumbnail));  // 0
        Add("/m/sound.wav", true);                   // 1: no picture of its own
        Add("/m/gone.mpg", true, kFlagInvalid);      // 2
        Add(m_file.fileName(), false);               // 3: a file the cache does not know
        Add("/m/never.mpg", false);                  // 4: not on disk either
        Add("clip.mpg", true);                       // 5: a location without a folder
        m_list.SetCurrent(0);
    }
    void Add(const QString& path, bool cached, int flag = kFlagValid, Thumbnail picture = {})
    {
        MEDIARECORD record = test::SizedRecord(path, 1005007, 922'000'000, 12345, std::move(picture));
        record.nFlag = flag;
        m_list.AddObject(record, QImage(), false);
        if (cached)
            m_cache.Add(record);
    }
    ObjectProperties Gather(int menuItem, bool bPlayback)
    {
        return GatherObjectProperties(m_list, m_cache, m_engine, menuItem, bPlayback);
    }

    CutListModel m_list;
    CMediaInfoCache m_cache;
    MediaEngine m_engine;
    QTemporaryFile m_file;
    QImage m_thumbnail = QImage(64, 48, QImage::Format_RGB32);
};

TEST_F(ObjectPropertiesTest, PagesFollowTheObjectAndTheCommand)
{
    // The item menu on another object than the current one: its media page only.
    EXPECT_EQ(Gather(2, false).pages, Pages{PropertyPage::Media});
    // The item menu on the current object: all three, the media page in front.
    const Pages all = {PropertyPage::Media, PropertyPage::Player, PropertyPage::Playback};
    EXPECT_EQ(std::pair(Gather(0, false).pages, Gather(0, false).active), std::pair(all, PropertyPage::Media));
    // The player's command: the current object on the playback page.
    const ObjectProperties shown = Gather(-1, true);
    EXPECT_EQ(std::tuple(shown.item, shown.pages, shown.active), std::tuple(0, all, PropertyPage::Playback));
    // Nothing to show: no current object, or a position past the list.
    EXPECT_EQ(Gather(99, false).item, -1);
    m_list.SetCurrent(-1);
    EXPECT_EQ(Gather(-1, true).item, -1);
}

TEST_F(ObjectPropertiesTest, TextsPicturesMessagesAndTheOpenedVideo)
{
    // The texts themselves are the formatters' (FormattersTest).
    ObjectProperties shown = Gather(-1, true);
    EXPECT_EQ(shown.media.time, "2分 03秒 45");
    EXPECT_EQ(std::pair(shown.media.picture, shown.player.picture), std::pair(m_thumbnail, m_thumbnail));
    EXPECT_EQ(shown.player.fileName, "video.mpg");
    EXPECT_EQ(shown.player.videoSize, "0 x 0");
    m_list.SetCurrent(5);
    EXPECT_EQ(Gather(-1, true).player.fileName, "clip.mpg");
    m_list.SetCurrent(1);
    shown = Gather(-1, false);
    EXPECT_EQ(std::pair(shown.media.picture, shown.player.picture),
              std::pair(LoadPicture(PictureId::SoundOnly), LoadPicture(PictureId::SoundOnly)));

    // Objects that cannot be used: why, and what the disk knows of the file.
    const QImage unavailable = LoadPicture(PictureId::Unavailable);
    for (const auto& [item, message] : {std::pair(2, "ファイルが存在しないため、現在は利用できません。"),
                                        std::pair(3, "このオブジェクトは利用できません。"),
                                        std::pair(4, "ファイルが存在しません。")}) {
        SCOPED_TRACE(item);
        EXPECT_EQ(Gather(item, false).media.message, message);
        EXPECT_EQ(Gather(item, false).media.picture, unavailable);
    }
    EXPECT_TRUE(Gather(2, false).media.time.isEmpty());
    EXPECT_TRUE(Gather(3, false).media.type.isEmpty());
    EXPECT_EQ(Gather(3, false).media.size, "1KB (5 ﾊﾞｲﾄ)");
    EXPECT_TRUE(Gather(4, false).media.size.isEmpty());

    // The player page shows the opened video and its filters: the elements
    // with a sink pad, so not the file source.
    ASSERT_TRUE(OpenAndWait(m_engine, test::Media("video.mpg")));
    shown = Gather(-1, true);
    EXPECT_EQ(shown.player.videoSize, "320 x 240");
    EXPECT_TRUE(shown.player.filters.contains("MPEG Program Stream Demuxer")) << shown.player.filters.join(", ").toStdString();
    EXPECT_FALSE(shown.player.filters.contains("File Source"));
    // An element's properties change only within their range (how they are
    // described shows in the dialog's editors, ElementPropertiesDialogTest).
    GstElement* panorama = m_engine.FindFilterByName("Stereo positioning");
    ASSERT_NE(panorama, nullptr);
    EXPECT_TRUE(SetElementProperty(panorama, "panorama", 0.25));
    EXPECT_FALSE(SetElementProperty(panorama, "panorama", 3.0));
    gst_object_unref(panorama);
}

TEST(ReturnPlaybackOptions, TheVideoIsLaidOutOnceStretchAndRewindAreBack)
{
    MediaEngine engine;
    int layouts = 0;
    ReturnPlaybackOptions(engine, {true, true, true, true}, [&] {
        ++layouts;
        EXPECT_TRUE(engine.Options().stretch && engine.Options().autoRewind);
        EXPECT_FALSE(engine.Options().repeat || engine.Options().autoSize);
    });
    EXPECT_EQ(layouts, 1);
    EXPECT_TRUE(engine.Options().repeat && engine.Options().autoSize);
}

}  // namespace
}  // namespace kivo
