// First frames in the real window: a cut list of 20 video clips of mixed
// formats is added to the shown main window, then
//  - Play on its cued first object, to the first frame that reaches the
//    player window's video sink;
//  - the list plays through: from the end of each object (its end of stream
//    reaching the video sink) to the next object's first frame there.
// Beside it, in the same run, gst-play-1.0 plays the same files with the
// same video sink: from its naming of the first file to that file's first
// frame, and from each file's end of stream to the next file's first frame.
// Goals: first frame <= 150 ms, next object <= 250 ms (medians; the worst is
// printed too).
//
// Usage: first_frame_bench MEDIA_DIR
//   MEDIA_DIR holds the clips that tests/media/make-test-media.sh writes.
// Run it on a display (xvfb-run) with KIVO_AUDIO_SINK set to
// "fakesink sync=true" and KIVO_VIDEO_SINK unset: the program's own video
// sink draws into the player window.

#include "FirstRun.h"
#include "core/Settings.h"
#include "cutlist/CutListModel.h"
#include "ui/Application.h"
#include "ui/Flow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kClips = 20;
// MPEG-1, MPEG-2, Motion JPEG in AVI, H.264 in QuickTime, VP8 in Matroska,
// MPEG-4 part 2 in AVI, H.264 in MP4, VP9 in WebM, H.264 in Matroska, Video CD.
const char* const kFormats[] = {"video.mpg", "video-mpeg2.mpg", "video-only.avi", "video.mov",  "video.mkv",
                                "video.avi", "today.mp4",       "today.webm",     "today.mkv", "vcd.dat"};
constexpr int kLongestWaitMs = 60000;
// The clips last 3 s each.
constexpr int kPlayThroughMs = kClips * 10000;

// What reached the video sinks, in the order it came.
struct Arrival {
    Clock::time_point at;
    bool endOfStream;  // otherwise a frame
};

class Arrivals {
public:
    void Add(bool endOfStream)
    {
        const std::lock_guard lock(m_mutex);
        m_arrivals.push_back({Clock::now(), endOfStream});
    }

    std::vector<Arrival> Taken() const
    {
        const std::lock_guard lock(m_mutex);
        return m_arrivals;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Arrival> m_arrivals;
};

Arrivals g_arrivals;

// Every video sink that any bin takes has its frames and its end of stream
// noted as they reach it, from whichever pipeline the program builds.
gboolean OnElementAdded(GSignalInvocationHint*, guint, const GValue* values, gpointer)
{
    auto* element = GST_ELEMENT(g_value_get_object(&values[1]));
    GstElementFactory* factory = gst_element_get_factory(element);
    const char* klass = factory != nullptr ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : "";
    if (GST_IS_BIN(element) || !g_str_has_prefix(klass, "Sink/Video"))
        return TRUE;
    if (GstPad* pad = gst_element_get_static_pad(element, "sink")) {
        gst_pad_add_probe(
            pad, static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
            [](GstPad*, GstPadProbeInfo* info, gpointer) {
                if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER)
                    g_arrivals.Add(false);
                else if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_EOS)
                    g_arrivals.Add(true);
                return GST_PAD_PROBE_OK;
            },
            nullptr, nullptr);
        gst_object_unref(pad);
    }
    return TRUE;
}

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// The first frame after `from`, in ms from it.
std::optional<double> FrameAfter(const std::vector<Arrival>& arrivals, Clock::time_point from)
{
    for (const Arrival& arrival : arrivals) {
        if (!arrival.endOfStream && arrival.at >= from)
            return Milliseconds(arrival.at - from);
    }
    return std::nullopt;
}

// From each end of stream to the next frame, for all but the last end.
std::vector<double> NextObjectTimes(const std::vector<Arrival>& arrivals)
{
    std::vector<Clock::time_point> ends;
    for (const Arrival& arrival : arrivals) {
        if (arrival.endOfStream)
            ends.push_back(arrival.at);
    }
    std::vector<double> times;
    for (size_t end = 0; end + 1 < ends.size(); ++end) {
        if (const std::optional<double> next = FrameAfter(arrivals, ends[end]))
            times.push_back(*next);
    }
    return times;
}

struct Figures {
    double firstFrame = -1.0;
    std::vector<double> nextObject;
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Worst(const std::vector<double>& values)
{
    return values.empty() ? -1.0 : *std::max_element(values.begin(), values.end());
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "first_frame_bench: %s\n", what);
    std::exit(1);
}

void WaitFor(const char* what, const std::function<bool()>& done, int milliseconds = kLongestWaitMs)
{
    if (!QTest::qWaitFor(done, milliseconds))
        Fail(what);
}

// The cut list's files: copies of the generated clips, each of its own name
// so that each is examined.
QStringList CopyClips(const QString& media, const QDir& folder)
{
    QStringList paths;
    for (int clip = 0; clip < kClips; ++clip) {
        const QString source = QString::fromUtf8(kFormats[clip % std::size(kFormats)]);
        const QString path = folder.filePath(QStringLiteral("%1-%2").arg(clip + 1, 2, 10, QLatin1Char('0')).arg(source));
        if (!QFile::copy(QDir(media).filePath(source), path))
            Fail("cannot copy the clips");
        paths.append(path);
    }
    return paths;
}

Figures KivoRun(const QStringList& paths)
{
    kivo::Settings settings;
    kivo::Flow flow(settings);
    kivo::MainWindow& window = flow.Window();
    kivo::CutListModel& list = window.List();
    window.show();
    WaitFor("the main window did not show", [&] { return window.windowHandle() && window.windowHandle()->isExposed(); });
    bool added = false;
    window.AddMedia(paths, [&added] { added = true; });
    WaitFor("the clips were not added", [&] { return added && list.GetItemCount() == paths.size(); });
    // As a user would, press play once the wait cursor has gone: the first
    // object is cued then.
    WaitFor("the first object was not cued", [&] {
        return window.Commands().IsEnabled(kivo::Command::PlayPause) && QGuiApplication::overrideCursor() == nullptr;
    });

    Figures figures;
    const Clock::time_point play = Clock::now();
    window.Commands().Run(kivo::Command::PlayPause);
    WaitFor("the first object showed no frame", [&] { return FrameAfter(g_arrivals.Taken(), play).has_value(); });
    figures.firstFrame = *FrameAfter(g_arrivals.Taken(), play);
    // The list ends by cueing its first object again.
    WaitFor("the list did not play through", [&] { return list.FindCurrentItem() == kClips - 1; }, kPlayThroughMs);
    WaitFor("the list did not end", [&] { return list.FindCurrentItem() == 0; });
    std::vector<Arrival> played = g_arrivals.Taken();
    played.erase(played.begin(), std::find_if(played.begin(), played.end(), [&](const Arrival& a) { return a.at >= play; }));
    figures.nextObject = NextObjectTimes(played);
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        Fail(qPrintable(QStringLiteral("a message box came up: ") + box->text()));
    window.Document().SetModified(false);
    return figures;
}

// gst-play-1.0 over the same files; what reaches its video sink is read from
// the lines an identity in front of the sink prints, each timed as it comes.
Figures ReferenceRun(const QStringList& paths)
{
    QProcess player;
    player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    std::vector<Arrival> arrivals;
    std::optional<Clock::time_point> named;
    QByteArray pending;
    QObject::connect(&player, &QProcess::readyReadStandardOutput, [&] {
        pending += player.readAllStandardOutput();
        const Clock::time_point now = Clock::now();
        for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
            const QByteArrayView line = QByteArrayView(pending).first(end);
            if (line.startsWith("Now playing") && !named)
                named = now;
            else if (line.contains("last-message = chain"))
                arrivals.push_back({now, false});
            else if (line.contains("last-message = event") && line.contains("type: eos"))
                arrivals.push_back({now, true});
        }
    });
    player.start(QStringLiteral("gst-play-1.0"),
                 QStringList{QStringLiteral("-v"), QStringLiteral("--no-interactive"),
                             QStringLiteral("--audiosink=fakesink sync=true"),
                             QStringLiteral("--videosink=identity silent=false ! autovideosink")} +
                     paths);
    if (!player.waitForStarted() || !player.waitForFinished(kPlayThroughMs) || !named)
        Fail("gst-play-1.0 did not play the files");
    return {FrameAfter(arrivals, *named).value_or(-1.0), NextObjectTimes(arrivals)};
}

void Print(const char* figure, double ms, double reference, const char* goal)
{
    std::printf("%-52s %9.1f ms %16s %9.1f ms  %s\n", figure, ms, "gst-play-1.0", reference, goal);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        Fail("usage: first_frame_bench MEDIA_DIR");
    // A profile and a data folder of the run's own: a first run.
    QTemporaryDir work;
    if (!work.isValid() || !QDir(work.path()).mkpath(QStringLiteral("clips")))
        Fail("cannot make a temporary folder");
    kivo::bench::UseFirstRunFolders(work);

    QApplication application(argc, argv);
    kivo::SetUpApplication(application);
    gst_init(nullptr, nullptr);
    // A signal is known once its class is.
    g_type_class_unref(g_type_class_ref(GST_TYPE_BIN));
    g_signal_add_emission_hook(g_signal_lookup("element-added", GST_TYPE_BIN), 0, OnElementAdded, nullptr, nullptr);
    const QStringList paths = CopyClips(QFile::decodeName(argv[1]), QDir(work.filePath(QStringLiteral("clips"))));

    const Figures kivo = KivoRun(paths);
    const Figures reference = ReferenceRun(paths);
    Print("first frame after Play on a cued object", kivo.firstFrame, reference.firstFrame, "<= 150 ms");
    Print("next object's first frame, 20 clips: median", Median(kivo.nextObject), Median(reference.nextObject),
          "<= 250 ms");
    Print("next object's first frame, 20 clips: worst", Worst(kivo.nextObject), Worst(reference.nextObject), "");
    std::fprintf(stderr, "first_frame_bench: %zu changes of object measured, %zu of gst-play-1.0's\n",
                 kivo.nextObject.size(), reference.nextObject.size());
    return 0;
}
