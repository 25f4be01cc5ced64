#pragma once

#include "media/Geometry.h"
#include "media/ManualResetEvent.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <thread>

typedef struct _GstElement GstElement;

namespace kivo {

struct PipelineBus;

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

// Play states, also reported to the main window.
enum PlayState {
    kPlayStateEmpty = 0,
    kPlayStateStopped = 1,
    kPlayStatePaused = 2,
    kPlayStatePlaying = 3,
};

// Event codes of the end-of-run notification.
constexpr int EC_COMPLETE = 1;
constexpr int EC_USERABORT = 2;

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
// The engine belongs to the thread that creates it; bus messages reach that
// thread through its event loop, and the end of a run is reported there.
// Only WaitPreviewDone and, after it, the queries and the capture of a
// preview may be called from another thread, one at a time.
class MediaEngine : public QObject {
    Q_OBJECT

public:
    using NotifyTarget = std::function<void(int eventCode, qintptr param)>;

    explicit MediaEngine(QObject* parent = nullptr);
    ~MediaEngine() override;

    // Renders `path` into a new pipeline, prerolled and stopped at 0 with
    // the current levels. False on failure; m_hrRender tells why.
    bool Open(const QString& path);
    // Opens m_strPath again when it rendered successfully: back to 0.
    void Reopen();
    void Close();
    bool HasGraph() const { return m_pipeline != nullptr; }

    void StartPlayback();
    void PausePlayback();
    void StopPlayback();

    // Seconds; 0.0 without a pipeline.
    double GetPosition() const;
    void SetPosition(double seconds);
    // The rate in force; 0.0 without a pipeline.
    double GetRate() const;
    // Stores the rate and asks the pipeline for it; a rate the pipeline
    // refuses leaves the old one in force.
    void SetRate(double rate);

    void SetVolume(long volume);
    void SetBalance(long balance);
    void SetMute(bool on);

    bool HasVideo() const;
    bool HasAudio() const;
    QSize VideoSize() const;
    // Reads the video's source rectangle into m_rcSource (zeros without video).
    void GetSourceRect();

    // Who hears of the end of a run, with the value passed along.
    void SetNotifyTarget(NotifyTarget target, qintptr param);
    // Draws the video into this native window (0: no window).
    void SetWindowHandle(quintptr handle);
    // Where in that window the video goes, in device pixels; kept for every
    // pipeline to come.
    void SetVideoRectangle(const EdgeRect& rect);
    const EdgeRect& VideoRectangle() const { return m_videoRect; }

    // The preview run: opens m_strPreviewPath with its sound going nowhere
    // and, for a medium with video, brings the frame at one second (or the
    // first frame of shorter media) into view, giving up after 7 seconds.
    // Returns at once; WaitPreviewDone waits for the run.
    void OpenPreview();
    void WaitPreviewDone();

    // Pauses the pipeline and grabs its current frame into m_frame and
    // m_snapshotBitmap (a packed bitmap).
    bool CaptureFrame();
    // The 64 x 48 thumbnail: the captured frame fitted into 58 x 42 at
    // (3, 3) on the frame picture 216.
    bool MakeThumbnail(QImage& thumbnail);

    // Names of the registered elements with a sink pad, in registry order,
    // of which an element is in the pipeline.
    QStringList ListFilters() const;
    // The first element in the pipeline whose factory has this long name
    // (a new reference, or null).
    GstElement* FindFilterByName(const QString& name) const;

    int m_nPlayState = kPlayStateEmpty;
    double m_dDuration = 0.0;
    RenderResult m_hrRender = RenderResult::Success;
    bool m_bStretch = false;
    bool m_bCentre = true;
    bool m_bAutoRewind = false;
    bool m_bRepeat = false;
    bool m_bAutoSize = false;
    bool m_bFullScreen = false;
    QString m_strPreviewPath;
    QString m_strPath;
    bool m_bPreviewOk = false;
    bool m_bPreview = false;
    long m_lSavedVolume = 0;
    bool m_bMuted = false;
    long m_lVolume = 0;
    long m_lBalance = 0;
    double m_dRate = 1.0;
    SourceRect m_rcSource;
    QImage m_frame;
    QByteArray m_snapshotBitmap;
    QSize m_sizeSnapshot;

signals:
    // The pipeline cannot be made at all ("GStreamer is not Installed.").
    void graphMissing();
    // A file has been opened: its video size may differ from the last one.
    void opened();
    // A run is about to start.
    void aboutToPlay();

protected:
    bool event(QEvent* event) override;

private:
    bool BuildPipeline(const QString& path);
    // A flushing seek; to the exact position, or to the nearest key frame.
    bool Seek(double position, double rate, double stop, bool toKeyFrame = false);
    bool WaitForPreroll(int milliseconds) const;
    // Finds where the medium of the prerolled pipeline begins and how long
    // it lasts, from the time stamps its sinks receive, when its demuxer
    // only estimates them (`estimatedEnd`, in stream time, is its guess);
    // leaves the pipeline at that beginning.
    void MeasureTimeline(const QString& path, double estimatedEnd);
    // Whether the video sink holds a frame to show.
    bool HasFrame() const;
    // Waits, within the time given, for a seek in the paused pipeline to
    // show its frame; a refused seek that left no frame puts the pipeline
    // back at its first frame.
    void SettleAfterSeek(bool accepted, int milliseconds);
    // The end of a run: repeat it (with Repeat, when `mayRepeat`), or tell
    // the notification target and rewind with AutoRewind.
    void OnRunEnded(bool mayRepeat);
    void JoinPreviewWorker();

    GstElement* m_pipeline = nullptr;
    GstElement* m_panorama = nullptr;  // balance, inside the pipeline's audio filter
    PipelineBus* m_bus = nullptr;
    quint64 m_generation = 0;
    quintptr m_windowHandle = 0;
    EdgeRect m_videoRect;
    bool m_audioOutput = false;  // the pipeline's sound reaches an output
    double m_rateInForce = 1.0;
    mutable double m_lastPosition = 0.0;
    // Where the medium begins in its pipeline's stream time: positions count
    // from there.
    double m_origin = 0.0;
    // The duration and the beginning were measured, not taken from the demuxer.
    bool m_timelineMeasured = false;
    NotifyTarget m_notifyTarget;
    qintptr m_notifyParam = 0;
    ManualResetEvent m_hPreviewDone;
    std::thread m_previewWorker;
};

}  // namespace kivo
