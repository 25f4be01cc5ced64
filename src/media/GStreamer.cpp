#include "media/GStreamer.h"

#include <cstdlib>

namespace kivo {

Q_LOGGING_CATEGORY(lcEngine, "kivo.engine", QtWarningMsg)

namespace {

// Lowers a factory below its stand-in, when the stand-in is there.
void PreferOver(const char* preferred, const char* avoided)
{
    GstElementFactory* standIn = gst_element_factory_find(preferred);
    GstElementFactory* factory = gst_element_factory_find(avoided);
    if (standIn != nullptr && factory != nullptr)
        gst_plugin_feature_set_rank(GST_PLUGIN_FEATURE(factory), GST_RANK_NONE);
    if (standIn != nullptr)
        gst_object_unref(standIn);
    if (factory != nullptr)
        gst_object_unref(factory);
}

}  // namespace

void EnsureGStreamer()
{
    static const bool initialised = [] {
        gst_init(nullptr, nullptr);
        // aiffparse pushes before decodebin has linked its pad, and now and
        // then fails an AIFF file with "not-linked"; libav's AIFF demuxer
        // does not.
        PreferOver("avdemux_aiff", "aiffparse");
        return true;
    }();
    (void)initialised;
}

// An element (or a bin of elements) from a pipeline description such as
// "fakesink sync=true": the environment variable's if it is set, else the
// fallback's.
GstElement* ElementFromDescription(const char* variable, const char* fallback)
{
    const char* description = std::getenv(variable);
    if (description == nullptr || *description == '\0')
        description = fallback;
    GError* error = nullptr;
    GstElement* element = gst_parse_bin_from_description(description, TRUE, &error);
    if (error != nullptr) {
        qCWarning(lcEngine).noquote() << "cannot make" << description << "-" << error->message;
        g_error_free(error);
        if (element != nullptr)
            gst_object_unref(element);
        return nullptr;
    }
    return element;
}

GstElement* NullSink()
{
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", FALSE, nullptr);
    return sink;
}

// A sound output with a volume element of its own in front. Without one,
// playbin brings its software volume, which it never frees (GStreamer 1.22);
// that element keeps every context the pipeline handed it, a GL video
// sink's display among them, with its X connection and its threads.
GstElement* WithOwnVolume(GstElement* sink)
{
    GstElement* volume = gst_element_factory_make("volume", nullptr);
    if (sink == nullptr || volume == nullptr) {
        if (volume != nullptr)
            gst_object_unref(volume);
        return sink;
    }
    GstElement* output = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(output), volume, sink, nullptr);
    gst_element_link(volume, sink);
    GstPad* pad = gst_element_get_static_pad(volume, "sink");
    gst_element_add_pad(output, gst_ghost_pad_new("sink", pad));
    gst_object_unref(pad);
    return output;
}

}  // namespace kivo
