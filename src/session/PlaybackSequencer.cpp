#include "session/PlaybackSequencer.h"

#include "media/Levels.h"
#include "media/MediaEngine.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaRecord.h"

#include <cmath>

namespace kivo {
namespace {

// The host shows itself busy for the length of a scope.
class BusyScope {
public:
    explicit BusyScope(PlaybackHost& host) : m_host(host) { m_host.ShowBusy(true); }
    ~BusyScope() { m_host.ShowBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    PlaybackHost& m_host;
};

}  // namespace

PlaybackSequencer::PlaybackSequencer(CutListModel& list, MediaEngine& player, PlaybackHost& host)
    : m_list(list), m_player(player), m_host(host)
{
}

void PlaybackSequencer::SetCurrentState(ObjectState state)
{
    m_list.SetItemState(m_list.FindCurrentItem(), state);
}

void PlaybackSequencer::ReportState(int state)
{
    m_frameState = state;
    m_host.SendToFrame(3, state);
}

void PlaybackSequencer::SendDuration()
{
    m_host.SendToFrame(2, ClampedHundredths(m_player.Duration()));
}

void PlaybackSequencer::OpenCurrent(int position)
{
    m_list.SetCurrent(m_list.GetItemData(position));
    m_player.Open(m_list.GetItemPath(position));
    SendDuration();
}

void PlaybackSequencer::Play()
{
    m_host.SetModified();
    if (m_list.FindCurrentItem() < 0)
        return;
    if (!Succeeded(m_player.RenderOutcome())) {
        m_host.ShowMessage(m_player.RenderOutcome() == RenderResult::NoAudioHardware ? QStringLiteral("音声が出力できません。")
                                                                                  : QStringLiteral("再生開始できません。"),
                           PlaybackHost::Icon::Stop);
        return;
    }
    if (m_player.RenderOutcome() == RenderResult::AudioNotRendered)
        m_host.ShowMessage(QStringLiteral("音声出力デバイスが利用できません。"), PlaybackHost::Icon::Exclamation);
    SetCurrentState(ObjectState::Playing);
    // A sound-only object plays with the player window hidden.
    m_host.ShowPlayerWindow(m_player.HasVideo() || !m_player.HasAudio());
    m_player.SetNotifyTarget([this](int eventCode, qintptr) { OnGraphEvent(eventCode); }, 0);
    m_player.StartPlayback();
    ReportState(kPlayStatePlaying);
}

void PlaybackSequencer::Pause()
{
    SetCurrentState(ObjectState::Paused);
    m_player.PausePlayback();
    ReportState(kPlayStatePaused);
    m_host.SetModified();
}

void PlaybackSequencer::Stop()
{
    SetCurrentState(ObjectState::Stopped);
    m_player.StopPlayback();
    ReportState(kPlayStateStopped);
    m_host.SetModified();
}

void PlaybackSequencer::PlayPause()
{
    const int state = m_player.State();
    if (state == kPlayStateStopped || state == kPlayStatePaused) {
        if (m_player.GetPosition() == 0.0) {
            m_player.Reopen();
            SendDuration();
        }
        Play();
    } else if (state == kPlayStatePlaying) {
        Pause();
    }
}

void PlaybackSequencer::PlayNext(int position)
{
    const BusyScope busy(m_host);
    const int previous = m_list.FindCurrentItem();
    m_list.SetItemState(previous, ObjectState::Standby);
    const int next = m_list.FindPlayable(position == -1 ? previous + 1 : position);
    if (next >= 0) {
        OpenCurrent(next);
        Play();
        return;
    }
    Stop();
    m_list.SetItemState(previous, ObjectState::Standby);
    const int first = m_list.FindPlayable(0);
    if (first >= 0) {
        OpenCurrent(first);
        Stop();
    }
    HidePlayer();
}

bool PlaybackSequencer::CueObject(int position, qint64 hundredths)
{
    const BusyScope busy(m_host);
    SetCurrentState(ObjectState::Standby);
    const int found = m_list.FindPlayable(position == -1 ? 0 : position);
    if (found < 0)
        return false;
    OpenCurrent(found);
    m_player.SetPosition(static_cast<double>(hundredths) * 0.01);
    Stop();
    return true;
}

void PlaybackSequencer::ResetPlayback()
{
    Stop();
    HidePlayer();
    m_player.ForgetMedium();
    ReportState(kPlayStateEmpty);
    m_list.SetCurrent(-1);
}

void PlaybackSequencer::OnGraphEvent(int eventCode)
{
    if (eventCode == EC_COMPLETE)
        PlayNext(-1);
}

void PlaybackSequencer::OnTimer()
{
    m_host.SendToFrame(1, ClampedHundredths(m_player.GetPosition()));
}

qintptr PlaybackSequencer::Dispatch(int code, qintptr value)
{
    const double hundredths = static_cast<double>(value) * 0.01;
    switch (code) {
    case 1:
        // A seek while stopped pauses first, so that the new frame shows.
        if (m_frameState == kPlayStateStopped)
            Pause();
        m_player.SetPosition(hundredths);
        return 0;
    case 2:
        return ClampedHundredths(m_player.GetPosition());
    case 3: {
        const int found = m_list.FindPlayable(static_cast<int>(value));
        if (found < 0)
            return -1;
        SetCurrentState(ObjectState::Standby);
        OpenCurrent(found);
        return 0;
    }
    case 4:
        return m_list.FindCurrentItem();
    case 5:
        m_player.SetPosition(hundredths);
        Stop();
        return 0;
    case 10:
        m_player.SetBalance(PositionToBalance(hundredths));
        return 0;
    case 11:
        m_player.SetVolume(AmplitudeToVolume((100.0 - static_cast<double>(value)) * 0.01));
        return 0;
    case 12:
        m_player.SetMute(value != 0);
        return 0;
    case 13:
        m_player.SetRate(hundredths);
        return std::lround(m_player.GetRate() * 100.0);
    case 20:
        return static_cast<qintptr>(m_list.GetItemCount()) * 65535 + m_list.FindCurrentItem();
    default:
        return 0;
    }
}

bool PlaybackSequencer::CanPlayPause() const
{
    const int state = m_player.State();
    return state == kPlayStateStopped || state == kPlayStatePaused || state == kPlayStatePlaying;
}

bool PlaybackSequencer::CanPause() const
{
    return m_player.State() == kPlayStatePlaying || m_player.State() == kPlayStateStopped;
}

bool PlaybackSequencer::CanStop() const
{
    return m_player.State() == kPlayStatePlaying || m_player.State() == kPlayStatePaused;
}

bool PlaybackSequencer::CanPlayPrevious() const
{
    const int current = m_list.FindCurrentItem();
    return current > 0 && current < m_list.GetItemCount();
}

bool PlaybackSequencer::CanPlayNext() const
{
    const int current = m_list.FindCurrentItem();
    return current >= 0 && current < m_list.GetItemCount() - 1;
}

}  // namespace kivo
