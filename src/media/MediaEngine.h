#pragma once

#include "core/PlayState.h"
#include "media/Geometry.h"
#include "media/MediaTags.h"
#include "media/MediaTracks.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <optional>

typedef struct _GstElement GstElement;

namespace kivo {

class PlayingPipeline;
struct RenderedMedium;

// How rendering the last opened file went.
enum class RenderResult {
    Success,
    AudioNotRendered,  // the file plays, without sound: no audio output works
    NoAudioHardware,   // a sound-only file, and no audio output works
    Failed,            // not a playable medium, missing, unreadable, no decoder
    NoGStreamer,       // the pipeline itself cannot be made
};
inline bool Succeeded(RenderResult result)
{
    return result == RenderResult::Success || result == RenderResult::AudioNotRendered;
}

// The player's switches.
struct PlayerOptions {
    bool stretch = false;     // the picture fills the window, its aspect not kept
    bool autoRewind = false;  // back to the start when a run stops or ends
    bool repeat = false;      // the medium plays again instead of ending
    bool autoSize = false;    // the window takes the video's own size on play
    bool fullScreen = false;  // full screen was asked for last
};

// The source rectangle of the video, in video pixels.
struct SourceRect {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
};

// One GStreamer pipeline (a playbin) that renders one media file at a time.
// Every Open builds a fresh pipeline. "Stopped" and "paused" are both the
// prerolled PAUSED state, so the position and the shown frame survive a
// stop; "playing" is PLAYING.
//
// The engine belongs to the thread that creates it, and never makes that
// thread wait. Its own worker is the one thread that changes a pipeline:
// it builds, prerolls and measures it, carries out every change of state,
// position, rate and level in the order they were asked for, settles a
// paused seek, captures a frame and tears the pipeline down. State() is the
// state last asked for, and changes at once; the position answers the place
// last sought until the worker has sought it. Results, and the bus's
// messages, come back through the owner's event loop tagged with the
// pipeline's generation; those of a replaced pipeline are dropped.
class MediaEngine : public QObject {
    Q_OBJECT

public:
    explicit MediaEngine(QObject* parent = nullptr);
    ~MediaEngine() override;
    // Brings the pipelines down and waits a while for the worker, without
    // waiting for a preroll: at the end of the program, before the window
    // the video is drawn into goes. Nothing can be opened afterwards. False
    // when the worker was still busy after the wait: it is left running,
    // and the process must then end without running the libraries' own
    // ends under it. Without it, the engine's end waits for the worker.
    bool Shutdown();

    // Starts rendering `path` into a new pipeline, to be prerolled and
    // stopped at 0 with the current levels; openFinished tells how it went
    // (m_hrRender says why it failed) unless another Open comes first.
    // Until then, and after a failure, the state is Empty.
    void Open(const QString& path);
    // Reads GStreamer's registry on the worker, tens of milliseconds, ahead
    // of the first pipeline (which reads it otherwise). Asked for once the
    // window is up: on a machine of few cores, reading it as the window
    // comes up delays the window.
    void PrepareGStreamer();
    // As PrepareGStreamer, and loads libav's decoders too, those of nearly
    // every video and of much sound: about 200 ms the first time, which the
    // first object opened would wait for otherwise. While they load, no
    // other thread can load a library, and a window that does stalls: asked
    // for only where the window waits anyway, as a scenario is read.
    void PrepareDecoders();
    // Opens m_strPath again when it rendered successfully (back to 0);
    // false when there is nothing to open again. A pipeline that has not
    // played since it opened is as fresh as one opened again: it stays.
    bool Reopen();
    bool IsOpening() const { return m_opening; }
    void Close();
    bool HasGraph() const { return m_pipeline != nullptr; }

    void StartPlayback();
    void PausePlayback();
    void StopPlayback();

    // Seconds; 0.0 without a pipeline. The pipeline is asked directly (a
    // query is answered under GStreamer's locks), unless a seek asked for is
    // still to be done: then it is where that seek goes.
    double GetPosition() const;
    void SetPosition(double seconds);
    // The rate in force; without a pipeline, the rate the next one opens with.
    double GetRate() const;
    // Stores the rate and asks the pipeline for it. A rate that is not
    // positive is refused at once; one the pipeline refuses (it cannot seek)
    // puts the old one back once the worker has tried it.
    void SetRate(double rate);

    void SetVolume(long volume);
    void SetBalance(long balance);
    void SetMute(bool on);

    bool HasVideo() const;
    bool HasAudio() const;
    QSize VideoSize() const;
    // Reads the video's source rectangle into m_rcSource (zeros without video).
    void GetSourceRect();

    // Draws the video into this native window (0: no window).
    void SetWindowHandle(quintptr handle);
    quintptr WindowHandle() const { return m_windowHandle; }
    // Where in that window the video goes, in device pixels; kept for every
    // pipeline to come.
    void SetVideoRectangle(const EdgeRect& rect);
    const EdgeRect& VideoRectangle() const { return m_videoRect; }

    // Waits until the worker has done what it was given (a seek has
    // settled): for command-line tools and tests, never on a window's
    // thread.
    void WaitForWorker();

    // Pauses the pipeline and has the worker grab the frame it then shows
    // into m_snapshotBitmap (a packed bitmap); frameCaptured tells how it
    // went, at once when there is no pipeline.
    void CaptureFrame();

    // The audio and subtitle streams of the medium open and the choice in
    // force: a new medium starts with its own default choice. A choice is
    // in force at once, as the state is; the worker then switches the
    // pipeline while it plays. A still picture shows at once whether there
    // are subtitles; the streams switch when play starts.
    const MediaTracks& Tracks() const { return m_tracks; }
    void ChooseAudioTrack(int index);
    void ChooseSubtitle(std::optional<int> index);  // nothing: none

    // Names of the registered elements with a sink pad, in registry order,
    // of which an element is in the pipeline.
    QStringList ListFilters() const;
    // The first element in the pipeline whose factory has this long name
    // (a new reference, or null).
    GstElement* FindFilterByName(const QString& name) const;

    // What the engine holds and how it is set.
    PlayState State() const { return m_nPlayState; }
    // The medium is forgotten (nothing is open for the list), though the
    // pipeline stays until the next Open; an opening is given up.
    void ForgetMedium();
    double Duration() const { return m_dDuration; }
    // What the medium's tags say, as far as they have come.
    const MediaTags& Tags() const { return m_tags; }
    RenderResult RenderOutcome() const { return m_hrRender; }
    const QString& Path() const { return m_strPath; }
    const PlayerOptions& Options() const { return m_options; }
    void SetOptions(const PlayerOptions& options) { m_options = options; }
    void SetOption(bool PlayerOptions::*option, bool on) { m_options.*option = on; }
    bool IsMuted() const { return m_bMuted; }
    long Volume() const { return m_lVolume; }
    long Balance() const { return m_lBalance; }
    // The rate last asked for; GetRate is the one in force.
    double RequestedRate() const { return m_dRate; }
    const SourceRect& SourceRectangle() const { return m_rcSource; }
    // The last captured frame as a packed bitmap.
    const QByteArray& SnapshotBitmap() const { return m_snapshotBitmap; }

signals:
    // The pipeline cannot be made at all ("GStreamer is not Installed.").
    void graphMissing();
    // A file has been opened: its video size may differ from the last one.
    void opened();
    // The last Open is over, well or not.
    void openFinished(bool succeeded);
    // A run is about to start.
    void aboutToPlay();
    // State() has changed.
    void stateChanged(PlayState state);
    // The frame CaptureFrame asked for is in SnapshotBitmap, or could not be
    // taken.
    void frameCaptured(bool captured);
    // Tracks() has changed: the streams, or the choice among them.
    void tracksChanged();
    // The medium played to its end (and does not repeat); with AutoRewind it
    // goes back to its start after this is told.
    void runEnded();
    // Tags() has changed: the medium's tags came while it was opened or
    // played, or another medium was opened.
    void tagsChanged();

protected:
    bool event(QEvent* event) override;

private:
    PlayState m_nPlayState = PlayState::Empty;
    double m_dDuration = 0.0;
    MediaTags m_tags;
    RenderResult m_hrRender = RenderResult::Success;
    PlayerOptions m_options;
    QString m_strPath;
    long m_lSavedVolume = 0;
    bool m_bMuted = false;
    long m_lVolume = 0;
    long m_lBalance = 0;
    double m_dRate = 1.0;
    SourceRect m_rcSource;
    QByteArray m_snapshotBitmap;
    MediaTracks m_tracks;

    void SetPlayState(PlayState state);
    // Has the worker change the current pipeline, after what it was asked
    // before; dropped once the pipeline has been replaced.
    using Change = std::function<void(PlayingPipeline&)>;
    void Apply(Change change);
    // Has the worker seek to `position` (nothing: where the pipeline is) at
    // `rate` (nothing: the rate in force), and wait for a pipeline that does
    // not play to show the frame there.
    void Reposition(std::optional<double> position, std::optional<double> rate);
    // The worker's pipeline refused the rate asked for by the rate request
    // `request`, and keeps `rateInForce`.
    void OnRateRefused(quint64 generation, quint64 request, double rateInForce);
    // The end of a run: repeat it (with Repeat, when `mayRepeat`), or tell
    // of it and rewind with AutoRewind.
    void OnRunEnded(bool mayRepeat);

    // The pipeline of `generation` reports new audio or subtitle streams:
    // the worker reads them.
    void OnStreamsChanged(quint64 generation);
    // The streams the worker read, back on the engine's thread.
    void TakeStreams(quint64 generation, const MediaTracks& read);
    void SetTracks(MediaTracks tracks);
    // Puts `tracks` in force and has the worker switch the pipeline to them.
    void SwitchTracks(MediaTracks tracks);
    // The job that has a playing pipeline play `choice`'s streams.
    static Change SwitchStreams(MediaTracks choice);

    // The worker's result of Open, back on the engine's thread.
    void Adopt(quint64 generation, const std::shared_ptr<RenderedMedium>& rendered);
    // Hands a pipeline to the worker to be torn down.
    void Discard(std::shared_ptr<PlayingPipeline> pipeline);
    // Gives the worker a job, unless it was shut down.
    void Work(std::function<void()> job);

    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<QThreadPool> m_worker;
    bool m_workerLeftRunning = false;
    bool m_opening = false;
    std::shared_ptr<PlayingPipeline> m_pipeline;
    // Whether the pipeline has played since it opened.
    bool m_played = false;
    GstElement* m_panorama = nullptr;  // balance, inside the pipeline's audio filter
    quintptr m_windowHandle = 0;
    EdgeRect m_videoRect;
    bool m_audioOutput = false;  // the pipeline's sound reaches an output
    // The rate in force as far as this thread knows: the worker reports a
    // rate its pipeline refuses.
    double m_rateInForce = 1.0;
    quint64 m_rateRequests = 0;
    // Where the last seek asked for goes, until the worker has sought it
    // (Shared::seeksDone reaches m_seeksAsked).
    std::optional<double> m_soughtPosition;
    quint64 m_seeksAsked = 0;
};

// Opens `path` and waits for the outcome: for command-line tools and tests,
// never on a window's thread.
bool OpenAndWait(MediaEngine& engine, const QString& path);
// Captures the frame shown and waits for it: for command-line tools and
// tests, never on a window's thread.
bool CaptureFrameAndWait(MediaEngine& engine);

}  // namespace kivo
