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

qintptr FrameProtocol::Dispatch(int code, qintptr value)
{
    const int number = static_cast<int>(value);
    switch (code) {
    case 1:
        m_nPos = number;
        m_bars.MovePositionSlider(number);
        if (m_nTimeTick < kTimeReportsPerDraw - 1) {
            ++m_nTimeTick;
            return 0;
        }
        m_nTimeTick = 0;
        if (number / 100 != m_nShownTime / 100)
            m_bars.ShowIdleMessage();
        DrawTimeDisplay(number);
        return 0;
    case 2:
        Dispatch(1, 0);
        m_bars.SetPositionRange(number);
        return 0;
    case 3:
        m_nPlayerState = number;
        ShowPlayerState(number);
        return 0;
    case 10:
    case 11:
        if (!m_view.HasActiveView())
            return 0;
        m_view.SendToView(code, value);
        if (code == 10)
            m_bars.MoveBalanceSlider(number);
        else
            m_bars.MoveVolumeSlider(number);
        return 0;
    case 12:
        if (!m_view.HasActiveView())
            return 0;
        m_view.SendToView(12, value);
        m_bSoundOff = value != 0;
        m_bars.EnableSoundSliders(!m_bSoundOff);
        return 0;
    case 13:
        m_bars.MoveSpeedSlider(number);
        return ApplySpeed(number) ? 1 : 0;
    default:
        return 0;
    }
}

void FrameProtocol::ShowPlayerState(int state)
{
    switch (state) {
    case 0:
        m_bars.ShowFirstSlot(FrameBars::FirstSlot::GreyedPlay);
        Dispatch(1, 0);
        m_bars.SetPositionRange(0);
        m_bars.EnablePositionSlider(false);
        m_bars.ShowIdleMessage();
        break;
    case 1:
    case 2:
        m_bars.ShowFirstSlot(FrameBars::FirstSlot::Play);
        m_bars.ShowSecondSlot(state == 1 ? FrameBars::SecondSlot::GreyedStop : FrameBars::SecondSlot::Stop);
        m_bars.EnablePositionSlider(true);
        // The list puts its summary into the message pane.
        m_view.SendToView(30, 0);
        break;
    case 3:
        m_bars.ShowFirstSlot(FrameBars::FirstSlot::Pause);
        m_bars.ShowSecondSlot(FrameBars::SecondSlot::Stop);
        m_bars.EnablePositionSlider(true);
        // A newly opened object plays at the chosen speed.
        if (m_nSpeed != 100)
            ApplySpeed(m_nSpeed);
        m_bars.ShowIdleMessage();
        break;
    default:
        break;
    }
}

void FrameProtocol::OnSliderMoved(Slider slider, int position)
{
    switch (slider) {
    case Slider::Position:
        if (position != m_nPos) {
            m_nPos = position;
            m_view.SendToView(1, position);
        }
        break;
    case Slider::Balance:
        if (position != m_nBalance) {
            m_nBalance = position;
            Dispatch(10, position);
        }
        break;
    case Slider::Volume:
        if (position != m_nVolume) {
            m_nVolume = position;
            Dispatch(11, position);
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
    const qintptr accepted = m_view.HasActiveView() ? m_view.SendToView(13, speed) : 0;
    if (accepted != speed) {
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
