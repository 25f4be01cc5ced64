#pragma once

#include "core/PlayState.h"

#include <QString>

#include <utility>
#include <vector>

namespace kivo {

// What the main window's bars show; the frame protocol drives them.
class FrameBars {
public:
    // The first transport slot holds the play or pause button or the greyed
    // play picture; the second the stop button or the greyed stop picture.
    enum class FirstSlot { GreyedPlay, Play, Pause };
    enum class SecondSlot { GreyedStop, Stop };
    enum class SpeedIcon { Normal, Faster, Slower, Refused };

    virtual ~FrameBars() = default;
    virtual void MovePositionSlider(int position) = 0;
    virtual void SetPositionRange(int maximum) = 0;
    virtual void EnablePositionSlider(bool enable) = 0;
    virtual void ShowFirstSlot(FirstSlot shown) = 0;
    virtual void ShowSecondSlot(SecondSlot shown) = 0;
    // Draws the time display's glyphs (see TimeDisplayGlyphs).
    virtual void DrawTime(int position) = 0;
    virtual void ShowIdleMessage() = 0;
    virtual void MoveBalanceSlider(int balance) = 0;
    virtual void MoveVolumeSlider(int volume) = 0;
    // Moves the speed slider to the speed in hundredths and has it report
    // its position at once.
    virtual void MoveSpeedSlider(int speed) = 0;
    virtual void ShowSpeedReadout(const QString& text) = 0;
    virtual void ShowSpeedIcon(SpeedIcon icon) = 0;
    virtual void EnableSoundSliders(bool enable) = 0;
};

// The list's end of the protocol, as the main window sees it. Positions
// in 1/100 s, balance -100..100, volume 0 (loudest)..100, rates in
// hundredths.
class FrameView {
public:
    virtual ~FrameView() = default;
    virtual void Seek(int position) = 0;
    // The position slider was let go.
    virtual void FinishSeeking() = 0;
    virtual void SetBalance(int balance) = 0;
    virtual void SetVolume(int volume) = 0;
    virtual void SetMute(bool on) = 0;
    // Answers the rate in force.
    virtual int SetRate(int speed) = 0;
    // The list puts its summary into the message pane.
    virtual void ShowSummary() = 0;
};

// The glyphs of the time display for a position in 1/100 s, each with its
// x offset: "MM:SS" below 100 minutes, "OVER" from then on. Glyphs 0-9 are
// the digits, 17 the colon and 32-35 the letters O, V, E, R.
std::vector<std::pair<int, int>> TimeDisplayGlyphs(int position);

// The main window's side of the protocol between it and the list: it turns
// the list's reports of position, length and play state into the bars'
// look, and the user's slider movements into requests to the list.
class FrameProtocol {
public:
    enum class Slider { Position, Balance, Volume, Speed };

    FrameProtocol(FrameBars& bars, FrameView& view) : m_bars(bars), m_view(view) {}

    // The list's reports.
    void OnPositionChanged(int position);
    void OnLengthChanged(int length);
    void OnPlayStateChanged(PlayState state);
    // The levels, set on the list's player and shown on the bars.
    void SetBalance(int balance);
    void SetVolume(int volume);
    void SetSoundOff(bool off);
    // Moves the speed slider and asks for the speed; true when it is in
    // force.
    bool SetSpeed(int speed);
    // A slider reported its position; only a change from the last value seen
    // does anything.
    void OnSliderMoved(Slider slider, int position);
    void OnPositionSliderReleased() { m_view.FinishSeeking(); }
    // The speed icon was clicked: back to normal speed.
    void SetNormalSpeed() { SetSpeed(100); }
    // Command::Sound.
    void ToggleSound() { SetSoundOff(!m_bSoundOff); }

    bool IsSoundOff() const { return m_bSoundOff; }
    int Speed() const { return m_nSpeed; }
    int Volume() const { return m_nVolume; }

private:
    bool ApplySpeed(int speed);
    void DrawTimeDisplay(int position);

    FrameBars& m_bars;
    FrameView& m_view;
    int m_nPos = 0;
    int m_nShownTime = -1;
    bool m_bRedrawTime = true;
    int m_nBalance = 0;
    int m_nVolume = 0;
    int m_nSpeed = 100;
    bool m_bSoundOff = false;
    // Only every sixth position report redraws the time display.
    int m_nTimeTick = 0;
    int m_nSliderSpeed = 100;
};

}  // namespace kivo
