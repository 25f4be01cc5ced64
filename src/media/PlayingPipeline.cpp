#include "media/PlayingPipeline.h"

#include "cutlist/FileNames.h"
#include "media/GStreamer.h"

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
