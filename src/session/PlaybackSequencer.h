#pragma once

#include "core/PlayState.h"
#include "cutlist/ObjectState.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace kivo {

class CutListModel;
class MediaEngine;

// What playing the cut list needs from the windows around it.
class PlaybackHost {
public:
    enum class Icon { Stop, Exclamation };

    virtual ~PlaybackHost() = default;
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
// object, the objects' states, and the playback side of the protocol
// between the main window and the list. Opening an object takes the
// engine a while: what follows the opening waits for it and the host shows
// itself busy meanwhile. The transport commands stay enabled: a play,
// pause, stop or seek asked for while the current object opens is carried
// out once it has opened. An object whose file can no longer be played (it
// went, or was damaged, after it was added) becomes invalid, and the list
// moves on to the next playable object.
class PlaybackSequencer : public QObject {
    Q_OBJECT

public:
    PlaybackSequencer(CutListModel& list, MediaEngine& player, PlaybackHost& host, QObject* parent = nullptr);

    void Play();
    void Pause();
    void Stop();
    // Command::PlayPause: play from stopped or paused (a fresh pipeline when the
    // position is exactly 0), pause when playing.
    void PlayPause();
    // Makes the first playable object from `position` (the one after the
    // current object for -1) current and plays it; past the end of the list
    // cues the first playable object, stopped, and hides the player. When
    // the list repeats, the end of a run and the next object of the last
    // one play the first playable object instead.
    void PlayNext(int position);
    // Whether the whole list repeats.
    void SetRepeatList(bool on) { m_repeatList = on; }
    bool RepeatsList() const { return m_repeatList; }
    // Makes the first playable object from `position` (0 for -1) current,
    // opens it at `hundredths` and leaves it stopped. False when nothing
    // can be played; nothing changes then.
    bool CueObject(int position, qint64 hundredths);
    // Stops, hides the player and forgets the current object.
    void ResetPlayback();
    void HidePlayer() { m_host.ShowPlayerWindow(false); }

    // For an opening of the engine's that is not the list's (a still
    // picture): `then` runs once it is over, unless another one comes first;
    // the host is busy till then. Requests waiting for the current object
    // are given up.
    void AwaitOpening(std::function<void()> then);
    // Whether what AwaitOpening was given still waits.
    bool AwaitsOpening() const { return m_afterOpen && !m_openingObject; }

    // The main window's requests. Positions in 1/100 s; balance -100..100;
    // volume 0 (loudest)..100; rates in hundredths.
    // Seeks while the position slider is dragged are gathered: at most one
    // reaches the pipeline every 100 ms, and the last one always does.
    void Seek(int hundredths);
    // The slider was let go: its position is sought now.
    void FinishSeeking();
    void SetBalance(int balance);
    void SetVolume(int volume);
    void SetMute(bool on);
    // Asks for a rate; answers the rate in force.
    int SetRate(int hundredths);
    ListPosition Position() const;

    // Tells the main window the length of the player's medium.
    void SendDuration();
    // How often the position is reported while the medium plays.
    static constexpr int kPositionReportMilliseconds = 50;

    // The play state the main window was last told.
    PlayState FrameState() const { return m_frameState; }
    // Whether an object is being opened.
    bool IsOpening() const;
    // Whether the list's current object is being opened (requests wait for it).
    bool IsOpeningObject() const { return m_openingObject; }
    // Where the current object is in 1/100 s, or will be once it has opened.
    int CurrentPosition() const;

signals:
    void positionChanged(int hundredths);
    void lengthChanged(int hundredths);
    void playStateChanged(PlayState state);
    // The player was sent to another place in its medium.
    void seeked(int hundredths);

private:
    // What the user asked for while the current object opened.
    enum class Request { None, Play, Pause, Stop };

    // Sets an object's state; an object found unplayable stays invalid.
    void SetState(int position, ObjectState state);
    void SetCurrentState(ObjectState state);
    // Makes the object at `position` current and opens it; `then` runs once
    // it has opened, well or not, unless another opening comes first.
    void OpenCurrent(int position, std::function<void()> then);
    // Opens the current object's file again, then plays it.
    void AwaitObject(std::function<void()> then);
    void OnOpenFinished();
    void ReportPosition();
    void CarryOut(Request request);
    // The current object's file did not open: the object becomes invalid.
    void InvalidateCurrent();
    // Tells the user that playing failed: once until the user asks for
    // another object or to play, or an object plays (objects that fail one
    // after the other in a play-through, the openings of start-up without
    // GStreamer), and never over a box still shown.
    void ShowFailure(const QString& text);
    // Shows the host busy while an object opens.
    void SetBusy(bool busy);
    void ReportState(PlayState state);
    // Stop, as a cue does: the document is not changed by it.
    void ShowStopped();
    void SeekNow(int hundredths);
    // The player played its medium to the end.
    void OnRunEnded();

    CutListModel& m_list;
    MediaEngine& m_player;
    PlaybackHost& m_host;
    PlayState m_frameState = PlayState::Empty;
    std::function<void()> m_afterOpen;
    bool m_openingObject = false;
    // Where the object being opened goes, in 1/100 s.
    int m_openingAt = 0;
    Request m_requestAfterOpen = Request::None;
    // Where the position slider was sent while the object opened; -1 for nowhere.
    int m_seekAfterOpen = -1;
    bool m_showingFailure = false;
    bool m_failureTold = false;
    bool m_repeatList = false;
    bool m_busy = false;
    QTimer m_seekWindow;
    // Runs while the medium plays only: a program at rest does not wake.
    QTimer m_positionReport;
    // The seek waiting for the window to close; -1 for none.
    int m_pendingSeek = -1;
};

}  // namespace kivo
