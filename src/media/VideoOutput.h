#pragma once

#include <QtGlobal>

#include <gst/gst.h>

namespace kivo {

// The player's video sink, kept from one pipeline to the next. A sink made
// anew for each object sets its window system up again (with glimagesink, a
// GL context and its threads): tens of milliseconds of every change of
// object. Used by one thread (the engine's worker).
class VideoOutput {
public:
    VideoOutput() = default;
    ~VideoOutput();
    VideoOutput(const VideoOutput&) = delete;
    VideoOutput& operator=(const VideoOutput&) = delete;

    // A video sink that draws into `window` (0: none, the frames go
    // nowhere), or the one KIVO_VIDEO_SINK describes: the kept one when no
    // pipeline holds it any more, else one made anew (a pipeline superseded
    // as it opened may still be coming down). Null when none can be made.
    GstElement* Take(quintptr window);

private:
    GstElement* m_sink = nullptr;  // a reference of its own
    bool m_drawsIntoWindow = false;
};

}  // namespace kivo
