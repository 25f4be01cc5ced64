#include "media/Pipeline.h"

#include "media/FrameConversion.h"
#include "media/GStreamer.h"
#include "media/TimelineMeasures.h"

#include <gst/video/video.h>
#include <gst/video/videooverlay.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <thread>

namespace kivo {
namespace {

// A time for a seek: from 0 to well beyond any medium (some 30 years), NaN
// as 0, so that the conversion is always defined.
gint64 ToNanoseconds(double seconds)
{
    constexpr double latest = 1e18;
    const double nanoseconds = seconds * GST_SECOND;
    return std::isnan(nanoseconds) ? 0 : static_cast<gint64>(std::clamp(nanoseconds, 0.0, latest));
}

// The display of GL video sinks, shared by every pipeline of the program:
// without it each pipeline opens a display of its own, with an X connection
// and threads of its own. The first display a pipeline makes is kept and
// handed to every element that asks for one.
void ShareGLDisplay(GstMessage* message)
{
    static std::mutex mutex;
    static GstContext* shared = nullptr;
    constexpr const char* kDisplayContext = "gst.gl.GLDisplay";
    const gchar* type = nullptr;
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_NEED_CONTEXT && gst_message_parse_context_type(message, &type) &&
        std::strcmp(type, kDisplayContext) == 0) {
        GstContext* display = nullptr;
        {
            std::lock_guard lock(mutex);
            display = shared != nullptr ? gst_context_ref(shared) : nullptr;
        }
        if (display != nullptr) {
            gst_element_set_context(GST_ELEMENT(GST_MESSAGE_SRC(message)), display);
            gst_context_unref(display);
        }
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_HAVE_CONTEXT) {
        GstContext* context = nullptr;
        gst_message_parse_have_context(message, &context);
        std::lock_guard lock(mutex);
        if (shared == nullptr && std::strcmp(gst_context_get_context_type(context), kDisplayContext) == 0)
            shared = gst_context_ref(context);
        gst_context_unref(context);
    }
}

// GStreamer's own words on an error or a warning of the pipeline over
// `path`, for the diagnostic log: a warning for its first error, which is
// where it failed; the errors that follow from it, and GStreamer's own
// warnings, are debug. (Qt's logging may be called from the streaming
// thread this runs on.)
void LogProblem(GstMessage* message, const QString& path, bool failure)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (!(failure ? lcEngine().isWarningEnabled()
                  : (type == GST_MESSAGE_ERROR || type == GST_MESSAGE_WARNING) && lcEngine().isDebugEnabled()))
        return;
    const bool failed = type == GST_MESSAGE_ERROR;
    GError* error = nullptr;
    gchar* details = nullptr;
    if (failed)
        gst_message_parse_error(message, &error, &details);
    else
        gst_message_parse_warning(message, &error, &details);
    const QString words = QStringLiteral("%1 - %2 from %3 - %4 - %5")
                              .arg(path, failed ? QStringLiteral("error") : QStringLiteral("warning"),
                                   QString::fromUtf8(GST_OBJECT_NAME(GST_MESSAGE_SRC(message))),
                                   QString::fromUtf8(error->message), QString::fromUtf8(details != nullptr ? details : ""));
    if (failure)
        qCWarning(lcEngine).noquote() << words;
    else
        qCDebug(lcEngine).noquote() << words;
    g_clear_error(&error);
    g_free(details);
}

// The caps that reached a sink; null without a sink or caps. Once the
// pipeline has prerolled, every rendered stream has reached its sink.
GstCaps* SinkCaps(GstElement* sink)
{
    if (sink == nullptr)
        return nullptr;
    GstCaps* caps = nullptr;
    if (GstPad* pad = gst_element_get_static_pad(sink, "sink")) {
        caps = gst_pad_get_current_caps(pad);
        gst_object_unref(pad);
    }
    gst_object_unref(sink);
    return caps;
}

}  // namespace

namespace {

GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer data)
{
    auto* bus = static_cast<Pipeline::Bus*>(data);
    const bool failure =
        GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR && !bus->errorEndsRun && !bus->failed.exchange(true);
    LogProblem(message, bus->path, failure);
    ShareGLDisplay(message);
    if (gst_is_video_overlay_prepare_window_handle_message(message)) {
        if (const quintptr window = bus->window.load(); window != 0) {
            GstVideoOverlay* overlay = GST_VIDEO_OVERLAY(GST_MESSAGE_SRC(message));
            gst_video_overlay_set_window_handle(overlay, window);
            // The mouse and the keys belong to the window, not to the sink.
            gst_video_overlay_handle_events(overlay, FALSE);
        }
    } else {
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR)
            bus->ended.Set();
        if (bus->listener)
            bus->listener(message);
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void DeleteBus(gpointer data)
{
    delete static_cast<Pipeline::Bus*>(data);
}

}  // namespace

Pipeline::Pipeline(GstElement* pipeline, const QString& path, BusListener listener)
{
    if (pipeline == nullptr)
        return;
    m_pipeline = GST_ELEMENT(gst_object_ref_sink(pipeline));
    m_bus = new Bus;
    m_bus->listener = std::move(listener);
    m_bus->path = path;
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, OnBusMessage, m_bus, DeleteBus);
    gst_object_unref(bus);
}

Pipeline::~Pipeline()
{
    if (m_pipeline == nullptr)
        return;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(m_pipeline);
    // Every pipeline brings streaming threads of its own, and the C library
    // gives them memory pools it keeps after they end: hand what they left
    // free back to the system.
    if (m_trimMemory)
        malloc_trim(0);
}

void Pipeline::Abandon()
{
    gst_object_unref(std::exchange(m_pipeline, nullptr));
}

bool Pipeline::Preroll(int milliseconds, const GiveUp& giveUp)
{
    const bool pausing = gst_element_set_state(m_pipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    if (pausing && WaitForPreroll(milliseconds, giveUp))
        return true;
    // A preroll given up is no failure.
    if (giveUp && giveUp())
        return false;
    // A failed state change may be told before the error that caused it has
    // reached the bus, where it is logged as the failure with GStreamer's
    // own words: it is given a moment. Whichever comes first is logged.
    using namespace std::chrono_literals;
    for (auto waited = 0ms; waited < 200ms && !m_bus->failed; waited += 10ms)
        std::this_thread::sleep_for(10ms);
    if (!m_bus->failed.exchange(true)) {
        qCWarning(lcEngine).noquote() << m_bus->path
                                      << (pausing ? "- no first frame in time" : "- the pipeline cannot pause");
    }
    return false;
}

bool Pipeline::WaitForPreroll(int milliseconds, const GiveUp& giveUp) const
{
    // A stream that fails as it prerolls (a file cut short) leaves the state
    // change pending: the wait goes in slices and ends at the failure rather
    // than at the deadline.
    constexpr GstClockTime kSlice = 20 * GST_MSECOND;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - std::chrono::steady_clock::now());
        const GstClockTime slice = std::min<GstClockTime>(kSlice, static_cast<GstClockTime>(std::max<qint64>(left.count(), 0)));
        const GstStateChangeReturn result = gst_element_get_state(m_pipeline, nullptr, nullptr, slice);
        if (result != GST_STATE_CHANGE_ASYNC)
            return result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL;
        if (m_bus->failed || left.count() <= 0 || (giveUp && giveUp()))
            return false;
    }
}

bool Pipeline::Seek(double position, double rate, double stop)
{
    if (!(rate > 0.0))
        return false;
    GstElement* target = SeekTarget();
    const bool accepted = gst_element_seek(target, rate, GST_FORMAT_TIME,
                                           static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                           GST_SEEK_TYPE_SET, ToNanoseconds(m_origin + std::max(position, 0.0)),
                                           stop >= 0.0 ? GST_SEEK_TYPE_SET : GST_SEEK_TYPE_NONE,
                                           stop >= 0.0 ? ToNanoseconds(m_origin + stop) : GST_CLOCK_TIME_NONE);
    gst_object_unref(target);
    if (accepted) {
        m_lastPosition = position;
        m_rate = rate;
    }
    return accepted;
}

GstElement* Pipeline::SeekTarget() const
{
    return GST_ELEMENT(gst_object_ref(m_pipeline));
}

void Pipeline::Settle(bool accepted, int milliseconds, const GiveUp& giveUp)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    if (accepted)
        WaitForPreroll(milliseconds, giveUp);
    if (VideoSize().isEmpty() || HasFrame() || (giveUp && giveUp()))
        return;
    // Some demuxers cannot seek in some files (RealMedia without an index):
    // the seek is refused but the pipeline flushed, and the video has no
    // frame. Starting the pipeline over brings the first frame back.
    gst_element_set_state(m_pipeline, GST_STATE_READY);
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    WaitForPreroll(static_cast<int>(std::max<qint64>(left.count(), 100)), giveUp);
    // The pipeline is back at its start.
    m_lastPosition = 0.0;
}

double Pipeline::Position() const
{
    gint64 position = 0;
    // Right after a seek or at the end of the stream the pipeline may not
    // answer; the last known position stands meanwhile.
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position) && position >= 0)
        m_lastPosition = std::max(static_cast<double>(position) / GST_SECOND - m_origin, 0.0);
    return m_lastPosition;
}

double Pipeline::Duration() const
{
    return m_measuredDuration ? *m_measuredDuration : QueryDuration(m_pipeline);
}

double Pipeline::StreamStart() const
{
    return SegmentStart(m_pipeline);
}

void Pipeline::SetTimeline(double origin, double duration)
{
    m_origin = origin;
    m_measuredDuration = duration;
}

QSize Pipeline::VideoSize() const
{
    QSize size;
    if (GstCaps* caps = SinkCaps(Sink(StreamKind::Video))) {
        GstVideoInfo info;
        if (gst_video_info_from_caps(&info, caps))
            size = QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
        gst_caps_unref(caps);
    }
    return size;
}

bool Pipeline::RendersAudio() const
{
    GstCaps* caps = SinkCaps(Sink(StreamKind::Audio));
    if (caps != nullptr)
        gst_caps_unref(caps);
    return caps != nullptr;
}

QImage Pipeline::CurrentFrame() const
{
    GstSample* sample = VideoSample();
    if (sample == nullptr)
        return {};
    QImage frame = FrameOfSample(sample);
    gst_sample_unref(sample);
    return frame;
}

bool Pipeline::HasFrame() const
{
    GstSample* sample = VideoSample();
    if (sample != nullptr)
        gst_sample_unref(sample);
    return sample != nullptr;
}

}  // namespace kivo
