#include "ModalWindows.h"
#include "TestMedia.h"
#include "media/MediaEngine.h"
#include "ui/ElementPropertiesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Media;

// An element of the engine's pipeline, released at the end of the test.
struct Element {
    Element(MediaEngine& engine, const char* name) : element(engine.FindFilterByName(name)) {}
    ~Element()
    {
        if (element != nullptr)
            gst_object_unref(element);
    }
    GstElement* element;
};

TEST(ElementPropertiesDialog, EditorsFitTheTypesAndChangesReachTheRunningElement)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, Media("audio.wav")));
    engine.StartPlayback();

    const Element panorama(engine, "Stereo positioning");
    ASSERT_NE(panorama.element, nullptr);
    ElementPropertiesDialog panoramaDialog(panorama.element, "Stereo positioning");
    auto* pan = panoramaDialog.findChild<QDoubleSpinBox*>("panorama");
    ASSERT_NE(pan, nullptr);
    EXPECT_DOUBLE_EQ(pan->minimum(), -1.0);
    EXPECT_DOUBLE_EQ(pan->maximum(), 1.0);
    pan->setValue(0.5);
    gfloat value = 0;
    g_object_get(panorama.element, "panorama", &value, nullptr);
    EXPECT_FLOAT_EQ(value, 0.5f);
    auto* method = panoramaDialog.findChild<QComboBox*>("method");
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(method->currentText(), "simple");
    // An element inside a pipeline cannot be renamed.
    EXPECT_FALSE(panoramaDialog.findChild<QLineEdit*>("name")->isEnabled());

    const Element sink(engine, "Fake Sink");
    ASSERT_NE(sink.element, nullptr);
    ElementPropertiesDialog sinkDialog(sink.element, "Fake Sink");
    auto* sync = sinkDialog.findChild<QCheckBox*>("sync");
    ASSERT_NE(sync, nullptr);
    EXPECT_TRUE(sync->isChecked());
    sync->setChecked(false);
    gboolean syncing = TRUE;
    g_object_get(sink.element, "sync", &syncing, nullptr);
    EXPECT_FALSE(syncing);
    // Read-only values are shown, not offered for change.
    EXPECT_FALSE(sinkDialog.findChild<QWidget*>("last-sample")->isEnabled());

    // A 64-bit value is typed; one below its range is refused and the
    // element's own value comes back.
    auto* lateness = sinkDialog.findChild<QLineEdit*>("max-lateness");
    ASSERT_NE(lateness, nullptr);
    const auto enter = [lateness](const char* text) {
        lateness->setText(text);
        lateness->setModified(true);
        emit lateness->editingFinished();
    };
    enter("20000000");
    gint64 nanoseconds = 0;
    g_object_get(sink.element, "max-lateness", &nanoseconds, nullptr);
    EXPECT_EQ(nanoseconds, 20000000);
    enter("-5");
    g_object_get(sink.element, "max-lateness", &nanoseconds, nullptr);
    EXPECT_EQ(nanoseconds, 20000000);
    EXPECT_EQ(lateness->text(), "20000000");
    enter("many");
    EXPECT_EQ(lateness->text(), "20000000");
}

TEST(ShowFilterProperties, SaysWhenTheElementIsGoneOrHasNothingToChange)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, Media("video.mpg")));
    QWidget owner;

    test::ShownBox box = test::CloseMessageBox([&] { ShowFilterProperties(engine, "No Such Element", &owner); });
    EXPECT_EQ(box.title, "Kivo231");
    EXPECT_EQ(box.text, "Filter not found in the graph!");
    EXPECT_EQ(box.icon, QMessageBox::Critical);

    // The demuxer's only own setting can be changed only while it is stopped.
    box = test::CloseMessageBox([&] { ShowFilterProperties(engine, "MPEG Program Stream Demuxer", &owner); });
    EXPECT_EQ(box.title, "MPEG Program Stream Demuxer");
    EXPECT_EQ(box.text, "MPEG Program Stream Demuxer のﾌﾟﾛﾊﾟﾃｨﾍﾟｰｼﾞは表示できません。");
    EXPECT_EQ(box.icon, QMessageBox::Warning);

    QString shownTitle;
    const auto shown = test::WhenShown<ElementPropertiesDialog>([&](ElementPropertiesDialog* dialog) {
        shownTitle = dialog->windowTitle();
        dialog->reject();
    });
    ShowFilterProperties(engine, "Fake Sink", &owner);
    EXPECT_EQ(shownTitle, "Fake Sink");
}

}  // namespace
}  // namespace kivo
