#pragma once

#include "cutlist/ObjectState.h"

#include <QString>

namespace kivo {

class CutListModel;
class MediaEngine;

// What playing the cut list needs from the windows around it.
class PlaybackHost {
public:
    enum class Icon { Stop, Exclamation };

    virtual ~PlaybackHost() = default;
    // A message of the protocol to the main window: code 1 position, 2
    // duration (both in 1/100 s), 3 play state.
    virtual void SendToFrame(int code, qintptr value) = 0;
    virtual void ShowPlayerWindow(bool show) = 0;
    virtual void ShowMessage(const QString& text, Icon icon) = 0;
    // Marks the document modified.
    virtual void SetModified() = 0;
    // Shows that the program is busy (the wait cursor), or no longer busy;
    // calls nest.
    virtual void ShowBusy(bool busy) = 0;
};

// Plays the cut list, object after object in list order, through one
// media engine: the transport commands, the moving on at the end of an
// object, the objects' state texts and images, and the playback side of the
// protocol between the main window and the list.
class PlaybackSequencer {
public:
    PlaybackSequencer(CutListModel& list, MediaEngine& player, PlaybackHost& host);

    void Play();
    void Pause();
    void Stop();
    // Command::PlayPause: play from stopped or paused (a fresh pipeline when the
    // position is exactly 0), pause when playing.
    void PlayPause();
    // Makes the first playable object from `position` (the one after the
    // current object for -1) current and plays it; past the end of the list
    // cues the first playable object, stopped, and hides the player. Opening
    // slow media can take seconds: the host shows itself busy meanwhile.
    void PlayNext(int position);
    // Makes the first playable object from `position` (0 for -1) current,
    // opens it at `hundredths` and leaves it stopped. False when nothing
    // can be played; nothing changes then. Busy as PlayNext.
    bool CueObject(int position, qint64 hundredths);
    // Stops, hides the player and forgets the current object.
    void ResetPlayback();
    void HidePlayer() { m_host.ShowPlayerWindow(false); }

    // The player's end-of-run notification.
    void OnGraphEvent(int eventCode);
    // The 50 ms timer: reports the position to the main window.
    void OnTimer();
    // The playback codes of the protocol sent to the list; 0 for others.
    qintptr Dispatch(int code, qintptr value);

    // Tells the main window the duration of the player's medium.
    void SendDuration();

    // The play state the main window was last told.
    int FrameState() const { return m_frameState; }

    // When the transport commands are enabled.
    bool CanPlayPause() const;
    bool CanPause() const;
    bool CanStop() const;
    bool CanPlayPrevious() const;
    bool CanPlayNext() const;

private:
    void SetCurrentState(ObjectState state);
    void OpenCurrent(int position);
    void ReportState(int state);

    CutListModel& m_list;
    MediaEngine& m_player;
    PlaybackHost& m_host;
    int m_frameState = 0;
};

}  // namespace kivo
