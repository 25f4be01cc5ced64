#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <optional>

namespace kivo {

// What examining a medium found.
struct ProbeFindings {
    bool opened = false;  // it renders, with a picture or sound
    bool hasVideo = false;
    bool hasAudio = false;
    QSize videoSize;
    double duration = 0.0;  // seconds, from the medium's first moment
    QImage frame;           // near one second in; null without a picture
};

// Where a medium whose demuxer keeps the file's own clock values really
// begins in its stream time, and how long it lasts.
struct Timeline {
    double origin = 0.0;
    double duration = 0.0;
};

// Examines media files with pipelines of their own whose sinks show and
// sound nothing: whether a file renders, its streams, its duration and the
// picture near one second in. Any thread may examine, each with a probe of
// its own; an examination waits, within bounded times, for GStreamer.
class MediaProbe {
public:
    ProbeFindings Examine(const QString& path) const;
    // Has the examinations under way stop waiting for GStreamer and find
    // nothing: the program is ending.
    void GiveUp() { m_givingUp = true; }
    // The timeline of a medium whose demuxer only estimates it (MPEG
    // program streams); nothing when it could not be measured.
    static std::optional<Timeline> MeasureTimeline(const QString& path);

private:
    std::atomic<bool> m_givingUp = false;
};

}  // namespace kivo
