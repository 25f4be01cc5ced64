#include "TestMedia.h"
#include "media/Elements.h"
#include "media/MediaEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kivo {
namespace {

using test::Media;

TEST(Elements, AnMpegPipelineListsItsDemuxerAndDecodersButNotTheFileSourceAndRefusesValuesOutOfRange)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, Media("video.mpg")));
    const QStringList filters = engine.ListFilters();
    const auto listed = [&](const char* part) {
        return std::any_of(filters.begin(), filters.end(), [&](const QString& name) { return name.contains(part); });
    };
    EXPECT_TRUE(listed("MPEG Program Stream Demuxer") && listed("decoder") && !filters.contains("File Source"))
        << filters.join(", ").toStdString();

    GstElement* source = engine.FindFilterByName("File Source");
    ASSERT_NE(source, nullptr);  // in the pipeline, but not listed: it has no sink pad
    gst_object_unref(source);
    // A value out of its range is refused, not corrected (the editors are PropertySheetTest's).
    GstElement* panorama = engine.FindFilterByName("Stereo positioning");
    ASSERT_NE(panorama, nullptr);
    EXPECT_FALSE(SetElementProperty(panorama, "panorama", 3.0));
    gst_object_unref(panorama);
}

}  // namespace
}  // namespace kivo
