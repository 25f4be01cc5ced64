#include "media/FrameConversion.h"

#include <gst/video/video.h>

namespace kivo {

// GStreamer's video converter converts the pixels in place (convert-sample
// would run a pipeline of its own for it).
QImage FrameOfSample(GstSample* sample)
{
    GstVideoInfo in;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (buffer == nullptr || !gst_video_info_from_caps(&in, gst_sample_get_caps(sample)))
        return {};
    const int width = GST_VIDEO_INFO_WIDTH(&in);
    const int height = GST_VIDEO_INFO_HEIGHT(&in);
    if (width <= 0 || height <= 0)
        return {};
    QImage frame(width, height, QImage::Format_RGB32);
    if (frame.isNull())
        return {};
    GstVideoInfo out;
    // QImage's RGB32 is the 32-bit value 0xffRRGGBB in the machine's byte order.
    constexpr GstVideoFormat rgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? GST_VIDEO_FORMAT_BGRx : GST_VIDEO_FORMAT_xRGB;
    gst_video_info_set_format(&out, rgb32, static_cast<guint>(width), static_cast<guint>(height));
    // The converter changes the pixels only, not the timing or the shape.
    GST_VIDEO_INFO_FPS_N(&out) = GST_VIDEO_INFO_FPS_N(&in);
    GST_VIDEO_INFO_FPS_D(&out) = GST_VIDEO_INFO_FPS_D(&in);
    GST_VIDEO_INFO_PAR_N(&out) = GST_VIDEO_INFO_PAR_N(&in);
    GST_VIDEO_INFO_PAR_D(&out) = GST_VIDEO_INFO_PAR_D(&in);
    GST_VIDEO_INFO_INTERLACE_MODE(&out) = GST_VIDEO_INFO_INTERLACE_MODE(&in);
    GST_VIDEO_INFO_PLANE_STRIDE(&out, 0) = static_cast<gint>(frame.bytesPerLine());
    GST_VIDEO_INFO_SIZE(&out) = static_cast<gsize>(frame.sizeInBytes());
    GstVideoFrame source;
    if (!gst_video_frame_map(&source, &in, buffer, GST_MAP_READ))
        return {};
    GstBuffer* target = gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_NO_SHARE, frame.bits(), frame.sizeInBytes(), 0,
                                                     frame.sizeInBytes(), nullptr, nullptr);
    GstVideoFrame destination;
    bool converted = false;
    if (gst_video_frame_map(&destination, &out, target, GST_MAP_WRITE)) {
        if (GstVideoConverter* converter = gst_video_converter_new(&in, &out, nullptr)) {
            gst_video_converter_frame(converter, &source, &destination);
            gst_video_converter_free(converter);
            converted = true;
        }
        gst_video_frame_unmap(&destination);
    }
    gst_buffer_unref(target);
    gst_video_frame_unmap(&source);
    if (!converted)
        return {};
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] |= 0xFF000000u;
    }
    return frame;
}

}  // namespace kivo
