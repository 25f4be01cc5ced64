#include "TestMedia.h"
#include "media/Elements.h"
#include "media/MediaEngine.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// How the properties are described shows in the dialog's editors
// (ElementPropertiesDialogTest).
TEST(Elements, ThePipelineListsItsFiltersButNotTheFileSourceAndChangesStayInRange)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, test::Media("video.mpg")));
    const QStringList filters = engine.ListFilters();
    EXPECT_TRUE(filters.contains("MPEG Program Stream Demuxer")) << filters.join(", ").toStdString();
    EXPECT_FALSE(filters.contains("File Source"));
    GstElement* source = engine.FindFilterByName("File Source");
    ASSERT_NE(source, nullptr);  // in the pipeline, but not listed: it has no sink pad
    gst_object_unref(source);
    EXPECT_EQ(engine.FindFilterByName("No Such Element"), nullptr);

    GstElement* panorama = engine.FindFilterByName("Stereo positioning");
    ASSERT_NE(panorama, nullptr);
    EXPECT_TRUE(SetElementProperty(panorama, "panorama", 0.25));
    EXPECT_FALSE(SetElementProperty(panorama, "panorama", 3.0));
    EXPECT_FALSE(SetElementProperty(panorama, "no-such-property", 1));
    gfloat value = 0;
    g_object_get(panorama, "panorama", &value, nullptr);
    EXPECT_FLOAT_EQ(value, 0.25f);
    gst_object_unref(panorama);
}

}  // namespace
}  // namespace kivo
