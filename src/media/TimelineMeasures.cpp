#include "media/TimelineMeasures.h"

#include "media/Elements.h"

#include <gst/base/gstbasesink.h>

#include <algorithm>

namespace kivo {

double QueryDuration(GstElement* pipeline)
{
    gint64 duration = 0;
    return gst_element_query_duration(pipeline, GST_FORMAT_TIME, &duration) && duration > 0
               ? static_cast<double>(duration) / GST_SECOND
               : 0.0;
}

double SegmentStart(GstElement* pipeline)
{
    gint64 start = 0;
    GstQuery* query = gst_query_new_segment(GST_FORMAT_TIME);
    if (gst_element_query(pipeline, query))
        gst_query_parse_segment(query, nullptr, nullptr, &start, nullptr);
    gst_query_unref(query);
    return start > 0 ? static_cast<double>(start) / GST_SECOND : 0.0;
}

std::optional<Span> RenderedSpan(GstElement* pipeline)
{
    std::optional<Span> span;
    ForEachElement(GST_BIN(pipeline), [&span](GstElement* element) {
        GstSample* sample = GST_IS_BASE_SINK(element) ? gst_base_sink_get_last_sample(GST_BASE_SINK(element)) : nullptr;
        if (sample == nullptr)
            return true;
        const GstBuffer* buffer = gst_sample_get_buffer(sample);
        const GstSegment* segment = gst_sample_get_segment(sample);
        if (buffer != nullptr && segment != nullptr && GST_BUFFER_PTS_IS_VALID(buffer)) {
            const GstClockTime pts = GST_BUFFER_PTS(buffer);
            const GstClockTime length = GST_BUFFER_DURATION_IS_VALID(buffer) ? GST_BUFFER_DURATION(buffer) : 0;
            const guint64 begin = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, pts);
            const guint64 end = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, pts + length);
            if (begin != GST_CLOCK_TIME_NONE && end != GST_CLOCK_TIME_NONE) {
                const Span rendered{static_cast<double>(begin) / GST_SECOND, static_cast<double>(end) / GST_SECOND};
                span = span ? Span{std::min(span->begin, rendered.begin), std::max(span->end, rendered.end),
                                   span->sinks + 1}
                            : rendered;
            }
        }
        gst_sample_unref(sample);
        return true;
    });
    return span;
}

}  // namespace kivo
