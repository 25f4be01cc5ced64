#pragma once

#include "media/Pipeline.h"

namespace kivo {

// The player's pipeline over one file: a playbin whose sinks its owner
// chooses, drawing into the owner's window. Its owner hears the bus.
class PlayingPipeline : public Pipeline {
public:
    // IsValid is false when GStreamer has no playbin, or the name (whose
    // bytes name the file) makes no URI.
    PlayingPipeline(const QString& path, BusListener listener);

    // The sinks, and the filter every sound goes through; before Preroll.
    void SetSinks(GstElement* videoSink, GstElement* audioSink, GstElement* audioFilter = nullptr);
    // The native window a video sink draws into (0: its own or none).
    void SetWindow(quintptr window);
    int StreamCount(const char* kind) const;  // "n-video", "n-audio"

protected:
    GstElement* Sink(StreamKind kind) const override;
    GstSample* VideoSample() const override;
};

}  // namespace kivo
