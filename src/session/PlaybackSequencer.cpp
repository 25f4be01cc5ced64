#include "session/PlaybackSequencer.h"

#include "media/Levels.h"
#include "media/MediaEngine.h"
#include "media/Pictures.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaRecord.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    connect(&m_player, &MediaEngine::graphMissing, this,
            [this] { ShowFailure(QStringLiteral("GStreamer is not Installed.")); });
    m_seekWindow.setSingleShot(true);
    m_seekWindow.setInterval(kSeekIntervalMilliseconds);
    connect(&m_seekWindow, &QTimer::timeout, this, [this] {
        if (m_pendingSeek >= 0) {
            SeekNow(std::exchange(m_pendingSeek, -1));
            m_seekWindow.start();
        }
    });
    m_positionReport.setInterval(kPositionReportMilliseconds);
    connect(&m_positionReport, &QTimer::timeout, this, &PlaybackSequencer::ReportPosition);
}

void PlaybackSequencer::SetState(int position, ObjectState state)
{
    if (m_list.GetItemState(position) != ObjectState::Invalid)
        m_list.SetItemState(position, state);
}

void PlaybackSequencer::SetCurrentState(ObjectState state)
{
    SetState(m_list.FindCurrentItem(), state);
}

void PlaybackSequencer::ReportState(PlayState state)
{
    m_frameState = state;
    emit playStateChanged(state);
    // The position moves by itself only while the medium plays; otherwise
    // it is reported where it stays.
    if (state == PlayState::Playing) {
        m_positionReport.start();
    } else {
        m_positionReport.stop();
        ReportPosition();
    }
}

void PlaybackSequencer::SendDuration()
{
    emit lengthChanged(ClampedHundredths(m_player.Duration()));
}

void PlaybackSequencer::OpenCurrent(int position, std::function<void()> then)
{
    m_list.SetCurrent(m_list.GetItemData(position));
    m_player.Open(m_list.GetItemPath(position));
    AwaitObject([this, then = std::move(then)] {
        SendDuration();
        then();
    });
    // An object is there to be played: the bars offer it at once.
    if (m_frameState == PlayState::Empty)
        ReportState(PlayState::Stopped);
}

void PlaybackSequencer::AwaitObject(std::function<void()> then)
{
    m_afterOpen = std::move(then);
    m_openingObject = true;
    m_openingAt = 0;
    SetBusy(true);
}

void PlaybackSequencer::AwaitOpening(std::function<void()> then)
{
    m_afterOpen = std::move(then);
    m_openingObject = false;
    m_requestAfterOpen = Request::None;
    m_seekAfterOpen = -1;
    SetBusy(true);
}

void PlaybackSequencer::SetBusy(bool busy)
{
    if (std::exchange(m_busy, busy) != busy)
        m_host.ShowBusy(busy);
}

void PlaybackSequencer::OnOpenFinished()
{
    const bool object = std::exchange(m_openingObject, false);
    const Request request = std::exchange(m_requestAfterOpen, Request::None);
    const int seek = std::exchange(m_seekAfterOpen, -1);
    if (const std::function<void()> then = std::exchange(m_afterOpen, {}))
        then();
    if (object && m_openingObject) {
        // The object could not be played and the list moved on: what the
        // user asked for waits for the next one.
        if (m_requestAfterOpen == Request::None)
            m_requestAfterOpen = request;
    } else if (object) {
        if (seek >= 0)
            SeekNow(seek);
        CarryOut(request);
    }
    SetBusy(m_player.IsOpening());
}

void PlaybackSequencer::CarryOut(Request request)
{
    const PlayState state = m_player.State();
    switch (request) {
    case Request::None:
        break;
    case Request::Play:
        if (state == PlayState::Stopped || state == PlayState::Paused)
            Play();
        break;
    case Request::Pause:
        if (state == PlayState::Playing || state == PlayState::Stopped)
            Pause();
        break;
    case Request::Stop:
        if (state == PlayState::Playing || state == PlayState::Paused)
            Stop();
        break;
    }
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
    if (m_openingObject) {
        m_requestAfterOpen = Request::Play;
        return;
    }
    switch (m_player.RenderOutcome()) {
    case RenderResult::Failed:
        InvalidateCurrent();
        PlayNext(-1);
        ShowFailure(tr("再生開始できません。"));
        return;
    case RenderResult::NoGStreamer:
        // The engine has told the user already.
        return;
    case RenderResult::NoAudioHardware:
        m_host.ShowMessage(tr("音声が出力できません。"), PlaybackHost::Icon::Stop);
        return;
    case RenderResult::AudioNotRendered:
        m_host.ShowMessage(tr("音声出力デバイスが利用できません。"), PlaybackHost::Icon::Exclamation);
        break;
    case RenderResult::Success:
        break;
    }
    m_failureTold = false;
    SetCurrentState(ObjectState::Playing);
    // A sound-only object plays with the player window hidden.
    m_host.ShowPlayerWindow(m_player.HasVideo() || !m_player.HasAudio());
    m_player.StartPlayback();
    ReportState(PlayState::Playing);
}

void PlaybackSequencer::InvalidateCurrent()
{
    m_list.InvalidateItem(m_list.FindCurrentItem(), LoadPicture(PictureId::Unavailable));
}

void PlaybackSequencer::ShowFailure(const QString& text)
{
    if (m_failureTold || m_showingFailure)
        return;
    m_failureTold = true;
    m_showingFailure = true;
    m_host.ShowMessage(text, PlaybackHost::Icon::Stop);
    m_showingFailure = false;
}

void PlaybackSequencer::Pause()
{
    m_host.SetModified();
    if (m_openingObject) {
        m_requestAfterOpen = Request::Pause;
        return;
    }
    SetCurrentState(ObjectState::Paused);
    m_player.PausePlayback();
    ReportState(PlayState::Paused);
}

void PlaybackSequencer::Stop()
{
    m_host.SetModified();
    if (m_openingObject) {
        m_requestAfterOpen = Request::Stop;
        return;
    }
    ShowStopped();
}

void PlaybackSequencer::ShowStopped()
{
    SetCurrentState(ObjectState::Stopped);
    m_player.StopPlayback();
    ReportState(PlayState::Stopped);
}

void PlaybackSequencer::PlayPause()
{
    m_failureTold = false;
    if (m_openingObject) {
        m_requestAfterOpen = Request::Play;
        return;
    }
    const PlayState state = m_player.State();
    if (state == PlayState::Stopped || state == PlayState::Paused) {
        if (m_player.GetPosition() == 0.0 && m_player.Reopen()) {
            AwaitObject([this] {
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
    // Going elsewhere supersedes what was asked of the object being left;
    // the user hears of an object that fails there.
    m_requestAfterOpen = Request::None;
    if (position != -1)
        m_failureTold = false;
    m_seekAfterOpen = -1;
    const int previous = m_list.FindCurrentItem();
    SetState(previous, ObjectState::Standby);
    int next = m_list.FindPlayable(position == -1 ? previous + 1 : position);
    if (next < 0 && m_repeatList && (position == -1 || position == previous + 1))
        next = m_list.FindPlayable(0);
    if (next >= 0) {
        OpenCurrent(next, [this] { Play(); });
        return;
    }
    // The end of the list: whatever opened or played stops there.
    m_afterOpen = {};
    m_openingObject = false;
    Stop();
    SetState(previous, ObjectState::Standby);
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
        // A file that went or was damaged since it was added: the next
        // playable object is cued instead, the first one after the end.
        if (m_player.RenderOutcome() == RenderResult::Failed) {
            InvalidateCurrent();
            const int next = m_list.FindCurrentItem() + 1;
            if (!CueObject(next, 0) && !CueObject(0, 0))
                ShowStopped();
            return;
        }
        // An object opens at its start: a seek there would only cost a
        // preroll.
        if (hundredths != 0)
            m_player.SetPosition(static_cast<double>(hundredths) * 0.01);
        ShowStopped();
    });
    m_openingAt = static_cast<int>(std::clamp<qint64>(hundredths, 0, std::numeric_limits<int>::max()));
    return true;
}

int PlaybackSequencer::CurrentPosition() const
{
    if (m_openingObject)
        return m_seekAfterOpen >= 0 ? m_seekAfterOpen : m_openingAt;
    return ClampedHundredths(m_player.GetPosition());
}

void PlaybackSequencer::ResetPlayback()
{
    m_afterOpen = {};
    m_openingObject = false;
    m_requestAfterOpen = Request::None;
    m_seekAfterOpen = -1;
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

void PlaybackSequencer::ReportPosition()
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
    if (m_openingObject) {
        m_seekAfterOpen = hundredths;
        return;
    }
    // A seek while stopped pauses first, so that the new frame shows.
    if (m_frameState == PlayState::Stopped)
        Pause();
    m_player.SetPosition(static_cast<double>(hundredths) * 0.01);
    emit seeked(hundredths);
    if (!m_positionReport.isActive())
        ReportPosition();
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
    return {m_list.GetItemCount(), m_list.FindCurrentItem(), m_repeatList};
}

}  // namespace kivo
