#pragma once

#include <gst/gst.h>

#include <optional>

namespace kivo {

// What a pipeline tells of its timeline, in seconds, from which the
// medium's first moment and length are measured.

// The duration, 0.0 when unknown.
double QueryDuration(GstElement* pipeline);
// Where the pipeline's stream begins, in stream time: after zero when the
// demuxer keeps the medium's own clock values.
double SegmentStart(GstElement* pipeline);

// The stretch of stream time that the samples the pipeline's sinks
// rendered last cover together, and how many sinks hold one.
struct Span {
    double begin;
    double end;
    int sinks = 1;
};
// Nothing when no sink holds a sample. (A flushing seek empties every sink.)
std::optional<Span> RenderedSpan(GstElement* pipeline);

}  // namespace kivo
