#include "media/PlayingPipeline.h"

#include "cutlist/FileNames.h"
#include "media/GStreamer.h"
#include "media/MediaTags.h"

#include <algorithm>
#include <utility>

namespace kivo {
namespace {

GstElement* MakePlaybin()
{
    EnsureGStreamer();
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    if (playbin == nullptr)
        qCWarning(lcEngine) << "GStreamer has no playbin";
    return playbin;
}

}  // namespace

PlayingPipeline::PlayingPipeline(const QString& path, BusListener listener)
    : Pipeline(MakePlaybin(), path, std::move(listener))
{
    if (m_pipeline == nullptr) {
        m_hasGStreamer = false;
        return;
    }
    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(FileNameBytes(path).constData(), &error);
    if (uri == nullptr) {
        qCWarning(lcEngine).noquote() << "no URI for" << path << "-" << error->message;
        g_clear_error(&error);
        Abandon();
        return;
    }
    g_object_set(m_pipeline, "uri", uri, nullptr);
    g_free(uri);
    // A subtitle file that cannot be read is only warned of by playbin:
    // the video plays without it.
    if (const QString subtitles = SidecarSubtitle(path); !subtitles.isEmpty()) {
        if (gchar* subtitleUri = gst_filename_to_uri(FileNameBytes(subtitles).constData(), nullptr)) {
            g_object_set(m_pipeline, "suburi", subtitleUri, nullptr);
            g_free(subtitleUri);
        }
    }
}

void PlayingPipeline::SetSinks(GstElement* videoSink, GstElement* audioSink, GstElement* audioFilter)
{
    if (videoSink != nullptr)
        g_object_set(m_pipeline, "video-sink", videoSink, nullptr);
    if (audioSink != nullptr)
        g_object_set(m_pipeline, "audio-sink", audioSink, nullptr);
    if (audioFilter != nullptr)
        g_object_set(m_pipeline, "audio-filter", audioFilter, nullptr);
}

void PlayingPipeline::SetWindow(quintptr window)
{
    if (m_bus != nullptr)
        m_bus->window.store(window);
}

int PlayingPipeline::StreamCount(const char* kind) const
{
    gint count = 0;
    g_object_get(m_pipeline, kind, &count, nullptr);
    return count;
}

void PlayingPipeline::WhenStreamsChange(std::function<void()> changed)
{
    using Call = std::function<void()>;
    const auto relay = +[](GstElement*, gpointer call) { (*static_cast<Call*>(call))(); };
    const auto drop = +[](gpointer call, GClosure*) { delete static_cast<Call*>(call); };
    // Each connection owns a copy, freed with the playbin.
    for (const char* signal : {"audio-changed", "text-changed"})
        g_signal_connect_data(m_pipeline, signal, G_CALLBACK(relay), new Call(changed), drop, GConnectFlags{});
}

namespace {

// The tags of playbin's `index`th stream, through its action signal
// `getTags` ("get-audio-tags", "get-text-tags").
Track TrackOf(GstElement* playbin, const char* getTags, int index)
{
    GstTagList* tags = nullptr;
    g_signal_emit_by_name(playbin, getTags, index, &tags);
    if (tags == nullptr)
        return {};
    const Track track{TagText(tags, GST_TAG_LANGUAGE_CODE), TagText(tags, GST_TAG_TITLE)};
    gst_tag_list_unref(tags);
    return track;
}

// playbin's GST_PLAY_FLAG_TEXT: its flags type is not in a public header.
constexpr guint kPlayFlagText = 1U << 2;

}  // namespace

MediaTracks PlayingPipeline::Tracks() const
{
    MediaTracks tracks;
    for (int index = 0, count = StreamCount("n-audio"); index < count; ++index)
        tracks.audio.push_back(TrackOf(m_pipeline, "get-audio-tags", index));
    for (int index = 0, count = StreamCount("n-text"); index < count; ++index)
        tracks.subtitles.push_back(TrackOf(m_pipeline, "get-text-tags", index));
    gint audio = 0;
    gint text = 0;
    guint flags = 0;
    g_object_get(m_pipeline, "current-audio", &audio, "current-text", &text, "flags", &flags, nullptr);
    tracks.audioChoice = std::max(audio, 0);
    if ((flags & kPlayFlagText) != 0 && !tracks.subtitles.empty())
        tracks.subtitleChoice = std::max(text, 0);
    return tracks;
}

void PlayingPipeline::ShowAudioTrack(int index)
{
    g_object_set(m_pipeline, "current-audio", index, nullptr);
}

void PlayingPipeline::ShowSubtitle(std::optional<int> index)
{
    guint flags = 0;
    g_object_get(m_pipeline, "flags", &flags, nullptr);
    if (index)
        g_object_set(m_pipeline, "current-text", *index, nullptr);
    g_object_set(m_pipeline, "flags", index ? flags | kPlayFlagText : flags & ~kPlayFlagText, nullptr);
}

GstElement* PlayingPipeline::Sink(StreamKind kind) const
{
    GstElement* sink = nullptr;
    g_object_get(m_pipeline, kind == StreamKind::Video ? "video-sink" : "audio-sink", &sink, nullptr);
    return sink;
}

GstSample* PlayingPipeline::VideoSample() const
{
    GstSample* sample = nullptr;
    g_object_get(m_pipeline, "sample", &sample, nullptr);
    return sample;
}

}  // namespace kivo
