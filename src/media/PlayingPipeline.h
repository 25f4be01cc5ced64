#pragma once

#include "media/MediaTracks.h"
#include "media/Pipeline.h"

#include <functional>

namespace kivo {

// The player's pipeline over one file: a playbin whose sinks its owner
// chooses, drawing into the owner's window, with the subtitle file beside
// the file. Its owner hears the bus.
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

    // Has `changed` called, on a streaming thread, whenever the audio or
    // subtitle streams change; it must only pass that on.
    void WhenStreamsChange(std::function<void()> changed);
    // The audio and subtitle streams, and those shown.
    MediaTracks Tracks() const;
    // Shows `choice`'s subtitles or none, and, with `switchStreams`, plays
    // its audio and subtitle streams; true when it switched streams.
    bool Choose(const MediaTracks& choice, bool switchStreams);

protected:
    GstElement* Sink(StreamKind kind) const override;
    GstSample* VideoSample() const override;
};

}  // namespace kivo
