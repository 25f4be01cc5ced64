#include "session/FrameProtocol.h"

namespace kivo {
namespace {

constexpr int kColonGlyph = 17;
constexpr int kFirstLetterOfOver = 32;
constexpr int kTimeReportsPerDraw = 6;

}  // namespace

std::vector<std::pair<int, int>> TimeDisplayGlyphs(int position)
{
    const int seconds = position / 100;
    const int minutes = seconds / 60;
    if (minutes >= 100) {
        return {{kFirstLetterOfOver, 5}, {kFirstLetterOfOver + 1, 12}, {kFirstLetterOfOver + 2, 22},
                {kFirstLetterOfOver + 3, 29}};
    }
    const int s = seconds % 60;
    return {{minutes / 10 % 10, 5}, {minutes % 10, 12}, {kColonGlyph, 19}, {s / 10, 22}, {s % 10, 29}};
}

void FrameProtocol::OnPositionChanged(int position)
{
    m_nPos = position;
    m_bars.MovePositionSlider(position);
    if (m_nTimeTick < kTimeReportsPerDraw - 1) {
        ++m_nTimeTick;
        return;
    }
    m_nTimeTick = 0;
    if (position / 100 != m_nShownTime / 100)
        m_bars.ShowIdleMessage();
    DrawTimeDisplay(position);
}

void FrameProtocol::OnLengthChanged(int length)
{
    OnPositionChanged(0);
    m_bars.SetPositionRange(length);
}

void FrameProtocol::SetBalance(int balance)
{
    m_nBalance = balance;
    m_view.SetBalance(balance);
    m_bars.MoveBalanceSlider(balance);
}

void FrameProtocol::SetVolume(int volume)
{
    m_nVolume = volume;
    m_view.SetVolume(volume);
    m_bars.MoveVolumeSlider(volume);
}

void FrameProtocol::SetSoundOff(bool off)
{
    m_view.SetMute(off);
    m_bSoundOff = off;
    m_bars.EnableSoundSliders(!off);
}

bool FrameProtocol::SetSpeed(int speed)
{
    m_bars.MoveSpeedSlider(speed);
    return ApplySpeed(speed);
}

void FrameProtocol::OnPlayStateChanged(PlayState state)
{
    switch (state) {
    case PlayState::Empty:
        m_bars.ShowFirstSlot(FrameBars::FirstSlot::GreyedPlay);
        OnPositionChanged(0);
        m_bars.SetPositionRange(0);
        m_bars.EnablePositionSlider(false);
        m_bars.ShowIdleMessage();
        break;
    case PlayState::Stopped:
    case PlayState::Paused:
        m_bars.ShowFirstSlot(FrameBars::FirstSlot::Play);
        m_bars.ShowSecondSlot(state == PlayState::Stopped ? FrameBars::SecondSlot::GreyedStop
                                                          : FrameBars::SecondSlot::Stop);
        m_bars.EnablePositionSlider(true);
        m_view.ShowSummary();
        break;
    case PlayState::Playing:
        m_bars.ShowFirstSlot(FrameBars::FirstSlot::Pause);
        m_bars.ShowSecondSlot(FrameBars::SecondSlot::Stop);
        m_bars.EnablePositionSlider(true);
        // A newly opened object plays at the chosen speed.
        if (m_nSpeed != 100)
            ApplySpeed(m_nSpeed);
        m_bars.ShowIdleMessage();
        break;
    }
}

void FrameProtocol::OnSliderMoved(Slider slider, int position)
{
    switch (slider) {
    case Slider::Position:
        if (position != m_nPos) {
            m_nPos = position;
            m_view.Seek(position);
        }
        break;
    case Slider::Balance:
        if (position != m_nBalance) {
            m_nBalance = position;
            SetBalance(position);
        }
        break;
    case Slider::Volume:
        if (position != m_nVolume) {
            m_nVolume = position;
            SetVolume(position);
        }
        break;
    case Slider::Speed:
        if (position != m_nSliderSpeed) {
            m_nSliderSpeed = position;
            m_bars.ShowSpeedReadout(QString::asprintf("%.2f", position / 100.0));
            ApplySpeed(position);
        }
        break;
    }
    // Any repaint of the bars may have wiped the time display.
    m_bRedrawTime = true;
}

bool FrameProtocol::ApplySpeed(int speed)
{
    if (m_view.SetRate(speed) != speed) {
        m_bars.ShowSpeedIcon(FrameBars::SpeedIcon::Refused);
        return false;
    }
    m_nSpeed = speed;
    m_bars.ShowSpeedIcon(speed == 100  ? FrameBars::SpeedIcon::Normal
                         : speed > 100 ? FrameBars::SpeedIcon::Faster
                                       : FrameBars::SpeedIcon::Slower);
    return true;
}

void FrameProtocol::DrawTimeDisplay(int position)
{
    if (position == m_nShownTime && !m_bRedrawTime)
        return;
    m_nShownTime = position;
    m_bRedrawTime = false;
    if (position >= 0)
        m_bars.DrawTime(position);
}

}  // namespace kivo
