#include "media/MediaEngine.h"

#include "media/Bitmap.h"
#include "media/Elements.h"
#include "media/Levels.h"
#include "media/Pictures.h"
#include "cutlist/FileNames.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLoggingCategory>

#include <gst/base/gstbasesink.h>
#include <gst/gst.h>
#include <gst/video/video.h>
#include <gst/video/videooverlay.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <optional>

namespace kivo {
namespace {

Q_LOGGING_CATEGORY(lcEngine, "kivo.engine", QtWarningMsg)

// How long a pipeline may take to preroll, and a preview to reach its frame.
constexpr int kPrerollMilliseconds = 7000;
constexpr int kPreviewMilliseconds = 7000;
// How long a seek or a pause may take to show its frame.
constexpr int kSettleMilliseconds = 2000;
// Times closer than this are the same moment.
constexpr double kTimeTolerance = 0.001;

const auto kBusEventType = static_cast<QEvent::Type>(QEvent::User + 13);

// A time for a seek: from 0 to well beyond any medium (some 30 years), NaN
// as 0, so that the conversion is always defined.
gint64 ToNanoseconds(double seconds)
{
    constexpr double latest = 1e18;
    const double nanoseconds = seconds * GST_SECOND;
    return std::isnan(nanoseconds) ? 0 : static_cast<gint64>(std::clamp(nanoseconds, 0.0, latest));
}

// A bus message carried to the engine's thread, tagged with the pipeline it
// came from so that messages of a replaced pipeline are dropped.
class BusEvent : public QEvent {
public:
    BusEvent(GstMessage* message, quint64 generation)
        : QEvent(kBusEventType), m_message(gst_message_ref(message)), m_generation(generation)
    {
    }
    ~BusEvent() override { gst_message_unref(m_message); }
    BusEvent(const BusEvent&) = delete;
    BusEvent& operator=(const BusEvent&) = delete;

    GstMessage* Message() const { return m_message; }
    quint64 Generation() const { return m_generation; }

private:
    GstMessage* m_message;
    quint64 m_generation;
};

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
        qCDebug(lcEngine).noquote() << "cannot make" << description << "-" << error->message;
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

// The sound output of a playing pipeline, and whether it reaches a device:
// autoaudiosink stands a fake sink in when no real output opens.
GstElement* AudioOutput(bool* reachesDevice)
{
    *reachesDevice = true;
    if (const char* chosen = std::getenv("KIVO_AUDIO_SINK"); chosen != nullptr && *chosen != '\0')
        return ElementFromDescription("KIVO_AUDIO_SINK", "");
    GstElement* sink = gst_element_factory_make("autoaudiosink", nullptr);
    if (sink != nullptr && gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        *reachesDevice = !BinContainsFactory(GST_BIN(sink), "fakesink");
        gst_element_set_state(sink, GST_STATE_NULL);
        if (*reachesDevice)
            return sink;
    }
    if (sink != nullptr)
        gst_object_unref(sink);
    *reachesDevice = false;
    return NullSink();
}

// The caps that reached one of the pipeline's sinks ("audio-sink" or
// "video-sink"); null when that kind of stream is not rendered. Once the
// pipeline has prerolled, every rendered stream has reached its sink.
GstCaps* SinkCaps(GstElement* pipeline, const char* sinkProperty)
{
    if (pipeline == nullptr)
        return nullptr;
    GstElement* sink = nullptr;
    g_object_get(pipeline, sinkProperty, &sink, nullptr);
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

// The duration in seconds, 0.0 when unknown.
double QueryDuration(GstElement* pipeline)
{
    gint64 duration = 0;
    return gst_element_query_duration(pipeline, GST_FORMAT_TIME, &duration) && duration > 0
               ? static_cast<double>(duration) / GST_SECOND
               : 0.0;
}

// Where the pipeline's stream begins, in seconds of stream time: after zero
// when the demuxer keeps the medium's own clock values.
double SegmentStart(GstElement* pipeline)
{
    gint64 start = 0;
    GstQuery* query = gst_query_new_segment(GST_FORMAT_TIME);
    if (gst_element_query(pipeline, query))
        gst_query_parse_segment(query, nullptr, nullptr, &start, nullptr);
    gst_query_unref(query);
    return start > 0 ? static_cast<double>(start) / GST_SECOND : 0.0;
}

// The stretch of stream time, in seconds, that the samples the pipeline's
// sinks rendered last cover together; nothing when they hold none.
struct Span {
    double begin;
    double end;
};
std::optional<Span> RenderedSpan(GstElement* pipeline)
{
    std::optional<Span> span;
    ForEachElement(GST_BIN(pipeline), [&span](GstElement* element) {
        GstSample* sample = GST_IS_BASE_SINK(element) ? gst_base_sink_get_last_sample(GST_BASE_SINK(element)) : nullptr;
        if (sample == nullptr)
            return true;
        const GstBuffer* buffer = gst_sample_get_buffer(sample);
        const GstSegment* segment = gst_sample_get_segment(sample);
        if (buffer != nullptr && segment != nullptr && GST_BUFFER_PTS_IS_VALID(buffer)) {
            const GstClockTime pts = GST_BUFFER_PTS(buffer);
            const GstClockTime length = GST_BUFFER_DURATION_IS_VALID(buffer) ? GST_BUFFER_DURATION(buffer) : 0;
            const guint64 begin = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, pts);
            const guint64 end = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, pts + length);
            if (begin != GST_CLOCK_TIME_NONE && end != GST_CLOCK_TIME_NONE) {
                const Span rendered{static_cast<double>(begin) / GST_SECOND, static_cast<double>(end) / GST_SECOND};
                span = span ? Span{std::min(span->begin, rendered.begin), std::max(span->end, rendered.end)} : rendered;
            }
        }
        gst_sample_unref(sample);
        return true;
    });
    return span;
}

// The picture of a video sample, converted in place by GStreamer's video
// converter (convert-sample would run a pipeline of its own for it).
QImage FrameOfSample(GstSample* sample)
{
    GstVideoInfo in;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (buffer == nullptr || !gst_video_info_from_caps(&in, gst_sample_get_caps(sample)))
        return {};
    const int width = GST_VIDEO_INFO_WIDTH(&in);
    const int height = GST_VIDEO_INFO_HEIGHT(&in);
    if (width <= 0 || height <= 0)
        return {};
    QImage frame(width, height, QImage::Format_RGB32);
    if (frame.isNull())
        return {};
    GstVideoInfo out;
    // QImage's RGB32 is the 32-bit value 0xffRRGGBB in the machine's byte order.
    constexpr GstVideoFormat rgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? GST_VIDEO_FORMAT_BGRx : GST_VIDEO_FORMAT_xRGB;
    gst_video_info_set_format(&out, rgb32, static_cast<guint>(width), static_cast<guint>(height));
    // The converter changes the pixels only, not the timing or the shape.
    GST_VIDEO_INFO_FPS_N(&out) = GST_VIDEO_INFO_FPS_N(&in);
    GST_VIDEO_INFO_FPS_D(&out) = GST_VIDEO_INFO_FPS_D(&in);
    GST_VIDEO_INFO_PAR_N(&out) = GST_VIDEO_INFO_PAR_N(&in);
    GST_VIDEO_INFO_PAR_D(&out) = GST_VIDEO_INFO_PAR_D(&in);
    GST_VIDEO_INFO_INTERLACE_MODE(&out) = GST_VIDEO_INFO_INTERLACE_MODE(&in);
    GST_VIDEO_INFO_PLANE_STRIDE(&out, 0) = static_cast<gint>(frame.bytesPerLine());
    GST_VIDEO_INFO_SIZE(&out) = static_cast<gsize>(frame.sizeInBytes());
    GstVideoFrame source;
    if (!gst_video_frame_map(&source, &in, buffer, GST_MAP_READ))
        return {};
    GstBuffer* target = gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_NO_SHARE, frame.bits(), frame.sizeInBytes(), 0,
                                                     frame.sizeInBytes(), nullptr, nullptr);
    GstVideoFrame destination;
    bool converted = false;
    if (gst_video_frame_map(&destination, &out, target, GST_MAP_WRITE)) {
        if (GstVideoConverter* converter = gst_video_converter_new(&in, &out, nullptr)) {
            gst_video_converter_frame(converter, &source, &destination);
            gst_video_converter_free(converter);
            converted = true;
        }
        gst_video_frame_unmap(&destination);
    }
    gst_buffer_unref(target);
    gst_video_frame_unmap(&source);
    if (!converted)
        return {};
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] |= 0xFF000000u;
    }
    return frame;
}

}  // namespace

// What the bus's sync handler needs, owned by the bus: it runs on streaming
// threads and must not touch the engine beyond posting events to it.
struct PipelineBus {
    MediaEngine* engine;
    quint64 generation;
    bool notifies;
    std::atomic<quintptr> window{0};
    // Set when the stream has ended or failed.
    ManualResetEvent ended;
};

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

// GStreamer's own words on an error or a warning, for the diagnostic log.
// (Qt's logging may be called from the streaming thread this runs on.)
void LogProblem(GstMessage* message)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if ((type != GST_MESSAGE_ERROR && type != GST_MESSAGE_WARNING) || !lcEngine().isDebugEnabled())
        return;
    GError* error = nullptr;
    gchar* details = nullptr;
    if (type == GST_MESSAGE_ERROR)
        gst_message_parse_error(message, &error, &details);
    else
        gst_message_parse_warning(message, &error, &details);
    qCDebug(lcEngine).noquote() << (type == GST_MESSAGE_ERROR ? "error from" : "warning from")
                                << GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) << "-" << error->message << "-"
                                << (details != nullptr ? details : "");
    g_clear_error(&error);
    g_free(details);
}

GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer data)
{
    LogProblem(message);
    auto* bus = static_cast<PipelineBus*>(data);
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
        const bool ended = type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR;
        if (ended)
            bus->ended.Set();
        if (bus->notifies && (ended || type == GST_MESSAGE_DURATION_CHANGED))
            QCoreApplication::postEvent(bus->engine, new BusEvent(message, bus->generation));
    }
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void DeletePipelineBus(gpointer data)
{
    delete static_cast<PipelineBus*>(data);
}

}  // namespace

MediaEngine::MediaEngine(QObject* parent) : QObject(parent)
{
    EnsureGStreamer();
}

MediaEngine::~MediaEngine()
{
    Close();
}

bool MediaEngine::BuildPipeline(const QString& path)
{
    m_pipeline = gst_element_factory_make("playbin", nullptr);
    if (m_pipeline == nullptr) {
        m_hrRender = RenderResult::NoGStreamer;
        return false;
    }
    gst_object_ref_sink(m_pipeline);
    ++m_generation;
    m_bus = new PipelineBus{this, m_generation, !m_bPreview, {m_windowHandle}, {}};
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, OnBusMessage, m_bus, DeletePipelineBus);
    gst_object_unref(bus);

    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(FileNameBytes(path).constData(), &error);
    if (uri == nullptr) {
        g_clear_error(&error);
        m_hrRender = RenderResult::Failed;
        return false;
    }
    g_object_set(m_pipeline, "uri", uri, nullptr);
    g_free(uri);

    GstElement* videoSink = nullptr;
    if (m_bPreview) {
        videoSink = NullSink();
        m_audioOutput = false;
        g_object_set(m_pipeline, "audio-sink", WithOwnVolume(NullSink()), nullptr);
    } else {
        videoSink = ElementFromDescription("KIVO_VIDEO_SINK", m_windowHandle != 0 ? "autovideosink" : "fakesink sync=true");
        g_object_set(m_pipeline, "audio-sink", WithOwnVolume(AudioOutput(&m_audioOutput)), nullptr);
    }
    if (videoSink != nullptr)
        g_object_set(m_pipeline, "video-sink", videoSink, nullptr);
    m_panorama = m_bPreview ? nullptr : gst_element_factory_make("audiopanorama", nullptr);
    if (m_panorama != nullptr) {
        g_object_set(m_panorama, "method", 1 /* simple */, nullptr);
        g_object_set(m_pipeline, "audio-filter", m_panorama, nullptr);
    }
    return true;
}

bool MediaEngine::WaitForPreroll(int milliseconds) const
{
    const GstStateChangeReturn result =
        gst_element_get_state(m_pipeline, nullptr, nullptr, static_cast<GstClockTime>(milliseconds) * GST_MSECOND);
    return result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL;
}

void MediaEngine::MeasureTimeline(const QString& path, double estimatedEnd)
{
    if (!m_bPreview) {
        // The sinks of a player show and sound what passes: a preview of its
        // own measures the medium.
        MediaEngine probe;
        probe.m_bPreview = true;
        if (probe.Open(path) && probe.m_timelineMeasured) {
            m_origin = probe.m_origin;
            m_dDuration = probe.m_dDuration;
            m_timelineMeasured = true;
        }
        return;
    }
    // The first moment is what a seek to zero brings to the sinks; the last
    // is the end of what reaches them when the last second runs, flat out.
    if (!Seek(0.0, 1.0, -1.0) || !WaitForPreroll(kSettleMilliseconds))
        return;
    const std::optional<Span> first = RenderedSpan(m_pipeline);
    m_bus->ended.Reset();
    if (!first || !Seek(std::max(estimatedEnd - 1.0, first->begin), 1.0, -1.0))
        return;
    gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    const bool ended = m_bus->ended.WaitFor(std::chrono::milliseconds(kSettleMilliseconds));
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    const std::optional<Span> last = RenderedSpan(m_pipeline);
    if (ended && last && last->end > first->begin) {
        m_origin = first->begin;
        m_dDuration = last->end - first->begin;
        m_timelineMeasured = true;
    }
    SettleAfterSeek(Seek(0.0, 1.0, -1.0), kSettleMilliseconds);
}

bool MediaEngine::Open(const QString& path)
{
    Close();
    m_rcSource = {};
    // Only regular files are media: opening a named pipe or a device could
    // block for ever.
    if (!StatFile(path).regular) {
        qCDebug(lcEngine).noquote() << "not a regular file:" << path;
        m_hrRender = RenderResult::Failed;
        return false;
    }
    if (!BuildPipeline(path)) {
        if (m_hrRender == RenderResult::NoGStreamer)
            emit graphMissing();
        Close();
        return false;
    }
    if (gst_element_set_state(m_pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
        !WaitForPreroll(kPrerollMilliseconds)) {
        qCDebug(lcEngine).noquote() << "cannot render" << path;
        m_hrRender = RenderResult::Failed;
        Close();
        return false;
    }
    gint videoStreams = 0;
    gint audioStreams = 0;
    g_object_get(m_pipeline, "n-video", &videoStreams, "n-audio", &audioStreams, nullptr);
    m_hrRender = RenderResult::Success;
    if (!m_bPreview && !m_audioOutput && audioStreams > 0) {
        if (videoStreams == 0) {
            m_hrRender = RenderResult::NoAudioHardware;
            Close();
            return false;
        }
        m_hrRender = RenderResult::AudioNotRendered;
    }

    m_dDuration = QueryDuration(m_pipeline);
    m_origin = 0.0;
    m_timelineMeasured = false;
    m_nPlayState = kPlayStateStopped;
    m_lastPosition = 0.0;
    m_rateInForce = 1.0;
    SetVolume(m_lVolume);
    SetBalance(m_lBalance);
    // A demuxer that keeps the medium's own clock values (MPEG program
    // streams do) starts its timeline at the first time stamp it finds near
    // the start of the file, drops whatever comes before it, and estimates
    // the duration from time stamps near the start and the end. The medium
    // is measured instead, and shown from its first moment.
    if (const double start = SegmentStart(m_pipeline); start > 0.0) {
        MeasureTimeline(path, start + m_dDuration);
        if (!m_bPreview && std::abs(start - m_origin) > kTimeTolerance)
            SettleAfterSeek(Seek(0.0, 1.0, -1.0), kSettleMilliseconds);
    }
    if (!m_bPreview && m_dRate != 1.0)
        Seek(0.0, m_dRate, -1.0);
    m_strPath = path;
    GetSourceRect();
    emit opened();
    return true;
}

void MediaEngine::Reopen()
{
    if (Succeeded(m_hrRender) && !m_strPath.isEmpty())
        Open(m_strPath);
}

void MediaEngine::JoinPreviewWorker()
{
    if (m_previewWorker.joinable())
        m_previewWorker.join();
}

void MediaEngine::Close()
{
    JoinPreviewWorker();
    if (m_pipeline == nullptr)
        return;
    gst_element_set_state(m_pipeline, GST_STATE_NULL);
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_object_unref(m_pipeline);
    m_pipeline = nullptr;
    m_panorama = nullptr;
    m_bus = nullptr;
    ++m_generation;
    // Every pipeline brings streaming threads of its own, and the C library
    // gives them memory pools it keeps after they end: hand what they left
    // free back to the system.
    malloc_trim(0);
}

void MediaEngine::StartPlayback()
{
    if (m_nPlayState != kPlayStateStopped && m_nPlayState != kPlayStatePaused)
        return;
    emit aboutToPlay();
    if (m_pipeline != nullptr)
        gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
    m_nPlayState = kPlayStatePlaying;
}

void MediaEngine::PausePlayback()
{
    if (m_nPlayState != kPlayStatePlaying && m_nPlayState != kPlayStateStopped)
        return;
    // A stopped pipeline is paused already and shows its frame.
    if (m_pipeline != nullptr && m_nPlayState == kPlayStatePlaying) {
        gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
        WaitForPreroll(kSettleMilliseconds);
    }
    m_nPlayState = kPlayStatePaused;
}

void MediaEngine::StopPlayback()
{
    if (m_nPlayState != kPlayStatePlaying && m_nPlayState != kPlayStatePaused)
        return;
    if (m_pipeline != nullptr) {
        gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
        WaitForPreroll(kSettleMilliseconds);
    }
    m_nPlayState = kPlayStateStopped;
    if (m_bAutoRewind)
        SetPosition(0.0);
}

double MediaEngine::GetPosition() const
{
    if (m_pipeline == nullptr)
        return 0.0;
    gint64 position = 0;
    // Right after a seek or at the end of the stream the pipeline may not
    // answer; the last known position stands meanwhile.
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position) && position >= 0)
        m_lastPosition = std::max(static_cast<double>(position) / GST_SECOND - m_origin, 0.0);
    return m_lastPosition;
}

bool MediaEngine::Seek(double position, double rate, double stop, bool toKeyFrame)
{
    if (m_pipeline == nullptr || !(rate > 0.0))
        return false;
    const auto precision = toKeyFrame ? GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_NEAREST : GST_SEEK_FLAG_ACCURATE;
    const bool accepted = gst_element_seek(m_pipeline, rate, GST_FORMAT_TIME,
                                           static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | precision),
                                           GST_SEEK_TYPE_SET, ToNanoseconds(m_origin + std::max(position, 0.0)),
                                           stop >= 0.0 ? GST_SEEK_TYPE_SET : GST_SEEK_TYPE_NONE,
                                           stop >= 0.0 ? ToNanoseconds(m_origin + stop) : GST_CLOCK_TIME_NONE);
    if (accepted) {
        m_rateInForce = rate;
        m_lastPosition = position;
    }
    return accepted;
}

void MediaEngine::SetPosition(double seconds)
{
    if (m_pipeline == nullptr)
        return;
    const bool accepted = Seek(seconds, m_rateInForce, -1.0);
    if (m_nPlayState != kPlayStatePlaying)
        SettleAfterSeek(accepted, kSettleMilliseconds);
}

bool MediaEngine::HasFrame() const
{
    GstSample* sample = nullptr;
    g_object_get(m_pipeline, "sample", &sample, nullptr);
    if (sample != nullptr)
        gst_sample_unref(sample);
    return sample != nullptr;
}

void MediaEngine::SettleAfterSeek(bool accepted, int milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    if (accepted)
        WaitForPreroll(milliseconds);
    if (!HasVideo() || HasFrame())
        return;
    // Some demuxers cannot seek in some files (RealMedia without an index):
    // the seek is refused but the pipeline flushed, and the video has no
    // frame. Starting the pipeline over brings the first frame back.
    gst_element_set_state(m_pipeline, GST_STATE_READY);
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    WaitForPreroll(static_cast<int>(std::max<qint64>(left.count(), 100)));
    m_lastPosition = 0.0;
}

double MediaEngine::GetRate() const
{
    return m_pipeline == nullptr ? 0.0 : m_rateInForce;
}

void MediaEngine::SetRate(double rate)
{
    m_dRate = rate;
    if (m_pipeline != nullptr && Seek(GetPosition(), rate, -1.0) && m_nPlayState != kPlayStatePlaying)
        WaitForPreroll(kSettleMilliseconds);
}

void MediaEngine::SetVolume(long volume)
{
    m_lVolume = volume;
    if (m_pipeline != nullptr)
        g_object_set(m_pipeline, "volume", VolumeToAmplitude(volume), nullptr);
}

void MediaEngine::SetBalance(long balance)
{
    m_lBalance = balance;
    if (m_panorama != nullptr)
        g_object_set(m_panorama, "panorama", static_cast<gfloat>(BalanceToPanorama(balance)), nullptr);
}

void MediaEngine::SetMute(bool on)
{
    if (on && !m_bMuted) {
        m_lSavedVolume = m_lVolume;
        SetVolume(kSilence);
        m_bMuted = true;
    } else if (!on && m_bMuted) {
        SetVolume(m_lSavedVolume);
        m_bMuted = false;
    }
}

QSize MediaEngine::VideoSize() const
{
    QSize size;
    if (GstCaps* caps = SinkCaps(m_pipeline, "video-sink")) {
        GstVideoInfo info;
        if (gst_video_info_from_caps(&info, caps))
            size = QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
        gst_caps_unref(caps);
    }
    return size;
}

bool MediaEngine::HasVideo() const
{
    const QSize size = VideoSize();
    return size.width() > 0 && size.height() > 0;
}

bool MediaEngine::HasAudio() const
{
    if (!m_bPreview && !m_audioOutput)
        return false;
    GstCaps* caps = SinkCaps(m_pipeline, "audio-sink");
    if (caps != nullptr)
        gst_caps_unref(caps);
    return caps != nullptr;
}

void MediaEngine::GetSourceRect()
{
    const QSize size = VideoSize();
    m_rcSource = size.isValid() ? SourceRect{0, 0, size.width(), size.height()} : SourceRect{};
}

void MediaEngine::SetNotifyTarget(NotifyTarget target, qintptr param)
{
    m_notifyTarget = std::move(target);
    m_notifyParam = param;
}

void MediaEngine::SetWindowHandle(quintptr handle)
{
    m_windowHandle = handle;
    if (m_bus != nullptr)
        m_bus->window.store(handle);
}

void MediaEngine::SetVideoRectangle(const EdgeRect& rect)
{
    m_videoRect = rect;
    // playbin passes the rectangle on to its video sink, when that sink
    // draws into a window.
    if (m_pipeline != nullptr && m_windowHandle != 0 && rect.Width() > 0 && rect.Height() > 0) {
        GstVideoOverlay* overlay = GST_VIDEO_OVERLAY(m_pipeline);
        gst_video_overlay_set_render_rectangle(overlay, rect.left, rect.top, rect.Width(), rect.Height());
        gst_video_overlay_expose(overlay);
    }
}

bool MediaEngine::event(QEvent* event)
{
    if (event->type() != kBusEventType)
        return QObject::event(event);
    const auto* busEvent = static_cast<BusEvent*>(event);
    if (busEvent->Generation() != m_generation || m_pipeline == nullptr)
        return true;
    switch (GST_MESSAGE_TYPE(busEvent->Message())) {
    case GST_MESSAGE_EOS:
        OnRunEnded(true);
        break;
    case GST_MESSAGE_ERROR:
        // A broken stream ends the run, so that a cut list plays on; it is
        // not repeated.
        if (m_nPlayState == kPlayStatePlaying)
            OnRunEnded(false);
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        if (const double duration = QueryDuration(m_pipeline); duration > 0.0 && !m_timelineMeasured)
            m_dDuration = duration;
        break;
    default:
        break;
    }
    return true;
}

void MediaEngine::OnRunEnded(bool mayRepeat)
{
    if (mayRepeat && m_bRepeat && !m_bPreview) {
        Seek(0.0, m_rateInForce, -1.0);
        return;
    }
    if (m_notifyTarget)
        m_notifyTarget(EC_COMPLETE, m_notifyParam);
    if (m_bAutoRewind && !m_bPreview)
        SetPosition(0.0);
}

void MediaEngine::OpenPreview()
{
    JoinPreviewWorker();
    m_hPreviewDone.Reset();
    m_bPreview = true;
    m_bPreviewOk = Open(m_strPreviewPath);
    if (!m_bPreviewOk) {
        m_hPreviewDone.Set();
        return;
    }
    if (!HasVideo()) {
        if (!HasAudio())
            m_bPreviewOk = false;
        m_hPreviewDone.Set();
        return;
    }
    SetMute(true);
    // The frame one second in (the key frame nearest to it, which is quick
    // to reach in every format), or the first frame of a shorter medium,
    // reached by a seek in the paused pipeline within the time limit.
    m_previewWorker = std::thread([this] {
        if (m_dDuration == 0.0 || m_dDuration > 1.0) {
            SettleAfterSeek(Seek(1.0, 1.0, -1.0, true), kPreviewMilliseconds);
        }
        if (m_dDuration == 0.0)
            m_dDuration = QueryDuration(m_pipeline);
        m_hPreviewDone.Set();
    });
}

void MediaEngine::WaitPreviewDone()
{
    m_hPreviewDone.Wait();
}

bool MediaEngine::CaptureFrame()
{
    if (m_pipeline == nullptr)
        return false;
    PausePlayback();
    GstSample* sample = nullptr;
    g_object_get(m_pipeline, "sample", &sample, nullptr);
    if (sample == nullptr)
        return false;
    const QImage frame = FrameOfSample(sample);
    gst_sample_unref(sample);
    if (frame.isNull())
        return false;
    m_frame = frame;
    m_snapshotBitmap = PackedBitmapFromImage(frame);
    m_sizeSnapshot = frame.size();
    return true;
}

bool MediaEngine::MakeThumbnail(QImage& thumbnail)
{
    if (!CaptureFrame())
        return false;
    thumbnail = ThumbnailOnFrame(m_frame);
    return true;
}

QStringList MediaEngine::ListFilters() const
{
    return m_pipeline == nullptr ? QStringList() : FiltersInPipeline(GST_BIN(m_pipeline));
}

GstElement* MediaEngine::FindFilterByName(const QString& name) const
{
    return m_pipeline == nullptr ? nullptr : FindElementByFactoryName(GST_BIN(m_pipeline), name);
}

}  // namespace kivo
