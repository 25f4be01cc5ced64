#include "media/MediaTags.h"

#include <QByteArray>

namespace kivo {

QString TagText(const GstTagList* tags, const char* tag)
{
    gchar* text = nullptr;
    QString read;
    if (gst_tag_list_get_string(tags, tag, &text))
        read = QString::fromUtf8(text).trimmed();
    g_free(text);
    return read;
}

namespace {

void TakeText(QString& into, const GstTagList* tags, const char* tag)
{
    if (into.isEmpty())
        into = TagText(tags, tag);
}

void TakeNumber(int& into, const GstTagList* tags, const char* tag)
{
    guint number = 0;
    if (into == 0 && gst_tag_list_get_uint(tags, tag, &number) && number <= 100000)
        into = static_cast<int>(number);
}

void TakeYear(int& into, const GstTagList* tags)
{
    GstDateTime* dateTime = nullptr;
    if (into == 0 && gst_tag_list_get_date_time(tags, GST_TAG_DATE_TIME, &dateTime) && gst_date_time_has_year(dateTime))
        into = gst_date_time_get_year(dateTime);
    if (dateTime)
        gst_date_time_unref(dateTime);
    GDate* date = nullptr;
    if (into == 0 && gst_tag_list_get_date(tags, GST_TAG_DATE, &date) && g_date_valid(date))
        into = g_date_get_year(date);
    if (date)
        g_date_free(date);
}

void TakeCover(QImage& into, const GstTagList* tags)
{
    // The file's picture, else its preview.
    for (const char* tag : {GST_TAG_IMAGE, GST_TAG_PREVIEW_IMAGE}) {
        GstSample* sample = nullptr;
        if (!into.isNull() || !gst_tag_list_get_sample(tags, tag, &sample))
            continue;
        GstMapInfo map;
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        if (buffer && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            into = QImage::fromData(QByteArrayView(map.data, static_cast<qsizetype>(map.size)));
            gst_buffer_unmap(buffer, &map);
        }
        gst_sample_unref(sample);
    }
}

}  // namespace

bool HoldsMediaTags(const GstTagList* tags)
{
    for (const char* tag : {GST_TAG_TITLE, GST_TAG_ARTIST, GST_TAG_ALBUM, GST_TAG_GENRE, GST_TAG_TRACK_NUMBER,
                            GST_TAG_DATE_TIME, GST_TAG_DATE, GST_TAG_IMAGE, GST_TAG_PREVIEW_IMAGE}) {
        if (gst_tag_list_get_tag_size(tags, tag) > 0)
            return true;
    }
    return false;
}

bool MergeTags(MediaTags& into, const GstTagList* tags)
{
    const MediaTags before = into;
    TakeText(into.title, tags, GST_TAG_TITLE);
    TakeText(into.artist, tags, GST_TAG_ARTIST);
    TakeText(into.album, tags, GST_TAG_ALBUM);
    TakeText(into.genre, tags, GST_TAG_GENRE);
    TakeNumber(into.trackNumber, tags, GST_TAG_TRACK_NUMBER);
    TakeYear(into.year, tags);
    TakeCover(into.cover, tags);
    return !(into == before);
}

}  // namespace kivo
