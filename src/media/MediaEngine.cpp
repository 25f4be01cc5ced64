#include "media/MediaEngine.h"

#include "core/WorkerLink.h"
#include "cutlist/FileNames.h"
#include "media/Bitmap.h"
#include "media/Elements.h"
#include "media/Levels.h"
#include "media/MediaProbe.h"
#include "media/Pictures.h"
#include "media/GStreamer.h"
#include "media/PlayingPipeline.h"
#include "media/VideoOutput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

#include <gst/video/videooverlay.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <cstdlib>
#include <utility>

namespace kivo {
namespace {

// How long a pipeline may take to preroll.
constexpr int kPrerollMilliseconds = 7000;
// How long a seek or a pause may take to show its frame.
constexpr int kSettleMilliseconds = 2000;
// How long the end of the program waits for the pipelines to come down:
// they take tens of milliseconds; one that takes longer is left to the end
// of the process.
constexpr int kShutdownMilliseconds = 1000;
// Times closer than this are the same moment.
constexpr double kTimeTolerance = 0.001;

const auto kBusEventType = static_cast<QEvent::Type>(QEvent::User + 13);

// A bus message carried to the engine's thread, tagged with the pipeline it
// came from so that messages of a replaced pipeline are dropped.
class BusEvent : public QEvent {
public:
    BusEvent(GstMessage* message, quint64 generation)
        : QEvent(kBusEventType), m_message(gst_message_ref(message)), m_generation(generation)
    {
    }
    ~BusEvent() override { gst_message_unref(m_message); }
    BusEvent(const BusEvent&) = delete;
    BusEvent& operator=(const BusEvent&) = delete;

    GstMessage* Message() const { return m_message; }
    quint64 Generation() const { return m_generation; }

private:
    GstMessage* m_message;
    quint64 m_generation;
};

// The sound output of a playing pipeline, and whether it reaches a device:
// autoaudiosink stands a fake sink in when no real output opens.
GstElement* AudioOutput(bool* reachesDevice)
{
    *reachesDevice = true;
    if (const char* chosen = std::getenv("KIVO_AUDIO_SINK"); chosen != nullptr && *chosen != '\0')
        return ElementFromDescription("KIVO_AUDIO_SINK", "");
    GstElement* sink = gst_element_factory_make("autoaudiosink", nullptr);
    if (sink != nullptr && gst_element_set_state(sink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
        *reachesDevice = !BinContainsFactory(GST_BIN(sink), "fakesink");
        gst_element_set_state(sink, GST_STATE_NULL);
        if (*reachesDevice)
            return sink;
    }
    if (sink != nullptr)
        gst_object_unref(sink);
    *reachesDevice = false;
    return NullSink();
}

}  // namespace

// What the worker made of a file for Open.
struct RenderedMedium {
    QString path;
    RenderResult outcome = RenderResult::Failed;
    std::shared_ptr<PlayingPipeline> playbin;
    GstElement* panorama = nullptr;
    bool audioOutput = false;
    MediaTracks tracks;
};

namespace {

// Builds and prerolls a pipeline over `path`, on the worker; the preroll is
// given up once `superseded` holds.
void Render(RenderedMedium& rendered, quintptr window, VideoOutput& videoOutput, Pipeline::BusListener listener,
            std::function<void()> streamsChanged, const std::function<bool()>& superseded)
{
    const QString& path = rendered.path;
    // Only regular files are media: opening a named pipe or a device could
    // block for ever.
    if (!StatFile(path).regular) {
        qCWarning(lcEngine).noquote() << "not a regular file:" << path;
        return;
    }
    auto playbin = std::make_shared<PlayingPipeline>(path, std::move(listener));
    if (!playbin->IsValid()) {
        rendered.outcome = playbin->HasGStreamer() ? RenderResult::Failed : RenderResult::NoGStreamer;
        return;
    }
    playbin->SetWindow(window);
    playbin->WhenStreamsChange(std::move(streamsChanged));
    GstElement* panorama = gst_element_factory_make("audiopanorama", nullptr);
    if (panorama != nullptr)
        g_object_set(panorama, "method", 1 /* simple */, nullptr);
    playbin->SetSinks(videoOutput.Take(window), WithOwnVolume(AudioOutput(&rendered.audioOutput)), panorama);
    if (!playbin->Preroll(kPrerollMilliseconds, superseded))
        return;
    if (!rendered.audioOutput && playbin->StreamCount("n-audio") > 0 && playbin->StreamCount("n-video") == 0) {
        rendered.outcome = RenderResult::NoAudioHardware;
        return;
    }
    rendered.outcome = rendered.audioOutput || playbin->StreamCount("n-audio") == 0 ? RenderResult::Success
                                                                                    : RenderResult::AudioNotRendered;
    // A demuxer that keeps the medium's own clock values (MPEG program
    // streams do) starts its timeline at the first time stamp it finds near
    // the start of the file, drops whatever comes before it, and estimates
    // the duration from time stamps near the start and the end. A probe,
    // whose sinks take everything at once, measures the medium instead, and
    // it is shown from its first moment.
    if (const double start = playbin->StreamStart(); start > 0.0) {
        if (const std::optional<Timeline> timeline = MediaProbe::MeasureTimeline(path)) {
            playbin->SetTimeline(timeline->origin, timeline->duration);
            if (std::abs(start - timeline->origin) > kTimeTolerance)
                playbin->Settle(playbin->Seek(0.0, 1.0), kSettleMilliseconds, superseded);
        }
    }
    rendered.tracks = playbin->Tracks();
    rendered.playbin = std::move(playbin);
    rendered.panorama = panorama;
}

}  // namespace

// What the worker's jobs and the pipelines' streaming threads share with
// the engine. They may outlive it: the end of the program does not wait for
// ever for a pipeline to come down.
struct MediaEngine::Shared : WorkerLink<MediaEngine> {
    using WorkerLink::WorkerLink;
    // Moved on by every Open and Close: work for an older one is dropped.
    std::atomic<quint64> generation = 0;
    // The seeks the worker has done, counted as the engine asks for them.
    std::atomic<quint64> seeksDone = 0;
    // Only the worker touches it.
    VideoOutput videoOutput;
};

MediaEngine::MediaEngine(QObject* parent)
    : QObject(parent), m_shared(std::make_shared<Shared>(*this)), m_worker(std::make_unique<QThreadPool>())
{
    m_worker->setMaxThreadCount(1);
}

void MediaEngine::PrepareGStreamer()
{
    Work(EnsureGStreamer);
}

void MediaEngine::PrepareDecoders()
{
    Work([] {
        EnsureGStreamer();
        if (GstPlugin* libav = gst_plugin_load_by_name("libav"))
            gst_object_unref(libav);
    });
}

MediaEngine::~MediaEngine()
{
    // An owner that did not shut the engine down (a tool, a test) has no
    // window to lose: the pipelines come down in full, without a preroll
    // to wait for.
    if (m_worker) {
        Close();
        ++m_shared->generation;
        m_worker->waitForDone();
    }
    m_shared->Cut();
}

bool MediaEngine::Shutdown()
{
    if (!m_worker)
        return !m_workerLeftRunning;
    Close();
    ++m_shared->generation;
    if (!m_worker->waitForDone(kShutdownMilliseconds)) {
        // What the worker does from now on no longer reaches the engine.
        qCWarning(lcEngine) << "a pipeline did not come down in time";
        (void)m_worker.release();
        m_workerLeftRunning = true;
        return false;
    }
    m_worker.reset();
    return true;
}

void MediaEngine::Work(std::function<void()> job)
{
    if (m_worker)
        m_worker->start(std::move(job));
}

void MediaEngine::WaitForWorker()
{
    if (m_worker)
        m_worker->waitForDone();
}

void MediaEngine::Open(const QString& path)
{
    Close();
    m_rcSource = {};
    // Nothing can be done with the medium until it has opened, nor after a
    // failed opening: the old pipeline is gone.
    SetPlayState(PlayState::Empty);
    m_opening = true;
    const quint64 generation = ++m_shared->generation;
    auto rendered = std::make_shared<RenderedMedium>();
    rendered->path = path;
    // The bus's messages reach this thread as events, tagged with their
    // pipeline, so that those of a replaced pipeline are dropped. Tags that
    // only repeat a stream's bitrate would wake this thread several times a
    // second while a file plays: they stay on the streaming thread.
    Pipeline::BusListener listener = [shared = m_shared, generation](GstMessage* message) {
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type != GST_MESSAGE_EOS && type != GST_MESSAGE_ERROR && type != GST_MESSAGE_DURATION_CHANGED &&
            type != GST_MESSAGE_TAG)
            return;
        if (type == GST_MESSAGE_TAG) {
            GstTagList* tags = nullptr;
            gst_message_parse_tag(message, &tags);
            const bool shown = HoldsMediaTags(tags);
            gst_tag_list_unref(tags);
            if (!shown)
                return;
        }
        shared->PostEvent(new BusEvent(message, generation));
    };
    // So are changes of the streams, which are signals of playbin's.
    auto streamsChanged = [shared = m_shared, generation] {
        shared->Post([generation](MediaEngine& engine) { engine.OnStreamsChanged(generation); });
    };
    Work([shared = m_shared, generation, rendered, window = m_windowHandle, listener = std::move(listener),
          streamsChanged = std::move(streamsChanged)] {
        // An open that a later one superseded before its turn (the next
        // object was asked for meanwhile) builds nothing, one superseded
        // while it prerolls stops waiting, and one superseded once built
        // comes down at once, not behind the opens queued after it: holding
        // the "next" key would otherwise keep a pipeline for every object
        // passed until the last one was built.
        const auto superseded = [&shared, generation] { return generation != shared->generation; };
        if (superseded())
            return;
        Render(*rendered, window, shared->videoOutput, listener, streamsChanged, superseded);
        if (superseded()) {
            rendered->playbin.reset();
            return;
        }
        shared->Post([generation, rendered](MediaEngine& engine) { engine.Adopt(generation, rendered); });
    });
}

void MediaEngine::Adopt(quint64 generation, const std::shared_ptr<RenderedMedium>& rendered)
{
    if (generation != m_shared->generation) {
        Discard(std::move(rendered->playbin));
        return;
    }
    m_opening = false;
    m_hrRender = rendered->outcome;
    if (!rendered->playbin) {
        if (m_hrRender == RenderResult::NoGStreamer)
            emit graphMissing();
        emit openFinished(false);
        return;
    }
    m_pipeline = std::move(rendered->playbin);
    m_played = false;
    m_panorama = rendered->panorama;
    m_audioOutput = rendered->audioOutput;
    m_rateInForce = 1.0;
    SetVolume(m_lVolume);
    SetBalance(m_lBalance);
    m_dDuration = m_pipeline->Duration();
    m_strPath = rendered->path;
    GetSourceRect();
    SetTracks(rendered->tracks);
    SetPlayState(PlayState::Stopped);
    if (m_dRate != 1.0)
        SetRate(m_dRate);
    emit opened();
    emit openFinished(true);
}

void MediaEngine::Discard(std::shared_ptr<PlayingPipeline> pipeline)
{
    // Bringing a pipeline down waits for its streaming threads.
    if (pipeline)
        Work([pipeline = std::move(pipeline)]() mutable { pipeline.reset(); });
}

bool MediaEngine::Reopen()
{
    if (!Succeeded(m_hrRender) || m_strPath.isEmpty() || (m_pipeline && !m_played))
        return false;
    Open(m_strPath);
    return true;
}

void MediaEngine::Close()
{
    if (m_opening) {
        m_opening = false;
        ++m_shared->generation;
    }
    if (!m_pipeline)
        return;
    Discard(std::move(m_pipeline));
    m_panorama = nullptr;
    SetTracks({});
    if (std::exchange(m_tags, {}) != MediaTags{})
        emit tagsChanged();
    m_soughtPosition.reset();
    ++m_shared->generation;
}

void MediaEngine::ForgetMedium()
{
    if (m_opening)
        Close();
    SetPlayState(PlayState::Empty);
}

void MediaEngine::SetPlayState(PlayState state)
{
    if (std::exchange(m_nPlayState, state) != state)
        emit stateChanged(state);
}

void MediaEngine::SetTracks(MediaTracks tracks)
{
    if (std::exchange(m_tracks, std::move(tracks)) != m_tracks)
        emit tracksChanged();
}

void MediaEngine::OnStreamsChanged(quint64 generation)
{
    // Until the pipeline is adopted, the streams it ends its preroll with
    // come with it.
    if (generation != m_shared->generation || !m_pipeline)
        return;
    Apply([shared = m_shared, generation](PlayingPipeline& pipeline) {
        shared->Post([generation, read = pipeline.Tracks()](MediaEngine& engine) { engine.TakeStreams(generation, read); });
    });
}

void MediaEngine::TakeStreams(quint64 generation, const MediaTracks& read)
{
    if (generation != m_shared->generation)
        return;
    // The choice stays the one asked for, while the streams still have it.
    MediaTracks tracks = read;
    if (m_tracks.audioChoice < static_cast<int>(tracks.audio.size()))
        tracks.audioChoice = m_tracks.audioChoice;
    if (!m_tracks.subtitleChoice || *m_tracks.subtitleChoice < static_cast<int>(tracks.subtitles.size()))
        tracks.subtitleChoice = m_tracks.subtitleChoice;
    SetTracks(std::move(tracks));
}

void MediaEngine::ChooseAudioTrack(int index)
{
    if (!m_pipeline || index < 0 || index >= static_cast<int>(m_tracks.audio.size()))
        return;
    MediaTracks tracks = m_tracks;
    tracks.audioChoice = index;
    SwitchTracks(std::move(tracks));
}

void MediaEngine::ChooseSubtitle(std::optional<int> index)
{
    if (!m_pipeline || (index && (*index < 0 || *index >= static_cast<int>(m_tracks.subtitles.size()))))
        return;
    MediaTracks tracks = m_tracks;
    tracks.subtitleChoice = index;
    SwitchTracks(std::move(tracks));
}

void MediaEngine::SwitchTracks(MediaTracks tracks)
{
    const bool shownChanges = tracks.subtitleChoice.has_value() != m_tracks.subtitleChoice.has_value();
    SetTracks(std::move(tracks));
    // A paused playbin that switches streams may deadlock on the flushing
    // seek that would show the switch: its stream synchronizer waits for a
    // subtitle stream that waits for video. Paused, the frame shows only
    // whether there are subtitles (sought again when that changes), and the
    // streams switch when play starts.
    if (m_nPlayState == PlayState::Playing) {
        Apply(SwitchStreams(m_tracks));
        return;
    }
    Apply([choice = m_tracks](PlayingPipeline& pipeline) { pipeline.Choose(choice, false); });
    if (shownChanges)
        Reposition(GetPosition(), std::nullopt);
}

MediaEngine::Change MediaEngine::SwitchStreams(MediaTracks choice)
{
    // What the pipeline holds of the streams it played until now would be
    // heard for a while: it is flushed where it is.
    return [choice = std::move(choice)](PlayingPipeline& pipeline) {
        if (pipeline.Choose(choice, true))
            pipeline.Seek(pipeline.Position(), pipeline.Rate());
    };
}

void MediaEngine::Apply(Change change)
{
    if (!m_pipeline)
        return;
    Work([shared = m_shared, generation = m_shared->generation.load(), pipeline = m_pipeline,
          change = std::move(change)] {
        if (generation == shared->generation)
            change(*pipeline);
    });
}

void MediaEngine::StartPlayback()
{
    if (m_nPlayState != PlayState::Stopped && m_nPlayState != PlayState::Paused)
        return;
    emit aboutToPlay();
    m_played = true;
    Apply([](PlayingPipeline& pipeline) { gst_element_set_state(pipeline.Element(), GST_STATE_PLAYING); });
    Apply(SwitchStreams(m_tracks));
    SetPlayState(PlayState::Playing);
}

void MediaEngine::PausePlayback()
{
    if (m_nPlayState != PlayState::Playing && m_nPlayState != PlayState::Stopped)
        return;
    // A stopped pipeline is paused already and shows its frame.
    if (m_nPlayState == PlayState::Playing)
        Apply([](PlayingPipeline& pipeline) { gst_element_set_state(pipeline.Element(), GST_STATE_PAUSED); });
    SetPlayState(PlayState::Paused);
}

void MediaEngine::StopPlayback()
{
    if (m_nPlayState != PlayState::Playing && m_nPlayState != PlayState::Paused)
        return;
    if (m_nPlayState == PlayState::Playing)
        Apply([](PlayingPipeline& pipeline) { gst_element_set_state(pipeline.Element(), GST_STATE_PAUSED); });
    SetPlayState(PlayState::Stopped);
    if (m_options.autoRewind)
        SetPosition(0.0);
}

double MediaEngine::GetPosition() const
{
    if (!m_pipeline)
        return 0.0;
    if (m_soughtPosition && m_shared->seeksDone < m_seeksAsked)
        return *m_soughtPosition;
    return m_pipeline->Position();
}

void MediaEngine::Reposition(std::optional<double> position, std::optional<double> rate)
{
    if (!m_pipeline)
        return;
    m_soughtPosition = position ? *position : GetPosition();
    const quint64 seek = ++m_seeksAsked;
    // A still picture must show the new place.
    const bool settle = m_nPlayState != PlayState::Playing;
    const quint64 rateRequest = m_rateRequests;
    Apply([shared = m_shared, generation = m_shared->generation.load(), position, rate, settle, seek,
           rateRequest](PlayingPipeline& pipeline) {
        const bool accepted = pipeline.Seek(position ? *position : pipeline.Position(), rate ? *rate : pipeline.Rate());
        if (settle)
            pipeline.Settle(accepted, kSettleMilliseconds, [&] { return generation != shared->generation; });
        shared->seeksDone = seek;
        if (rate && !accepted) {
            shared->Post([generation, rateRequest, inForce = pipeline.Rate()](MediaEngine& engine) {
                engine.OnRateRefused(generation, rateRequest, inForce);
            });
        }
    });
}

void MediaEngine::SetPosition(double seconds)
{
    Reposition(seconds, std::nullopt);
}

double MediaEngine::GetRate() const
{
    // Without a pipeline, the rate the next one opens with.
    return m_pipeline ? m_rateInForce : m_dRate;
}

void MediaEngine::SetRate(double rate)
{
    m_dRate = rate;
    // A pipeline plays forwards only.
    if (!m_pipeline || !(rate > 0.0))
        return;
    m_rateInForce = rate;
    ++m_rateRequests;
    Reposition(std::nullopt, rate);
}

void MediaEngine::OnRateRefused(quint64 generation, quint64 request, double rateInForce)
{
    // A later request, or pipeline, has its own answer coming.
    if (generation == m_shared->generation && request == m_rateRequests)
        m_rateInForce = rateInForce;
}

void MediaEngine::SetVolume(long volume)
{
    m_lVolume = volume;
    Apply([amplitude = VolumeToAmplitude(volume)](PlayingPipeline& pipeline) {
        g_object_set(pipeline.Element(), "volume", amplitude, nullptr);
    });
}

void MediaEngine::SetBalance(long balance)
{
    m_lBalance = balance;
    if (m_panorama != nullptr) {
        Apply([panorama = m_panorama, position = static_cast<gfloat>(BalanceToPanorama(balance))](PlayingPipeline&) {
            g_object_set(panorama, "panorama", position, nullptr);
        });
    }
}

void MediaEngine::SetMute(bool on)
{
    if (on && !m_bMuted) {
        m_lSavedVolume = m_lVolume;
        SetVolume(kSilence);
        m_bMuted = true;
    } else if (!on && m_bMuted) {
        SetVolume(m_lSavedVolume);
        m_bMuted = false;
    }
}

QSize MediaEngine::VideoSize() const
{
    return m_pipeline ? m_pipeline->VideoSize() : QSize();
}

bool MediaEngine::HasVideo() const
{
    return !VideoSize().isEmpty();
}

bool MediaEngine::HasAudio() const
{
    return m_audioOutput && m_pipeline && m_pipeline->RendersAudio();
}

void MediaEngine::GetSourceRect()
{
    const QSize size = VideoSize();
    m_rcSource = size.isValid() ? SourceRect{0, 0, size.width(), size.height()} : SourceRect{};
}

void MediaEngine::SetWindowHandle(quintptr handle)
{
    m_windowHandle = handle;
    if (m_pipeline)
        m_pipeline->SetWindow(handle);
}

void MediaEngine::SetVideoRectangle(const EdgeRect& rect)
{
    m_videoRect = rect;
    // playbin passes the rectangle on to its video sink, when that sink
    // draws into a window.
    if (m_pipeline && m_windowHandle != 0 && rect.Width() > 0 && rect.Height() > 0) {
        GstVideoOverlay* overlay = GST_VIDEO_OVERLAY(m_pipeline->Element());
        gst_video_overlay_set_render_rectangle(overlay, rect.left, rect.top, rect.Width(), rect.Height());
        gst_video_overlay_expose(overlay);
    }
}

bool MediaEngine::event(QEvent* event)
{
    if (event->type() != kBusEventType)
        return QObject::event(event);
    const auto* busEvent = static_cast<BusEvent*>(event);
    if (busEvent->Generation() != m_shared->generation || !m_pipeline)
        return true;
    switch (GST_MESSAGE_TYPE(busEvent->Message())) {
    case GST_MESSAGE_EOS:
        OnRunEnded(true);
        break;
    case GST_MESSAGE_ERROR:
        // A broken stream ends the run, so that a cut list plays on; it is
        // not repeated.
        if (m_nPlayState == PlayState::Playing)
            OnRunEnded(false);
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        if (const double duration = m_pipeline->Duration(); duration > 0.0)
            m_dDuration = duration;
        break;
    case GST_MESSAGE_TAG: {
        GstTagList* tags = nullptr;
        gst_message_parse_tag(busEvent->Message(), &tags);
        const bool changed = MergeTags(m_tags, tags);
        gst_tag_list_unref(tags);
        if (changed)
            emit tagsChanged();
        break;
    }
    default:
        break;
    }
    return true;
}

void MediaEngine::OnRunEnded(bool mayRepeat)
{
    if (mayRepeat && m_options.repeat) {
        SetPosition(0.0);
        return;
    }
    emit runEnded();
    if (m_options.autoRewind)
        SetPosition(0.0);
}

void MediaEngine::CaptureFrame()
{
    if (!m_pipeline) {
        emit frameCaptured(false);
        return;
    }
    PausePlayback();
    // Pausing keeps the picture on show; the frame is taken once the worker
    // has done what was asked before (a seek shows its new frame).
    Work([shared = m_shared, pipeline = m_pipeline] {
        auto bitmap = std::make_shared<QByteArray>();
        if (const QImage frame = pipeline->CurrentFrame(); !frame.isNull())
            *bitmap = PackedBitmapFromImage(frame);
        shared->Post([bitmap](MediaEngine& engine) {
            if (!bitmap->isEmpty())
                engine.m_snapshotBitmap = *bitmap;
            emit engine.frameCaptured(!bitmap->isEmpty());
        });
    });
}

QStringList MediaEngine::ListFilters() const
{
    return m_pipeline ? FiltersInPipeline(GST_BIN(m_pipeline->Element())) : QStringList();
}

GstElement* MediaEngine::FindFilterByName(const QString& name) const
{
    return m_pipeline ? FindElementByFactoryName(GST_BIN(m_pipeline->Element()), name) : nullptr;
}

bool OpenAndWait(MediaEngine& engine, const QString& path)
{
    QEventLoop loop;
    bool succeeded = false;
    QObject::connect(&engine, &MediaEngine::openFinished, &loop, [&](bool ok) {
        succeeded = ok;
        loop.quit();
    });
    engine.Open(path);
    loop.exec();
    return succeeded;
}

bool CaptureFrameAndWait(MediaEngine& engine)
{
    QEventLoop loop;
    std::optional<bool> captured;
    QObject::connect(&engine, &MediaEngine::frameCaptured, &loop, [&](bool ok) {
        captured = ok;
        loop.quit();
    });
    engine.CaptureFrame();
    if (!captured)
        loop.exec();
    return *captured;
}

}  // namespace kivo
