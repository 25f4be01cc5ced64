#pragma once

#include <QImage>

#include <gst/gst.h>

namespace kivo {

// The picture of a video sample as RGB32; null when the sample holds none.
QImage FrameOfSample(GstSample* sample);

}  // namespace kivo
