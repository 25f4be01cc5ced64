#include "media/Playbin.h"

#include "cutlist/FileNames.h"
#include "media/Elements.h"
#include "media/ManualResetEvent.h"

#include <gst/base/gstbasesink.h>
#include <gst/video/video.h>
#include <gst/video/videooverlay.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <mutex>
#include <vector>

namespace kivo {

Q_LOGGING_CATEGORY(lcEngine, "kivo.engine", QtWarningMsg)

namespace {

// A time for a seek: from 0 to well beyond any medium (some 30 years), NaN
// as 0, so that the conversion is always defined.
gint64 ToNanoseconds(double seconds)
{
    constexpr double latest = 1e18;
    const double nanoseconds = seconds * GST_SECOND;
    return std::isnan(nanoseconds) ? 0 : static_cast<gint64>(std::clamp(nanoseconds, 0.0, latest));
}

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

// Whether the element is one of libav's decoders.
bool IsLibavDecoder(GstElement* element)
{
    GstElementFactory* factory = gst_element_get_factory(element);
    return factory != nullptr && g_str_has_prefix(GST_OBJECT_NAME(factory), "avdec_");
}

// Sets a property the element may lack.
void SetIfItHas(GstElement* element, const char* property, int value)
{
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), property) != nullptr)
        g_object_set(element, property, value, nullptr);
}

// Libav's "skip-frame" value that leaves a picture's pixels undone.
constexpr int kSkipPixels = 2;

// Whether decoded video caps describe interlaced pictures.
bool IsInterlaced(const GstCaps* caps)
{
    const gchar* mode = gst_structure_get_string(gst_caps_get_structure(caps, 0), "interlace-mode");
    return mode != nullptr && std::strcmp(mode, "progressive") != 0;
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
// sinks rendered last cover together, and how many sinks hold one; nothing
// when none does. (A flushing seek empties every sink.)
struct Span {
    double begin;
    double end;
    int sinks = 1;
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
                span = span ? Span{std::min(span->begin, rendered.begin), std::max(span->end, rendered.end),
                                   span->sinks + 1}
                            : rendered;
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


// What the bus's sync handler needs, owned by the handler: it runs on
// streaming threads and only answers window requests and passes messages on.
struct Playbin::Bus {
    std::atomic<quintptr> window{0};
    // Set when the stream has ended or failed.
    ManualResetEvent ended;
    // Set when the stream has failed: a preroll then waits no longer.
    std::atomic<bool> failed{false};
    BusListener listener;
    // The file, to name in the log.
    QString path;
};

namespace {

GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer data)
{
    auto* bus = static_cast<Playbin::Bus*>(data);
    const bool failure = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR && !bus->failed.exchange(true);
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
    delete static_cast<Playbin::Bus*>(data);
}

}  // namespace

Playbin::Playbin(const QString& path, BusListener listener, Purpose purpose)
    : m_purpose(purpose)
{
    EnsureGStreamer();
    const bool examining = purpose == Purpose::Examining;
    if (examining) {
        // The file straight into a decoding bin, which needs no URI.
        GstElement* source = gst_element_factory_make("filesrc", nullptr);
        GstElement* decoder = gst_element_factory_make("decodebin", nullptr);
        if (source == nullptr || decoder == nullptr) {
            for (GstElement* made : {source, decoder})
                if (made != nullptr)
                    gst_object_unref(gst_object_ref_sink(made));
            qCWarning(lcEngine) << "GStreamer has no filesrc or decodebin";
            m_hasGStreamer = false;
            return;
        }
        g_object_set(source, "location", FileNameBytes(path).constData(), nullptr);
        m_pipeline = gst_pipeline_new(nullptr);
        gst_bin_add_many(GST_BIN(m_pipeline), source, decoder, nullptr);
        gst_element_link(source, decoder);
        g_signal_connect(decoder, "pad-added", G_CALLBACK(OnDecodedPad), this);
        g_signal_connect(m_pipeline, "deep-element-added", G_CALLBACK(OnElementAdded), this);
    } else {
        m_pipeline = gst_element_factory_make("playbin", nullptr);
        if (m_pipeline == nullptr) {
            qCWarning(lcEngine) << "GStreamer has no playbin";
            m_hasGStreamer = false;
            return;
        }
    }
    gst_object_ref_sink(m_pipeline);
    m_bus = new Bus;
    m_bus->listener = std::move(listener);
    m_bus->path = path;
    GstBus* bus = gst_element_get_bus(m_pipeline);
    gst_bus_set_sync_handler(bus, OnBusMessage, m_bus, DeleteBus);
    gst_object_unref(bus);
    if (examining)
        return;

    GError* error = nullptr;
    gchar* uri = gst_filename_to_uri(FileNameBytes(path).constData(), &error);
    if (uri == nullptr) {
        qCWarning(lcEngine).noquote() << "no URI for" << path << "-" << error->message;
        g_clear_error(&error);
        gst_object_unref(std::exchange(m_pipeline, nullptr));
        return;
    }
    g_object_set(m_pipeline, "uri", uri, nullptr);
    g_free(uri);
}

void Playbin::OnElementAdded(GstBin*, GstBin*, GstElement* element, gpointer data)
{
    if (!IsLibavDecoder(element))
        return;
    // Libav's decoders start a thread per core for each stream; an examining
    // pipeline is one of one per core already.
    SetIfItHas(element, "max-threads", 1);
    if (!static_cast<Playbin*>(data)->m_decodePictures)
        SetIfItHas(element, "skip-frame", kSkipPixels);
}

void Playbin::OnDecodedPad(GstElement*, GstPad* pad, gpointer data)
{
    auto* self = static_cast<Playbin*>(data);
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr)
        caps = gst_pad_query_caps(pad, nullptr);
    const gchar* media = gst_caps_is_empty(caps) ? "" : gst_structure_get_name(gst_caps_get_structure(caps, 0));
    const bool video = g_str_has_prefix(media, "video/");
    const bool audio = g_str_has_prefix(media, "audio/");
    const bool interlaced = video && IsInterlaced(caps);
    gst_caps_unref(caps);
    std::lock_guard lock(self->m_examiningSinksMutex);
    // A pipeline started over brings its streams again, to the sinks that
    // took them before.
    GstElement* input = nullptr;
    for (const auto& [isVideo, head] : self->m_examiningInputs) {
        GstPad* headPad = gst_element_get_static_pad(head, "sink");
        if (isVideo == video && !gst_pad_is_linked(headPad))
            input = head;
        gst_object_unref(headPad);
        if (input != nullptr)
            break;
    }
    if (input == nullptr) {
        // A playbin deinterlaces what it shows, and the picture is the one
        // it would show.
        std::vector<GstElement*> chain;
        if (interlaced) {
            for (const char* factory : {"videoconvert", "deinterlace"})
                if (GstElement* element = gst_element_factory_make(factory, nullptr))
                    chain.push_back(element);
        }
        GstElement* sink = NullSink();
        chain.push_back(sink);
        for (std::size_t i = 0; i < chain.size(); ++i) {
            gst_bin_add(GST_BIN(self->m_pipeline), chain[i]);
            if (i > 0)
                gst_element_link(chain[i - 1], chain[i]);
        }
        for (auto element = chain.rbegin(); element != chain.rend(); ++element)
            gst_element_sync_state_with_parent(*element);
        input = chain.front();
        self->m_examiningInputs.emplace_back(video, input);
        GstElement*& kept = video ? self->m_examiningVideoSink : self->m_examiningAudioSink;
        if ((video || audio) && kept == nullptr)
            kept = sink;
    }
    GstPad* inputPad = gst_element_get_static_pad(input, "sink");
    gst_pad_link(pad, inputPad);
    gst_object_unref(inputPad);
}

Playbin::~Playbin()
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

void Playbin::SetSinks(GstElement* videoSink, GstElement* audioSink, GstElement* audioFilter)
{
    if (videoSink != nullptr)
        g_object_set(m_pipeline, "video-sink", videoSink, nullptr);
    if (audioSink != nullptr)
        g_object_set(m_pipeline, "audio-sink", audioSink, nullptr);
    if (audioFilter != nullptr)
        g_object_set(m_pipeline, "audio-filter", audioFilter, nullptr);
}

void Playbin::SetWindow(quintptr window)
{
    if (m_bus != nullptr)
        m_bus->window.store(window);
}

bool Playbin::Preroll(int milliseconds, const GiveUp& giveUp)
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

bool Playbin::WaitForPreroll(int milliseconds, const GiveUp& giveUp) const
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

bool Playbin::Seek(double position, double rate, double stop)
{
    if (!(rate > 0.0))
        return false;
    // A pipeline hands a seek to each of its sinks, and each copy reaches the
    // demuxer, which seeks again for every one (the MPEG program stream
    // demuxer does). An examining pipeline sends it up one stream only.
    GstElement* target = m_purpose == Purpose::Examining ? Sink("video-sink") : nullptr;
    if (target == nullptr && m_purpose == Purpose::Examining)
        target = Sink("audio-sink");
    if (target == nullptr)
        target = GST_ELEMENT(gst_object_ref(m_pipeline));
    const bool accepted = gst_element_seek(target, rate, GST_FORMAT_TIME,
                                           static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                           GST_SEEK_TYPE_SET, ToNanoseconds(m_origin + std::max(position, 0.0)),
                                           stop >= 0.0 ? GST_SEEK_TYPE_SET : GST_SEEK_TYPE_NONE,
                                           stop >= 0.0 ? ToNanoseconds(m_origin + stop) : GST_CLOCK_TIME_NONE);
    gst_object_unref(target);
    if (accepted)
        m_lastPosition = position;
    return accepted;
}

void Playbin::Settle(bool accepted, int milliseconds, const GiveUp& giveUp)
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
    ForgetPosition();
}

double Playbin::Position() const
{
    gint64 position = 0;
    // Right after a seek or at the end of the stream the pipeline may not
    // answer; the last known position stands meanwhile.
    if (gst_element_query_position(m_pipeline, GST_FORMAT_TIME, &position) && position >= 0)
        m_lastPosition = std::max(static_cast<double>(position) / GST_SECOND - m_origin, 0.0);
    return m_lastPosition;
}

double Playbin::Duration() const
{
    return m_measuredDuration ? *m_measuredDuration : QueryDuration(m_pipeline);
}

double Playbin::StreamStart() const
{
    return SegmentStart(m_pipeline);
}

bool Playbin::MeasureTimeline()
{
    const double estimatedEnd = SegmentStart(m_pipeline) + QueryDuration(m_pipeline);
    constexpr int kMeasureMilliseconds = 2000;
    // Running to the end takes longer the further the estimate falls short
    // and the busier the machine is; a measurement given up on would leave
    // the estimate, and the same file would get another length each time.
    constexpr int kRunToEndMilliseconds = 10000;
    // The first moment is what a seek to zero brings to the sinks; the last
    // is the end of what reaches them when the last second runs, flat out.
    const double origin = m_origin;
    m_origin = 0.0;
    if (!Seek(0.0, 1.0) || !WaitForPreroll(kMeasureMilliseconds)) {
        m_origin = origin;
        return false;
    }
    const std::optional<Span> first = RenderedSpan(m_pipeline);
    bool measured = false;
    // The last second may hold nothing a decoder can begin with (an MPEG
    // group of pictures that starts before it, and the demuxer seeks by its
    // clock, not by pictures): the run starts earlier and earlier until
    // every stream that showed at the first moment shows at the end too.
    for (double lead = 1.0; first && !measured; lead *= 2.0) {
        const double from = std::max(estimatedEnd - lead, first->begin);
        m_bus->ended.Reset();
        if (!Seek(from, 1.0))
            break;
        const bool decodingPictures = m_decodePictures;
        SetPictureDecoding(false);
        gst_element_set_state(m_pipeline, GST_STATE_PLAYING);
        const bool ended = m_bus->ended.WaitFor(std::chrono::milliseconds(kRunToEndMilliseconds));
        gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
        SetPictureDecoding(decodingPictures);
        const std::optional<Span> last = RenderedSpan(m_pipeline);
        if (ended && last && last->end > first->begin &&
            (last->sinks >= first->sinks || from <= first->begin)) {
            SetTimeline(first->begin, last->end - first->begin);
            measured = true;
        }
        if (!ended || from <= first->begin)
            break;
    }
    if (!measured)
        m_origin = origin;
    return measured;
}

void Playbin::SetPictureDecoding(bool on)
{
    m_decodePictures = on;
    ForEachElement(GST_BIN(m_pipeline), [on](GstElement* element) {
        if (IsLibavDecoder(element))
            SetIfItHas(element, "skip-frame", on ? 0 : kSkipPixels);
        return true;
    });
}

void Playbin::SetTimeline(double origin, double duration)
{
    m_origin = origin;
    m_measuredDuration = duration;
}

GstElement* Playbin::Sink(const char* sinkProperty) const
{
    GstElement* sink = nullptr;
    if (m_pipeline == nullptr)
        return nullptr;
    if (m_purpose == Purpose::Playing) {
        g_object_get(m_pipeline, sinkProperty, &sink, nullptr);
        return sink;
    }
    std::lock_guard lock(m_examiningSinksMutex);
    sink = std::strcmp(sinkProperty, "video-sink") == 0 ? m_examiningVideoSink : m_examiningAudioSink;
    return sink != nullptr ? GST_ELEMENT(gst_object_ref(sink)) : nullptr;
}

GstSample* Playbin::VideoSample() const
{
    GstSample* sample = nullptr;
    if (m_purpose == Purpose::Playing) {
        g_object_get(m_pipeline, "sample", &sample, nullptr);
    } else if (GstElement* sink = Sink("video-sink")) {
        sample = gst_base_sink_get_last_sample(GST_BASE_SINK(sink));
        gst_object_unref(sink);
    }
    return sample;
}

QSize Playbin::VideoSize() const
{
    QSize size;
    if (GstCaps* caps = SinkCaps(Sink("video-sink"))) {
        GstVideoInfo info;
        if (gst_video_info_from_caps(&info, caps))
            size = QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
        gst_caps_unref(caps);
    }
    return size;
}

bool Playbin::RendersAudio() const
{
    GstCaps* caps = SinkCaps(Sink("audio-sink"));
    if (caps != nullptr)
        gst_caps_unref(caps);
    return caps != nullptr;
}

int Playbin::StreamCount(const char* kind) const
{
    gint count = 0;
    g_object_get(m_pipeline, kind, &count, nullptr);
    return count;
}

QImage Playbin::CurrentFrame() const
{
    GstSample* sample = VideoSample();
    if (sample == nullptr)
        return {};
    QImage frame = FrameOfSample(sample);
    gst_sample_unref(sample);
    return frame;
}

bool Playbin::HasFrame() const
{
    GstSample* sample = VideoSample();
    if (sample != nullptr)
        gst_sample_unref(sample);
    return sample != nullptr;
}

}  // namespace kivo
