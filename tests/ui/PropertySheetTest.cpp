// The property sheet's pages, and the element properties dialog its filter
// list opens, whose editors reach the running element (which values an
// element takes is the elements' own test).

#include "ModalWindows.h"
#include "TestMedia.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ShownText.h"
#include "media/MediaEngine.h"
#include "ui/ElementPropertiesDialog.h"
#include "ui/PropertySheet.h"

#include <vector>

namespace kivo {
namespace {

// What the page asked for: 10 balance, 11 volume, 13 speed.
using Sent = std::vector<std::pair<int, int>>;

ObjectProperties MediaPage(const QString& name, const QString& folder, const QString& comment)
{
    ObjectProperties properties;
    properties.item = 0;
    properties.pages = {PropertyPage::Media};
    properties.media = {name, folder, "MPG ﾌｧｲﾙ", "2分 03秒 45", "1,024KB (1,048,576 ﾊﾞｲﾄ)",
                        "1999年 03月 05日 金曜日 14:03:07", comment, QImage()};
    return properties;
}

TEST(PlaybackPage, LevelsGoToTheMainWindowAtOnceOnlyWhenChangedAndTheSpeedOnceADragEnds)
{
    Sent sent;
    const auto record = [&sent](int code) { return [&sent, code](int value) { sent.emplace_back(code, value); }; };
    // A main window that takes every speed but 250.
    const LevelControls controls{record(10), record(11), [&](int speed) {
                                     sent.emplace_back(13, speed);
                                     return speed != 250;
                                 }};
    PlaybackPage page(PlaybackOptions{}, {-693, 693, false, true, 1.0}, controls);
    const auto slider = [&page](const char* name) { return page.findChild<QSlider*>(name); };
    EXPECT_EQ(std::pair(slider("volume")->value(), slider("balance")->value()), std::pair(-51, 51));
    slider("volume")->setValue(-30);
    slider("balance")->setValue(-20);
    slider("volume")->setValue(-30);
    EXPECT_EQ(sent, (Sent{{11, 30}, {10, -20}}));

    sent.clear();
    QSlider* speed = slider("speed");
    speed->setSliderDown(true);
    for (int position : {120, 180, 250})
        speed->setSliderPosition(position);
    EXPECT_EQ(page.findChild<QLineEdit*>("speedReadout")->text(), "2.5");
    EXPECT_TRUE(sent.empty());
    speed->setSliderDown(false);
    EXPECT_EQ(sent, (Sent{{13, 250}}));  // and neither volume nor balance
    // Refused, the request stays shown; the icon itself goes back to normal speed.
    EXPECT_EQ(std::pair(page.ShownSpeedIcon(), page.Speed()), std::pair(SpeedIcon::Refused, 2.5));
    page.findChild<QToolButton*>("speedIcon")->click();
    EXPECT_EQ(std::pair(sent.back(), page.ShownSpeedIcon()), std::pair(std::pair(13, 100), SpeedIcon::Normal));

    // With the sound off both levels rest at 0, disabled.
    PlaybackPage silent(PlaybackOptions{}, {-693, 693, true, true, 1.0}, controls);
    EXPECT_TRUE(!silent.findChild<QSlider*>("volume")->isEnabled() && silent.findChild<QSlider*>("balance")->value() == 0);
}

TEST(PropertySheet, AMediaPageShowsWhatItHoldsWholeAndCutsNamesOfMegabytesPagesComeInTheirOrderAndASpeedOutOfRangeKeepsThePlaybackPage)
{
    MediaEngine engine;
    PropertySheet whole(MediaPage("/home/user/Videos/holiday/beach.mpg", "/home/user/Videos/holiday", {}), engine, {});
    whole.show();
    for (const auto* text : whole.Tabs()->currentWidget()->findChildren<QLabel*>())
        EXPECT_GE(text->width(), text->sizeHint().width()) << text->text().toStdString();
    const QString deepFolder = u'/' + QStringList(15, QString(255, u'd')).join(u'/');
    PropertySheet huge(MediaPage(QString(4 << 20, u'n'), deepFolder + "/holiday", QString(3 << 20, u'm')), engine, {});
    huge.show();
    for (const auto* text : huge.Tabs()->currentWidget()->findChildren<QLabel*>())
        EXPECT_TRUE(text->text().size() <= kMaxShownChars && text->toolTip().size() <= kMaxShownChars);
    const auto* location = huge.findChild<QLabel*>("location");
    EXPECT_TRUE(location->text().endsWith("/holiday"));
    EXPECT_EQ(location->toolTip(), location->text());

    // The player page lists the filters by name.
    ObjectProperties properties = MediaPage({}, {}, {});
    properties.pages = {PropertyPage::Media, PropertyPage::Player, PropertyPage::Playback};
    properties.active = PropertyPage::Playback;
    properties.levels = {0, 0, false, true, 8.0};
    properties.player.filters = {"WAV audio demuxer", "libav MPEG-1 video decoder", "Fake Sink", "Stereo positioning"};
    PropertySheet sheet(properties, engine, {});
    sheet.show();
    ASSERT_EQ(sheet.Tabs()->count(), 3);
    EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.Playback());
    const auto* filters = sheet.findChild<QListWidget*>("filters");
    QStringList shown;
    for (int row = 0; row < filters->count(); ++row)
        shown.append(filters->item(row)->text());
    // Whatever the letter case.
    EXPECT_EQ(shown, QStringList({"Fake Sink", "libav MPEG-1 video decoder", "Stereo positioning", "WAV audio demuxer"}));
    EXPECT_EQ(filters->currentRow(), 0);

    EXPECT_EQ(test::CloseMessageBox([&] { sheet.accept(); }).text, "速度には 0.01 から 4 までの数値を指定してください。");
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(test::CloseMessageBox([&] { sheet.Tabs()->setCurrentIndex(0); }).icon, QMessageBox::Warning);
    EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.Playback());
    sheet.Playback()->findChild<QSlider*>("speed")->setValue(399);
    sheet.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);
}

TEST(ShowProperties, OkHandsTheSwitchesBackAndCancelLeavesThem)
{
    CutListModel list;
    CMediaInfoCache cache;
    MediaEngine engine;
    list.AddObject(test::Record("/m/video.mpg"), QImage(), false);
    list.SetCurrent(0);
    int layouts = 0;
    // The video is laid out once, when the stretch is back and before the
    // window may be sized to it.
    const auto layout = [&] {
        ++layouts;
        EXPECT_TRUE(engine.Options().stretch && !engine.Options().autoSize);
    };
    for (const bool ok : {false, true}) {
        const auto shown = test::WhenShown<PropertySheet>([ok](PropertySheet* sheet) {
            for (const char* option : {"stretch", "autoSize"})
                sheet->findChild<QCheckBox*>(option)->setChecked(true);
            ok ? sheet->accept() : sheet->reject();
        });
        ShowProperties({list, cache, engine, -1, true, {}, layout}, nullptr);
        EXPECT_EQ(engine.Options().stretch && engine.Options().autoSize, ok);
        EXPECT_EQ(layouts, ok ? 1 : 0);
    }
}

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

TEST(ElementPropertiesDialog, EditorsFitTheTypesChangesReachTheRunningElementAndTheFilterListSaysWhenItCannotOpenOne)
{
    MediaEngine engine;
    ASSERT_TRUE(OpenAndWait(engine, test::Media("video.mpg")));
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
