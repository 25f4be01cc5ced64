#include "media/MediaTags.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

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

}  // namespace
}  // namespace kivo
