#pragma once

#include <QLoggingCategory>

#include <gst/gst.h>

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
// A sound output with a volume element of its own in front (see GStreamer.cpp).
GstElement* WithOwnVolume(GstElement* sink);

}  // namespace kivo
