#include "session/FrameProtocol.h"
#include "session/PlaybackArithmetic.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kivo {
namespace {

using Glyphs = std::vector<std::pair<int, int>>;

// Bars that remember what they were told; the speed slider reports back
// as a real one does. Muting is the main window test's.
struct RecordingBars : FrameBars {
    void MovePositionSlider(int position) override { slider = position; }
    void SetPositionRange(int maximum) override { range = maximum; }
    void EnablePositionSlider(bool enable) override { sliderEnabled = enable; }
    void ShowFirstSlot(FirstSlot shown) override { first = shown; }
    void ShowSecondSlot(SecondSlot shown) override { second = shown; }
    void DrawTime(int position) override { drawn.push_back(position); }
    void ShowIdleMessage() override {}
    void MoveBalanceSlider(int) override {}
    void MoveVolumeSlider(int) override {}
    void MoveSpeedSlider(int speed) override { protocol->OnSliderMoved(FrameProtocol::Slider::Speed, speed); }
    void ShowSpeedReadout(const QString& text) override { readout = text; }
    void ShowSpeedIcon(SpeedIcon shown) override { icon = shown; }
    void EnableSoundSliders(bool) override {}

    FrameProtocol* protocol = nullptr;
    int slider = -1, range = -1;
    bool sliderEnabled = false;
    FirstSlot first = FirstSlot::GreyedPlay;
    SecondSlot second = SecondSlot::GreyedStop;
    std::vector<int> drawn;
    QString readout;
    SpeedIcon icon = SpeedIcon::Normal;
};

// A list that accepts speeds up to `fastest` and records what it is asked,
// as (request, value).
struct RecordingView : FrameView {
    enum Request { Sought, Released, Balance, Volume, Mute, Rate, Summary };
    void Seek(int position) override { sent.emplace_back(Sought, position); }
    void FinishSeeking() override { sent.emplace_back(Released, 0); }
    void SetBalance(int balance) override { sent.emplace_back(Balance, balance); }
    void SetVolume(int volume) override { sent.emplace_back(Volume, volume); }
    void SetMute(bool on) override { sent.emplace_back(Mute, on ? 1 : 0); }
    int SetRate(int speed) override
    {
        sent.emplace_back(Rate, speed);
        return std::min(speed, fastest);
    }
    void ShowSummary() override { sent.emplace_back(Summary, 0); }
    int fastest = 400;
    std::vector<std::pair<Request, int>> sent;
};
using Request = RecordingView::Request;

TEST(PlaybackArithmetic, SlidersAndTheTimeDisplayReadThePlayersValues)
{
    // One step below the main window's bar for most volumes: its 50, 25, 99.
    for (const auto& [level, position] : {std::pair{0L, 0}, {-693L, -51}, {-287L, -26}, {-4605L, -100}, {-10000L, -100}}) {
        EXPECT_EQ(AudioSliderPositions(level, 0, false).volume, position) << level;
        EXPECT_EQ(AudioSliderPositions(0, -level, false).balance, -position) << level;
    }
    // Muted sliders and the speed's readout are the playback page's
    // (PropertySheetTest).
    // 0.29 * 100 is 28.999... in binary: the slider must still stand at 29.
    EXPECT_EQ(std::pair(SpeedSliderPosition(0.29), SpeedSliderPosition(0.57)), std::pair(29, 57));
    // The time display: minutes and seconds up to ninety-nine minutes, then over.
    EXPECT_EQ(TimeDisplayGlyphs(359999), Glyphs({{5, 5}, {9, 12}, {17, 19}, {5, 22}, {9, 29}}));  // 59:59.99
    EXPECT_EQ(TimeDisplayGlyphs(599900), Glyphs({{9, 5}, {9, 12}, {17, 19}, {5, 22}, {9, 29}}));  // 99:59
    EXPECT_EQ(TimeDisplayGlyphs(600000), Glyphs({{32, 5}, {33, 12}, {34, 22}, {35, 29}}));
    EXPECT_EQ(TimeDisplayGlyphs(0), Glyphs({{0, 5}, {0, 12}, {17, 19}, {0, 22}, {0, 29}}));
}

class Frame : public ::testing::Test {
protected:
    Frame() { bars.protocol = &protocol; }
    RecordingBars bars;
    RecordingView view;
    FrameProtocol protocol{bars, view};
};

TEST_F(Frame, EverySixthPositionReportDrawsTheTimeNegativePositionsNoneAndOnlyAMovedSliderSeeks)
{
    for (int i = 1; i <= 12; ++i)
        protocol.OnPositionChanged(i * 5);
    EXPECT_EQ(std::tuple(bars.slider, bars.drawn), std::tuple(60, std::vector<int>({30, 60})));
    for (int i = 0; i < 6; ++i)
        protocol.OnPositionChanged(-100);
    EXPECT_EQ(bars.drawn.size(), 2u);
    // An unchanged position is not drawn twice.
    for (int i = 0; i < 12; ++i)
        protocol.OnPositionChanged(60);
    EXPECT_EQ(bars.drawn, std::vector<int>({30, 60, 60}));

    // Only a moved position slider seeks.
    protocol.OnPositionChanged(500);
    protocol.OnSliderMoved(FrameProtocol::Slider::Position, 500);  // back where it came from
    EXPECT_TRUE(view.sent.empty());
    protocol.OnSliderMoved(FrameProtocol::Slider::Position, 700);
    protocol.OnPositionSliderReleased();
    EXPECT_EQ(view.sent, (std::vector<std::pair<Request, int>>{{Request::Sought, 700}, {Request::Released, 0}}));
}

TEST_F(Frame, PlayStatesSetTheTransportSlots)
{
    using enum FrameBars::FirstSlot;
    using enum FrameBars::SecondSlot;
    const std::tuple<PlayState, FrameBars::FirstSlot, FrameBars::SecondSlot> states[] = {
        {PlayState::Stopped, Play, GreyedStop}, {PlayState::Playing, Pause, Stop}, {PlayState::Paused, Play, Stop}};
    for (const auto& [state, first, second] : states) {
        protocol.OnPlayStateChanged(state);
        EXPECT_EQ(std::tuple(bars.first, bars.second, bars.sliderEnabled), std::tuple(first, second, true)) << static_cast<int>(state);
    }
    EXPECT_EQ(view.sent.front(), std::make_pair(Request::Summary, 0));  // on the stop
    protocol.OnPlayStateChanged(PlayState::Empty);
    EXPECT_EQ(std::tuple(bars.first, bars.range, bars.slider, bars.sliderEnabled), std::tuple(GreyedPlay, 0, 0, false));
}

TEST_F(Frame, SpeedIsShownAcceptedRefusedAndReappliedOnPlayAndLevelsAreKeptWhetherOrNotASliderEchoesThem)
{
    protocol.OnSliderMoved(FrameProtocol::Slider::Speed, 200);
    using enum FrameBars::SpeedIcon;
    EXPECT_EQ(std::pair(bars.readout, bars.icon), std::pair(QString("2.00"), Faster));
    protocol.OnSliderMoved(FrameProtocol::Slider::Speed, 1);
    EXPECT_EQ(std::pair(bars.readout, bars.icon), std::pair(QString("0.01"), Slower));
    EXPECT_TRUE(protocol.SetSpeed(200));
    protocol.SetNormalSpeed();
    EXPECT_EQ(std::pair(bars.readout, bars.icon), std::pair(QString("1.00"), Normal));
    view.fastest = 150;
    EXPECT_FALSE(protocol.SetSpeed(400));
    EXPECT_EQ(std::tuple(bars.readout, bars.icon, protocol.Speed()), std::tuple(QString("4.00"), Refused, 100));

    protocol.SetSpeed(150);
    view.sent.clear();
    protocol.OnPlayStateChanged(PlayState::Playing);  // a newly opened object starts at 1.50
    EXPECT_EQ(view.sent.front(), std::make_pair(Request::Rate, 150));

    // The saved volume at start-up, or a level from the property sheet:
    // a slider already there does not report back.
    protocol.SetVolume(100);
    EXPECT_EQ(protocol.Volume(), 100);
    protocol.SetBalance(-30);
    view.sent.clear();
    // Moving the sliders back to where they were before is a change.
    protocol.OnSliderMoved(FrameProtocol::Slider::Volume, 0);
    protocol.OnSliderMoved(FrameProtocol::Slider::Balance, 0);
    EXPECT_EQ(std::tuple(view.sent, protocol.Volume()),
              std::tuple((std::vector<std::pair<Request, int>>{{Request::Volume, 0}, {Request::Balance, 0}}), 0));
}

}  // namespace
}  // namespace kivo
