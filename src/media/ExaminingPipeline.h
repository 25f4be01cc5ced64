#pragma once

#include "media/Pipeline.h"

#include <mutex>
#include <utility>
#include <vector>

namespace kivo {

// A pipeline that examines one file: a bare decoding bin whose every stream
// goes into a null sink of its own, the video through a deinterlacer when it
// is interlaced, with decoders on one thread each. The examination runs one
// pipeline per core already, and a playbin's sink bins and stream selection
// would cost more than the examination itself. One thread uses it.
class ExaminingPipeline : public Pipeline {
public:
    // IsValid is false when GStreamer has no filesrc or decodebin.
    explicit ExaminingPipeline(const QString& path);

    // Measures where the medium really begins and ends, by the samples a
    // seek to zero and a run of the last second bring to the sinks.
    // Positions count from the medium's first moment afterwards, and the
    // pipeline is left wherever the measuring took it. False when it could
    // not tell.
    bool MeasureTimeline();

    // Off, libav's video decoders read the pictures' times and kinds but
    // leave their pixels undone: the times, sizes and lengths stay right, the
    // pictures do not. On at first.
    void SetPictureDecoding(bool on);

protected:
    GstElement* Sink(StreamKind kind) const override;
    GstSample* VideoSample() const override;
    // A pipeline hands a seek to each of its sinks, and each copy reaches the
    // demuxer, which seeks again for every one (the MPEG program stream
    // demuxer does): the seek goes up one stream only.
    GstElement* SeekTarget() const override;

private:
    // A decoded stream has appeared on `pad` of the decoding bin (on a
    // streaming thread).
    static void OnDecodedPad(GstElement* decoder, GstPad* pad, gpointer self);
    // Sets up a decoder the pipeline has just made.
    static void OnElementAdded(GstBin* pipeline, GstBin* bin, GstElement* element, gpointer self);

    // The first video and audio sinks, set as their streams appear.
    mutable std::mutex m_sinksMutex;
    GstElement* m_videoSink = nullptr;
    GstElement* m_audioSink = nullptr;
    // The first element each stream went into, and whether it is video.
    std::vector<std::pair<bool, GstElement*>> m_inputs;
    // Read by the decoders' set-up on a streaming thread.
    std::atomic<bool> m_decodePictures = true;
};

}  // namespace kivo
