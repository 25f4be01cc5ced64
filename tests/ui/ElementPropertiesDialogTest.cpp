// The element properties dialog's editors reach the running element; which
// values an element takes is the elements' own test.

#include "ModalWindows.h"
#include "TestMedia.h"
#include "media/MediaEngine.h"
#include "ui/ElementPropertiesDialog.h"

#include <QtTest>
#include <QtWidgets>

#include <gtest/gtest.h>

namespace kivo {
namespace {

// An element of the engine's pipeline, released at the end of the test.
struct Element {
    Element(MediaEngine& engine, const char* name) : element(engine.FindFilterByName(name)) {}
    ~Element() { gst_object_unref(element); }
    template <typename Value>
    Value Get(const char* property) const
    {
        Value value{};
        g_object_get(element, property, &value, nullptr);
        return value;
    }
    GstElement* element;
};

TEST(ElementPropertiesDialog, EditorsFitTheTypesAndChangesReachTheRunningElement)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, test::Media("audio.wav")));
    engine.StartPlayback();
    const Element panorama(engine, "Stereo positioning");
    ElementPropertiesDialog panoramaDialog(panorama.element, "Stereo positioning");
    panoramaDialog.findChild<QDoubleSpinBox*>("panorama")->setValue(0.5);
    EXPECT_FLOAT_EQ(panorama.Get<gfloat>("panorama"), 0.5f);
    EXPECT_EQ(panoramaDialog.findChild<QComboBox*>("method")->currentText(), "simple");
    // An element inside a pipeline cannot be renamed.
    EXPECT_FALSE(panoramaDialog.findChild<QLineEdit*>("name")->isEnabled());

    const Element sink(engine, "Fake Sink");
    ElementPropertiesDialog sinkDialog(sink.element, "Fake Sink");
    auto* sync = sinkDialog.findChild<QCheckBox*>("sync");
    EXPECT_TRUE(sync->isChecked());
    sync->setChecked(false);
    EXPECT_FALSE(sink.Get<gboolean>("sync"));
    // Read-only values are shown, not offered for change.
    EXPECT_FALSE(sinkDialog.findChild<QWidget*>("last-sample")->isEnabled());
    // A 64-bit value is typed; one the element refuses gives its own back.
    auto* lateness = sinkDialog.findChild<QLineEdit*>("max-lateness");
    for (const char* typed : {"20000000", "-5", "many"}) {
        lateness->setText(typed);
        lateness->setModified(true);
        emit lateness->editingFinished();
        EXPECT_EQ(sink.Get<gint64>("max-lateness"), 20000000) << typed;
        EXPECT_EQ(lateness->text(), "20000000");
    }
}

TEST(ShowFilterProperties, SaysWhenTheElementIsGoneOrHasNothingToChange)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, test::Media("video.mpg")));
    QWidget owner;
    EXPECT_EQ(test::CloseMessageBox([&] { ShowFilterProperties(engine, "No Such Element", &owner); }).text,
              "Filter not found in the graph!");
    // The demuxer's only own setting can be changed only while it is stopped.
    EXPECT_EQ(test::CloseMessageBox([&] { ShowFilterProperties(engine, "MPEG Program Stream Demuxer", &owner); }).text,
              "MPEG Program Stream Demuxer のﾌﾟﾛﾊﾟﾃｨﾍﾟｰｼﾞは表示できません。");
    const auto shown = test::WhenShown<ElementPropertiesDialog>([&](ElementPropertiesDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Fake Sink");
        dialog->reject();
    });
    ShowFilterProperties(engine, "Fake Sink", &owner);
}

}  // namespace
}  // namespace kivo
