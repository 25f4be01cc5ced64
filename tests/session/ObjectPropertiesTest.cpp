#include "TestMedia.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
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
        ASSERT_TRUE(m_file.open() && m_file.write("12345") == 5 && m_file.flush());
        Add("/m/video.mpg", true, kFlagValid, std::make_shared<const QImage>(m_thumbnail));  // 0
        Add("/m/sound.wav", true);                                                          // 1: no picture of its own
        Add("/m/gone.mpg", true, kFlagInvalid);                                             // 2
        Add(m_file.fileName(), false);  // 3: a file the cache does not know
        Add("/m/never.mpg", false);     // 4: not on disk either
        Add("clip.mpg", true);          // 5: a location without a folder
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
    QImage m_thumbnail{64, 48, QImage::Format_RGB32};
};

TEST_F(ObjectPropertiesTest, PagesFollowTheObjectAndTheCommandAndShowTextsPicturesMessagesAndTheOpenedVideo)
{
    const Pages all = {PropertyPage::Media, PropertyPage::Player, PropertyPage::Playback};
    // The item menu on another object than the current one: its media page
    // only; on the current one all three, the media page in front; the
    // player's command: the current object on the playback page.
    const std::tuple<int, bool, int, Pages, PropertyPage> cases[] = {
        {2, false, 2, {PropertyPage::Media}, PropertyPage::Media},
        {0, false, 0, all, PropertyPage::Media},
        {-1, true, 0, all, PropertyPage::Playback},
    };
    for (const auto& [menuItem, playback, item, pages, active] : cases) {
        const ObjectProperties shown = Gather(menuItem, playback);
        EXPECT_EQ(std::tuple(shown.item, shown.pages, shown.active), std::tuple(item, pages, active)) << menuItem;
    }
    // Nothing to show: a position past the list, or no current object.
    EXPECT_EQ(Gather(99, false).item, -1);
    m_list.SetCurrent(-1);
    EXPECT_EQ(Gather(-1, true).item, -1);

    // The texts themselves are the formatters' (FormattersTest).
    m_list.SetCurrent(0);
    ObjectProperties shown = Gather(-1, true);
    EXPECT_EQ(std::tuple(shown.media.location, shown.media.time, shown.player.fileName),
              std::tuple("/m/video.mpg", "2分 03秒 45", "video.mpg"));
    EXPECT_TRUE(shown.media.picture == m_thumbnail && shown.player.picture == m_thumbnail);
    m_list.SetCurrent(5);
    EXPECT_EQ(Gather(-1, true).player.fileName, "clip.mpg");
    m_list.SetCurrent(1);
    EXPECT_EQ(Gather(-1, false).player.picture, LoadPicture(PictureId::SoundOnly));

    const QImage unavailable = LoadPicture(PictureId::Unavailable);
    shown = Gather(2, false);
    EXPECT_EQ(std::tuple(shown.media.message, shown.media.time, shown.media.picture), std::tuple("ファイルが存在しないため、現在は利用できません。", "", unavailable));
    shown = Gather(3, false);  // what the disk says
    EXPECT_EQ(std::tuple(shown.media.message, shown.media.size), std::tuple("このオブジェクトは利用できません。", "1KB (5 ﾊﾞｲﾄ)"));
    EXPECT_TRUE(shown.media.picture == unavailable && !shown.media.date.isEmpty());
    shown = Gather(4, false);
    EXPECT_EQ(std::tuple(shown.media.message, shown.media.size, shown.media.date), std::tuple("ファイルが存在しません。", "", ""));

    // The player page shows the opened video.
    ASSERT_TRUE(OpenAndWait(m_engine, test::Media("video.mpg")));
    shown = Gather(-1, true);
    const QSize size = m_engine.VideoSize();
    EXPECT_EQ(std::tuple(shown.player.videoSize, shown.player.filters),
              std::tuple(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()), m_engine.ListFilters()));
}

}  // namespace
}  // namespace kivo
