#include "media/ExaminingPipeline.h"

#include "cutlist/FileNames.h"
#include "media/Elements.h"
#include "media/GStreamer.h"
#include "media/TimelineMeasures.h"

#include <QScopeGuard>

#include <gst/base/gstbasesink.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace kivo {
namespace {

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

// The file straight into a decoding bin, which needs no URI; null when
// GStreamer lacks either.
GstElement* MakeDecodingPipeline(const QString& path)
{
    EnsureGStreamer();
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* decoder = gst_element_factory_make("decodebin", "decoder");
    if (source == nullptr || decoder == nullptr) {
        for (GstElement* made : {source, decoder})
            if (made != nullptr)
                gst_object_unref(gst_object_ref_sink(made));
        qCWarning(lcEngine) << "GStreamer has no filesrc or decodebin";
        return nullptr;
    }
    g_object_set(source, "location", FileNameBytes(path).constData(), nullptr);
    GstElement* pipeline = gst_pipeline_new(nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, decoder, nullptr);
    gst_element_link(source, decoder);
    return pipeline;
}

}  // namespace

ExaminingPipeline::ExaminingPipeline(const QString& path)
    : Pipeline(MakeDecodingPipeline(path), path, {})
{
    if (m_pipeline == nullptr) {
        m_hasGStreamer = false;
        return;
    }
    // One thread makes one examining pipeline after another: giving the
    // memory their threads freed back to the system each time costs more
    // than it saves.
    m_trimMemory = false;
    GstElement* decoder = gst_bin_get_by_name(GST_BIN(m_pipeline), "decoder");
    g_signal_connect(decoder, "pad-added", G_CALLBACK(OnDecodedPad), this);
    gst_object_unref(decoder);
    g_signal_connect(m_pipeline, "deep-element-added", G_CALLBACK(OnElementAdded), this);
}

void ExaminingPipeline::OnElementAdded(GstBin*, GstBin*, GstElement* element, gpointer data)
{
    if (!IsLibavDecoder(element))
        return;
    // Libav's decoders start a thread per core for each stream; an examining
    // pipeline is one of one per core already.
    SetIfItHas(element, "max-threads", 1);
    if (!static_cast<ExaminingPipeline*>(data)->m_decodePictures)
        SetIfItHas(element, "skip-frame", kSkipPixels);
}

void ExaminingPipeline::OnDecodedPad(GstElement*, GstPad* pad, gpointer data)
{
    auto* self = static_cast<ExaminingPipeline*>(data);
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr)
        caps = gst_pad_query_caps(pad, nullptr);
    const gchar* media = gst_caps_is_empty(caps) ? "" : gst_structure_get_name(gst_caps_get_structure(caps, 0));
    const bool video = g_str_has_prefix(media, "video/");
    const bool audio = g_str_has_prefix(media, "audio/");
    const bool interlaced = video && IsInterlaced(caps);
    gst_caps_unref(caps);
    std::lock_guard lock(self->m_sinksMutex);
    // A pipeline started over brings its streams again, to the sinks that
    // took them before.
    GstElement* input = nullptr;
    for (const auto& [isVideo, head] : self->m_inputs) {
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
        self->m_inputs.emplace_back(video, input);
        GstElement*& kept = video ? self->m_videoSink : self->m_audioSink;
        if ((video || audio) && kept == nullptr)
            kept = sink;
    }
    GstPad* inputPad = gst_element_get_static_pad(input, "sink");
    gst_pad_link(pad, inputPad);
    gst_object_unref(inputPad);
}

bool ExaminingPipeline::MeasureTimeline()
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
        // A part that holds no picture to begin with ends in the decoder's
        // error, as the seek prerolls or as the run goes: the pipeline is
        // still good for the next seek.
        m_bus->errorEndsRun = true;
        const auto errorsFailAgain = qScopeGuard([this] { m_bus->errorEndsRun = false; });
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

void ExaminingPipeline::SetPictureDecoding(bool on)
{
    m_decodePictures = on;
    ForEachElement(GST_BIN(m_pipeline), [on](GstElement* element) {
        if (IsLibavDecoder(element))
            SetIfItHas(element, "skip-frame", on ? 0 : kSkipPixels);
        return true;
    });
}

GstElement* ExaminingPipeline::Sink(StreamKind kind) const
{
    std::lock_guard lock(m_sinksMutex);
    GstElement* sink = kind == StreamKind::Video ? m_videoSink : m_audioSink;
    return sink != nullptr ? GST_ELEMENT(gst_object_ref(sink)) : nullptr;
}

GstSample* ExaminingPipeline::VideoSample() const
{
    GstElement* sink = Sink(StreamKind::Video);
    if (sink == nullptr)
        return nullptr;
    GstSample* sample = gst_base_sink_get_last_sample(GST_BASE_SINK(sink));
    gst_object_unref(sink);
    return sample;
}

GstElement* ExaminingPipeline::SeekTarget() const
{
    GstElement* target = Sink(StreamKind::Video);
    if (target == nullptr)
        target = Sink(StreamKind::Audio);
    return target != nullptr ? target : Pipeline::SeekTarget();
}

}  // namespace kivo
