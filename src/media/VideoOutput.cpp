#include "media/VideoOutput.h"

#include "media/GStreamer.h"

#include <string>

namespace kivo {
namespace {

// The video sink autovideosink settles on here, found once: it tries the
// sinks in turn each time it is made, and one that fails its try (an X
// server without the video extension) leaves memory behind every time.
const std::string& ScreenVideoSink()
{
    static const std::string name = [] {
        std::string found = "autovideosink";
        GstElement* probe = gst_element_factory_make("autovideosink", nullptr);
        if (probe == nullptr)
            return found;
        if (gst_element_set_state(probe, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
            GstIterator* children = gst_bin_iterate_elements(GST_BIN(probe));
            GValue child = G_VALUE_INIT;
            if (gst_iterator_next(children, &child) == GST_ITERATOR_OK) {
                if (GstElementFactory* factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&child))))
                    found = GST_OBJECT_NAME(factory);
                g_value_unset(&child);
            }
            gst_iterator_free(children);
        }
        gst_element_set_state(probe, GST_STATE_NULL);
        gst_object_unref(probe);
        qCDebug(lcEngine).noquote() << "video sink:" << found.c_str();
        return found;
    }();
    return name;
}

}  // namespace

VideoOutput::~VideoOutput()
{
    if (m_sink != nullptr)
        gst_object_unref(m_sink);
}

GstElement* VideoOutput::Take(quintptr window)
{
    const bool drawsIntoWindow = window != 0;
    // A pipeline that came down has left its sink stopped and without a
    // parent; a pipeline takes a reference of its own.
    if (m_sink != nullptr && m_drawsIntoWindow == drawsIntoWindow && GST_OBJECT_PARENT(m_sink) == nullptr)
        return m_sink;
    // The screen's sink is only looked for when the environment names none.
    std::string description = "fakesink sync=true";
    if (drawsIntoWindow)
        description = qEnvironmentVariableIsEmpty("KIVO_VIDEO_SINK") ? ScreenVideoSink() : std::string();
    GstElement* sink = ElementFromDescription("KIVO_VIDEO_SINK", description.c_str());
    if (sink != nullptr && (m_sink == nullptr || m_drawsIntoWindow != drawsIntoWindow)) {
        if (m_sink != nullptr)
            gst_object_unref(m_sink);
        m_sink = GST_ELEMENT(gst_object_ref_sink(sink));
        m_drawsIntoWindow = drawsIntoWindow;
    }
    return sink;
}

}  // namespace kivo
