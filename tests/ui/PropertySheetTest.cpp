#include "ModalWindows.h"
#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ShownText.h"
#include "media/MediaEngine.h"
#include "ui/PropertySheet.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace kivo {
namespace {

// What the page asked for: 10 balance, 11 volume, 13 speed.
using Sent = std::vector<std::pair<int, int>>;

const PlaybackLevels kPlaying{-693, 693, false, true, 1.0};

ObjectProperties PlaybackInFront(const PlaybackLevels& levels)
{
    ObjectProperties properties;
    properties.item = 0;
    properties.pages = {PropertyPage::Media, PropertyPage::Player, PropertyPage::Playback};
    properties.active = PropertyPage::Playback;
    properties.levels = levels;
    return properties;
}

class PlaybackPageTest : public ::testing::Test {
protected:
    // The page on a main window that takes every speed but 250.
    PlaybackPage* Page(const PlaybackLevels& levels)
    {
        const auto record = [this](int code) { return [this, code](int value) { m_sent.emplace_back(code, value); }; };
        m_page = std::make_unique<PlaybackPage>(PlaybackOptions{}, levels,
                                                LevelControls{record(10), record(11), [this](int speed) {
                                                                  m_sent.emplace_back(13, speed);
                                                                  return speed != 250;
                                                              }});
        return m_page.get();
    }
    QSlider* Slider(const char* name) { return m_page->findChild<QSlider*>(name); }
    QString Readout() { return m_page->findChild<QLineEdit*>("speedReadout")->text(); }

    std::unique_ptr<PlaybackPage> m_page;
    Sent m_sent;
};

TEST_F(PlaybackPageTest, VolumeAndBalanceGoToTheMainWindowAtOnceAndOnlyWhenChanged)
{
    Page(kPlaying);
    EXPECT_EQ(Slider("volume")->value(), -51);
    EXPECT_EQ(Slider("balance")->value(), 51);
    // Moving the speed alone sends neither volume nor balance.
    Slider("speed")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_sent, (Sent{{13, 101}}));
    m_sent.clear();
    Slider("volume")->setValue(-30);
    Slider("balance")->setValue(-20);
    Slider("volume")->setValue(-30);
    EXPECT_EQ(m_sent, (Sent{{11, 30}, {10, -20}}));

    // With the sound off both rest at 0, disabled.
    m_sent.clear();
    Page({-693, 693, true, true, 1.0});
    EXPECT_FALSE(Slider("volume")->isEnabled());
    EXPECT_EQ(Slider("volume")->value(), 0);
    EXPECT_EQ(Slider("balance")->value(), 0);
    Slider("speed")->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(m_sent, (Sent{{13, 99}}));
}

TEST_F(PlaybackPageTest, TheSpeedIsAskedForOnceWhenADragEndsAndTheIconTellsTheAnswer)
{
    PlaybackPage* page = Page(kPlaying);
    QSlider* speed = Slider("speed");
    speed->setSliderDown(true);
    for (int position : {120, 180, 250})
        speed->setSliderPosition(position);
    EXPECT_EQ(Readout(), "2.5");
    EXPECT_TRUE(m_sent.empty());
    speed->setSliderDown(false);
    EXPECT_EQ(m_sent, (Sent{{13, 250}}));
    EXPECT_EQ(page->ShownSpeedIcon(), SpeedIcon::Refused);
    EXPECT_DOUBLE_EQ(page->Speed(), 2.5);  // the request stays shown

    // The icon itself goes back to normal speed.
    m_sent.clear();
    page->findChild<QToolButton*>("speedIcon")->click();
    EXPECT_EQ(m_sent, (Sent{{13, 100}}));
    EXPECT_EQ(speed->value(), 100);
    EXPECT_EQ(Readout(), "1");
    EXPECT_EQ(page->ShownSpeedIcon(), SpeedIcon::Normal);
}

TEST(PropertySheet, PagesInTheirOrderWithTheFiltersSortedByName)
{
    MediaEngine engine;
    ObjectProperties properties = PlaybackInFront(kPlaying);
    properties.player.filters = {"WAV audio demuxer", "libav MPEG-1 video decoder", "Fake Sink", "Stereo positioning"};
    PropertySheet sheet(properties, engine, {});
    ASSERT_EQ(sheet.Tabs()->count(), 3);
    EXPECT_EQ(sheet.Tabs()->widget(2), sheet.Playback());
    EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.Playback());
    const auto* filters = sheet.findChild<QListWidget*>("filters");
    ASSERT_EQ(filters->count(), 4);
    EXPECT_EQ(filters->item(0)->text(), "Fake Sink");
    EXPECT_EQ(filters->item(1)->text(), "libav MPEG-1 video decoder");  // whatever the letter case
    EXPECT_EQ(filters->item(3)->text(), "WAV audio demuxer");
    EXPECT_EQ(filters->currentRow(), 0);
}

TEST(PropertySheet, AMediaPageAloneIsWideEnoughForWhatItShows)
{
    MediaEngine engine;
    ObjectProperties properties;
    properties.item = 0;
    properties.pages = {PropertyPage::Media};
    properties.media = {"/home/user/Videos/holiday/beach.mpg", "/home/user/Videos/holiday/beach.mpg", "MPG ﾌｧｲﾙ",
                        "2分 03秒 45", "1,024KB (1,048,576 ﾊﾞｲﾄ)", "1999年 03月 05日 金曜日 14:03:07", QString(),
                        QImage()};
    PropertySheet sheet(properties, engine, {});
    sheet.show();
    for (const auto* text : sheet.Tabs()->currentWidget()->findChildren<QLabel*>()) {
        if (!text->text().isEmpty()) {
            EXPECT_GE(text->width(), text->sizeHint().width()) << text->text().toStdString();
        }
    }
}

TEST(PropertySheet, NamesOfMegabytesAndTheLongestPathsAreCutAndPathsKeepTheirEnd)
{
    MediaEngine engine;
    QString deepFolder;
    while (deepFolder.size() < 4095 - 256)
        deepFolder += u'/' + QString(255, u'd');
    deepFolder += QStringLiteral("/holiday");
    ObjectProperties properties;
    properties.item = 0;
    properties.pages = {PropertyPage::Media};
    properties.media = {QString(4 << 20, u'n'), deepFolder, "MPG ﾌｧｲﾙ", "2分 03秒 45", "1,024KB (1,048,576 ﾊﾞｲﾄ)",
                        "1999年 03月 05日 金曜日 14:03:07", QString(3 << 20, u'm'), QImage()};
    PropertySheet sheet(properties, engine, {});
    sheet.show();
    for (const auto* text : sheet.Tabs()->currentWidget()->findChildren<QLabel*>()) {
        EXPECT_LE(text->text().size(), kMaxShownChars);
        EXPECT_LE(text->toolTip().size(), kMaxShownChars);
    }
    const auto* location = sheet.findChild<QLabel*>("location");
    EXPECT_TRUE(location->text().endsWith("/holiday"));
    EXPECT_EQ(location->toolTip(), location->text());
}

TEST(PropertySheet, APlaybackPageWithASpeedOutOfRangeCannotBeLeft)
{
    MediaEngine engine;
    PropertySheet sheet(PlaybackInFront({0, 0, false, true, 8.0}), engine, {});
    sheet.show();
    test::ShownBox box = test::CloseMessageBox([&] { sheet.accept(); });
    EXPECT_EQ(box.text, "速度には 0.01 から 4 までの数値を指定してください。");
    EXPECT_TRUE(sheet.isVisible());
    box = test::CloseMessageBox([&] { sheet.Tabs()->setCurrentIndex(0); });
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(sheet.Tabs()->currentWidget(), sheet.Playback());
    sheet.Playback()->findChild<QSlider*>("speed")->setValue(399);
    sheet.Tabs()->setCurrentIndex(0);
    EXPECT_EQ(sheet.Tabs()->currentIndex(), 0);

    // Without media there is no speed to hold the page: it reads 0, greyed.
    PropertySheet idle(PlaybackInFront({}), engine, {});
    EXPECT_EQ(idle.Playback()->findChild<QLineEdit*>("speedReadout")->text(), "0");
    EXPECT_FALSE(idle.Playback()->findChild<QSlider*>("speed")->isEnabled());
    idle.show();
    idle.accept();
    EXPECT_EQ(idle.result(), QDialog::Accepted);
}

TEST(ShowProperties, OkHandsTheSwitchesBackAndCancelLeavesThem)
{
    CutListModel list;
    CMediaInfoCache cache;
    MediaEngine engine;
    const MEDIARECORD record = test::Record("/m/video.mpg");
    list.AddObject(record, QImage(), false);
    cache.Add(record);
    list.SetCurrent(0);
    int layouts = 0;
    const auto show = [&](bool ok) {
        const auto shown = test::WhenShown<PropertySheet>([ok](PropertySheet* sheet) {
            EXPECT_EQ(sheet->Tabs()->currentWidget(), sheet->Playback());
            sheet->findChild<QCheckBox*>("stretch")->setChecked(true);
            ok ? sheet->accept() : sheet->reject();
        });
        ShowProperties({list, cache, engine, -1, true, {}, [&] { ++layouts; }}, nullptr);
    };
    show(false);
    EXPECT_FALSE(engine.Options().stretch);
    EXPECT_EQ(layouts, 0);
    show(true);
    EXPECT_TRUE(engine.Options().stretch);
    EXPECT_EQ(layouts, 1);
}

}  // namespace
}  // namespace kivo
