#include "session/PlaybackSequencer.h"

#include "media/Levels.h"
#include "media/MediaEngine.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaRecord.h"

#include <cmath>

namespace kivo {
namespace {

// Seeks while the position slider is dragged come at most this often.
constexpr int kSeekIntervalMilliseconds = 100;

}  // namespace

PlaybackSequencer::PlaybackSequencer(CutListModel& list, MediaEngine& player, PlaybackHost& host, QObject* parent)
    : QObject(parent), m_list(list), m_player(player), m_host(host)
{
    connect(&m_player, &MediaEngine::openFinished, this, &PlaybackSequencer::OnOpenFinished);
    connect(&m_player, &MediaEngine::runEnded, this, &PlaybackSequencer::OnRunEnded);
    m_seekWindow.setSingleShot(true);
    m_seekWindow.setInterval(kSeekIntervalMilliseconds);
    connect(&m_seekWindow, &QTimer::timeout, this, [this] {
        if (m_pendingSeek >= 0) {
            SeekNow(std::exchange(m_pendingSeek, -1));
            m_seekWindow.start();
        }
    });
}

void PlaybackSequencer::SetCurrentState(ObjectState state)
{
    m_list.SetItemState(m_list.FindCurrentItem(), state);
}

void PlaybackSequencer::ReportState(PlayState state)
{
    m_frameState = state;
    emit playStateChanged(state);
}

void PlaybackSequencer::SendDuration()
{
    emit lengthChanged(ClampedHundredths(m_player.Duration()));
}

void PlaybackSequencer::OpenCurrent(int position, std::function<void()> then)
{
    m_list.SetCurrent(m_list.GetItemData(position));
    m_player.Open(m_list.GetItemPath(position));
    AwaitOpening([this, then = std::move(then)] {
        SendDuration();
        then();
    });
}

void PlaybackSequencer::AwaitOpening(std::function<void()> then)
{
    m_afterOpen = std::move(then);
    SetBusy(true);
}

void PlaybackSequencer::SetBusy(bool busy)
{
    if (std::exchange(m_busy, busy) != busy)
        m_host.ShowBusy(busy);
}

void PlaybackSequencer::OnOpenFinished()
{
    if (const std::function<void()> then = std::exchange(m_afterOpen, {}))
        then();
    SetBusy(m_player.IsOpening());
}

bool PlaybackSequencer::IsOpening() const
{
    return m_player.IsOpening();
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
    m_player.StartPlayback();
    ReportState(PlayState::Playing);
}

void PlaybackSequencer::Pause()
{
    SetCurrentState(ObjectState::Paused);
    m_player.PausePlayback();
    ReportState(PlayState::Paused);
    m_host.SetModified();
}

void PlaybackSequencer::Stop()
{
    ShowStopped();
    m_host.SetModified();
}

void PlaybackSequencer::ShowStopped()
{
    SetCurrentState(ObjectState::Stopped);
    m_player.StopPlayback();
    ReportState(PlayState::Stopped);
}

void PlaybackSequencer::PlayPause()
{
    const PlayState state = m_player.State();
    if (state == PlayState::Stopped || state == PlayState::Paused) {
        if (m_player.GetPosition() == 0.0 && m_player.Reopen()) {
            AwaitOpening([this] {
                SendDuration();
                Play();
            });
        }
        else
            Play();
    } else if (state == PlayState::Playing) {
        Pause();
    }
}

void PlaybackSequencer::PlayNext(int position)
{
    const int previous = m_list.FindCurrentItem();
    m_list.SetItemState(previous, ObjectState::Standby);
    const int next = m_list.FindPlayable(position == -1 ? previous + 1 : position);
    if (next >= 0) {
        OpenCurrent(next, [this] { Play(); });
        return;
    }
    Stop();
    m_list.SetItemState(previous, ObjectState::Standby);
    const int first = m_list.FindPlayable(0);
    if (first >= 0)
        OpenCurrent(first, [this] { ShowStopped(); });
    HidePlayer();
}

bool PlaybackSequencer::CueObject(int position, qint64 hundredths)
{
    const int found = m_list.FindPlayable(position == -1 ? 0 : position);
    if (found < 0)
        return false;
    SetCurrentState(ObjectState::Standby);
    OpenCurrent(found, [this, hundredths] {
        m_player.SetPosition(static_cast<double>(hundredths) * 0.01);
        ShowStopped();
    });
    return true;
}

void PlaybackSequencer::ResetPlayback()
{
    m_afterOpen = {};
    Stop();
    HidePlayer();
    m_player.ForgetMedium();
    SetBusy(false);
    ReportState(PlayState::Empty);
    m_list.SetCurrent(-1);
}

void PlaybackSequencer::OnRunEnded()
{
    // A still picture the list has not played (while media is added) has
    // no run of the list's to end.
    if (m_frameState == PlayState::Playing)
        PlayNext(-1);
}

void PlaybackSequencer::OnTimer()
{
    emit positionChanged(ClampedHundredths(m_player.GetPosition()));
}

void PlaybackSequencer::Seek(int hundredths)
{
    if (m_seekWindow.isActive()) {
        m_pendingSeek = hundredths;
        return;
    }
    SeekNow(hundredths);
    m_seekWindow.start();
}

void PlaybackSequencer::FinishSeeking()
{
    m_seekWindow.stop();
    if (m_pendingSeek >= 0)
        SeekNow(std::exchange(m_pendingSeek, -1));
}

void PlaybackSequencer::SeekNow(int hundredths)
{
    // A seek while stopped pauses first, so that the new frame shows.
    if (m_frameState == PlayState::Stopped)
        Pause();
    m_player.SetPosition(static_cast<double>(hundredths) * 0.01);
    emit seeked(hundredths);
}

void PlaybackSequencer::SetBalance(int balance)
{
    m_player.SetBalance(PositionToBalance(balance * 0.01));
}

void PlaybackSequencer::SetVolume(int volume)
{
    m_player.SetVolume(AmplitudeToVolume((100.0 - volume) * 0.01));
}

void PlaybackSequencer::SetMute(bool on)
{
    m_player.SetMute(on);
}

int PlaybackSequencer::SetRate(int hundredths)
{
    m_player.SetRate(hundredths * 0.01);
    return static_cast<int>(std::lround(m_player.GetRate() * 100.0));
}

ListPosition PlaybackSequencer::Position() const
{
    return {m_list.GetItemCount(), m_list.FindCurrentItem()};
}

bool PlaybackSequencer::CanPlayPause() const
{
    const PlayState state = m_player.State();
    return state == PlayState::Stopped || state == PlayState::Paused || state == PlayState::Playing;
}

bool PlaybackSequencer::CanPause() const
{
    return m_player.State() == PlayState::Playing || m_player.State() == PlayState::Stopped;
}

bool PlaybackSequencer::CanStop() const
{
    return m_player.State() == PlayState::Playing || m_player.State() == PlayState::Paused;
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
