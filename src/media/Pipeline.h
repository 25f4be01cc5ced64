#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <gst/gst.h>

#include "media/ManualResetEvent.h"

#include <atomic>
#include <functional>
#include <optional>

namespace kivo {

// What a playing and an examining pipeline over one file share: the bus's
// handler, the waits for a preroll and for a seek to settle, seeking, and
// the questions about position, length, streams and picture. Times are
// seconds from the medium's first moment, which is where the pipeline's
// stream time begins for most media and later for those whose demuxer keeps
// the file's own clock values (MPEG program streams).
//
// Whatever changes a pipeline (its state, position or rate) is done by one
// thread at a time; the questions may be asked on another thread meanwhile,
// as GStreamer's queries, caps and last samples are read under its own
// locks. The bus's handler runs on GStreamer's streaming threads.
class Pipeline {
public:
    // Called on a streaming thread for every bus message that is not a
    // window handle request; it must only pass things on.
    using BusListener = std::function<void(GstMessage*)>;
    // Asked every few milliseconds while a wait goes on: true gives it up.
    using GiveUp = std::function<bool()>;

    virtual ~Pipeline();
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // What the bus's sync handler keeps, owned by the handler: it runs on
    // streaming threads and only answers window requests and passes
    // messages on.
    struct Bus {
        std::atomic<quintptr> window{0};
        // Set when the stream has ended or failed.
        ManualResetEvent ended;
        // Set when the stream has failed: a preroll then waits no longer.
        std::atomic<bool> failed{false};
        // Set while an error only ends a run and is no failure: a decoder
        // that finds nothing to begin with in a stream's last part says so
        // with an error.
        std::atomic<bool> errorEndsRun{false};
        BusListener listener;
        // The file, to name in the log.
        QString path;
    };

    // False when GStreamer lacks the elements, or the file's name makes no URI.
    bool IsValid() const { return m_pipeline != nullptr; }
    // Whether GStreamer could make the pipeline's elements at all.
    bool HasGStreamer() const { return m_hasGStreamer; }
    GstElement* Element() const { return m_pipeline; }

    // Brings the pipeline to PAUSED with its first frame, within the time,
    // unless it fails or `giveUp` holds first. A failure is logged.
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
    // The rate of the last seek accepted.
    double Rate() const { return m_rate; }

    double Duration() const;
    // Where the demuxer starts the stream, in the pipeline's stream time:
    // after zero when it keeps the file's own clock values, and its duration
    // is then only an estimate.
    double StreamStart() const;
    double Origin() const { return m_origin; }
    // Takes over what was measured of the medium's timeline: positions count
    // from `origin` afterwards.
    void SetTimeline(double origin, double duration);

    QSize VideoSize() const;
    bool RendersAudio() const;
    // The picture the video sink holds now; null without one.
    QImage CurrentFrame() const;
    bool HasFrame() const;

protected:
    // Takes `pipeline` (floating or not; null when it could not be made)
    // and hears its bus.
    Pipeline(GstElement* pipeline, const QString& path, BusListener listener);
    // Drops a pipeline that turned out unusable before it was used.
    void Abandon();

    enum class StreamKind { Video, Audio };
    // The sink that renders that kind of stream, as a new reference; null
    // when that kind of stream is not rendered.
    virtual GstElement* Sink(StreamKind kind) const = 0;
    virtual GstSample* VideoSample() const = 0;
    // Where a seek is sent, as a new reference.
    virtual GstElement* SeekTarget() const;

    GstElement* m_pipeline = nullptr;
    bool m_hasGStreamer = true;
    Bus* m_bus = nullptr;  // owned by the bus's handler
    double m_origin = 0.0;
    // Gives the memory the pipeline's threads freed back to the system as
    // the pipeline ends.
    bool m_trimMemory = true;

private:
    std::optional<double> m_measuredDuration;
    double m_rate = 1.0;
    // Written by a seek on one thread and a position query on another.
    mutable std::atomic<double> m_lastPosition = 0.0;
};

}  // namespace kivo
