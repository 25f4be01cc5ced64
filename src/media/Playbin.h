#pragma once

#include <QImage>
#include <QLoggingCategory>
#include <QSize>
#include <QString>

#include <gst/gst.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace kivo {

// Why a medium could not be played or examined, and GStreamer's own words:
// a pipeline that cannot be made or prerolled and an error on its bus are
// warnings, each logged once, where it happens; GStreamer's warnings and the
// engine's tracing are debug.
Q_DECLARE_LOGGING_CATEGORY(lcEngine)

// Initialises GStreamer once for the program.
void EnsureGStreamer();

// An element (or a bin of elements) from a pipeline description such as
// "fakesink sync=true": the environment variable's if it is set, else the
// fallback's; null when neither makes one.
GstElement* ElementFromDescription(const char* variable, const char* fallback);
// A sink that takes everything at once and shows nothing.
GstElement* NullSink();
// A sound output with a volume element of its own in front (see Playbin.cpp).
GstElement* WithOwnVolume(GstElement* sink);

// One pipeline over one file: built, prerolled, sought, measured and
// pictured. For playing it is a playbin whose sinks its owner chooses; for
// examining, a bare decoding pipeline (see Purpose). Its owner hears the bus. Times are seconds
// from the medium's first moment, which is where the pipeline's stream time
// begins for most media and later for those whose demuxer keeps the file's
// own clock values (MPEG program streams); MeasureTimeline finds it.
//
// A Playbin belongs to one thread at a time, apart from Settle, which may run
// on another thread beside Position, Seek and the state queries; its bus
// handler runs on GStreamer's streaming threads.
class Playbin {
public:
    // Called on a streaming thread for every bus message that is not a
    // window handle request; it must only pass things on.
    using BusListener = std::function<void(GstMessage*)>;

    // What the pipeline is for. An examining pipeline decodes every stream
    // into a null sink of its own, the video through a deinterlacer when it
    // is interlaced, and decoders work on one thread each: the examination
    // runs one pipeline per core already, and a playbin's sink bins and
    // stream selection cost more than the examination itself.
    enum class Purpose { Playing, Examining };

    // Makes the pipeline for `path` (whose bytes name the file). IsValid is
    // false when GStreamer lacks the elements, or when playing, the name
    // makes no URI.
    explicit Playbin(const QString& path, BusListener listener = {}, Purpose purpose = Purpose::Playing);
    ~Playbin();
    Playbin(const Playbin&) = delete;
    Playbin& operator=(const Playbin&) = delete;

    // What the bus's handler keeps, apart from the Playbin it serves.
    struct Bus;

    bool IsValid() const { return m_pipeline != nullptr; }
    // Whether GStreamer could make a playbin at all.
    bool HasGStreamer() const { return m_hasGStreamer; }
    GstElement* Element() const { return m_pipeline; }

    // The sinks, and the filter every sound goes through; before Preroll
    // of a playing pipeline.
    void SetSinks(GstElement* videoSink, GstElement* audioSink, GstElement* audioFilter = nullptr);
    // The native window a video sink draws into (0: its own or none).
    void SetWindow(quintptr window);
    // Leaves the memory the pipeline's threads freed to the C library when
    // it ends, for a thread that makes one pipeline after another: giving
    // it back to the system each time costs more than it saves.
    void KeepFreedMemory() { m_trimMemory = false; }

    // Brings the pipeline to PAUSED with its first frame, within the time,
    // unless it fails or `giveUp` holds first (asked every few milliseconds).
    // A failure is logged.
    using GiveUp = std::function<bool()>;
    bool Preroll(int milliseconds, const GiveUp& giveUp = {});
    bool WaitForPreroll(int milliseconds, const GiveUp& giveUp = {}) const;
    // A flushing, accurate seek to `position` at `rate` (to `stop`, from 0,
    // when not negative).
    bool Seek(double position, double rate, double stop = -1.0);
    // Waits, within the time, for a seek in the paused pipeline to show its
    // frame; a refused seek that left no frame puts the pipeline back at its
    // first frame (some demuxers cannot seek in some files).
    void Settle(bool accepted, int milliseconds, const GiveUp& giveUp = {});
    // The position, or the last one known while the pipeline cannot say.
    double Position() const;
    // The position the pipeline lands at after a refused seek.
    void ForgetPosition() { m_lastPosition = 0.0; }

    double Duration() const;
    // Where the demuxer starts the stream, in the pipeline's stream time:
    // after zero when it keeps the file's own clock values, and its duration
    // is then only an estimate.
    double StreamStart() const;
    // Measures where the medium really begins and ends, by the samples a
    // seek to zero and a run of the last second bring to the sinks (which
    // must take samples at once: null sinks). Positions count from the
    // medium's first moment afterwards, and the pipeline is left wherever
    // the measuring took it. False when it could not tell.
    bool MeasureTimeline();
    double Origin() const { return m_origin; }
    // Takes over what another pipeline over the same file measured.
    void SetTimeline(double origin, double duration);

    // Off, libav's video decoders read the pictures' times and kinds but
    // leave their pixels undone: the times, sizes and lengths stay right, the
    // pictures do not. On at first.
    void SetPictureDecoding(bool on);

    QSize VideoSize() const;
    bool RendersAudio() const;
    int StreamCount(const char* kind) const;  // "n-video", "n-audio"
    // The picture the video sink holds now; null without one.
    QImage CurrentFrame() const;
    bool HasFrame() const;

private:
    // An examining pipeline's decoded stream has appeared on `pad` of its
    // decoding bin (on a streaming thread).
    static void OnDecodedPad(GstElement* decoder, GstPad* pad, gpointer self);
    // The sink of "video-sink" or "audio-sink", as a new reference; null
    // when that kind of stream is not rendered.
    GstElement* Sink(const char* sinkProperty) const;
    GstSample* VideoSample() const;
    // Sets up a decoder an examining pipeline has just made.
    static void OnElementAdded(GstBin* pipeline, GstBin* bin, GstElement* element, gpointer self);

    GstElement* m_pipeline = nullptr;
    Purpose m_purpose;
    // An examining pipeline's first video and audio sinks, set as its
    // streams appear.
    mutable std::mutex m_examiningSinksMutex;
    GstElement* m_examiningVideoSink = nullptr;
    GstElement* m_examiningAudioSink = nullptr;
    // The first element each stream went into, and whether it is video.
    std::vector<std::pair<bool, GstElement*>> m_examiningInputs;
    bool m_hasGStreamer = true;
    Bus* m_bus = nullptr;  // owned by the bus's handler
    double m_origin = 0.0;
    std::optional<double> m_measuredDuration;
    // Written by a settling seek on the engine's worker too.
    mutable std::atomic<double> m_lastPosition = 0.0;
    bool m_trimMemory = true;
    // Read by the decoders' set-up on a streaming thread.
    std::atomic<bool> m_decodePictures = true;
};

}  // namespace kivo
