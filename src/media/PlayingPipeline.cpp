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

// Subtitles are shown and hidden by the overlays that draw them onto the
// video (their "silent"), which takes effect at once; playbin's text flag
// would rebuild its sinks only when data next flows, which a paused frame
// shown again may beat.
void ForEachSubtitleOverlay(GstElement* playbin, const std::function<void(GObject*)>& visit)
{
    GstIterator* overlays = gst_bin_iterate_all_by_element_factory_name(GST_BIN(playbin), "subtitleoverlay");
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(overlays, &item) == GST_ITERATOR_OK) {
        visit(G_OBJECT(g_value_get_object(&item)));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(overlays);
}

bool SubtitlesDrawn(GstElement* playbin)
{
    bool drawn = true;
    ForEachSubtitleOverlay(playbin, [&drawn](GObject* overlay) {
        gboolean silent = FALSE;
        g_object_get(overlay, "silent", &silent, nullptr);
        drawn = drawn && !silent;
    });
    return drawn;
}

void DrawSubtitles(GstElement* playbin, bool draw)
{
    ForEachSubtitleOverlay(playbin, [draw](GObject* overlay) { g_object_set(overlay, "silent", !draw, nullptr); });
}

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
    g_object_get(m_pipeline, "current-audio", &audio, "current-text", &text, nullptr);
    tracks.audioChoice = std::max(audio, 0);
    if (!tracks.subtitles.empty() && SubtitlesDrawn(m_pipeline))
        tracks.subtitleChoice = std::max(text, 0);
    return tracks;
}

bool PlayingPipeline::Choose(const MediaTracks& choice, bool switchStreams)
{
    gint audio = 0;
    gint text = 0;
    g_object_get(m_pipeline, "current-audio", &audio, "current-text", &text, nullptr);
    const bool audioSwitches = switchStreams && !choice.audio.empty() && audio != choice.audioChoice;
    const bool textSwitches = switchStreams && choice.subtitleChoice && text != *choice.subtitleChoice;
    if (audioSwitches)
        g_object_set(m_pipeline, "current-audio", choice.audioChoice, nullptr);
    if (textSwitches)
        g_object_set(m_pipeline, "current-text", *choice.subtitleChoice, nullptr);
    DrawSubtitles(m_pipeline, choice.subtitleChoice.has_value());
    return audioSwitches || textSwitches;
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
