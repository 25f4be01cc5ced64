// Examination speed: the clips of a folder (bench/make-probe-media.sh) added
// to an empty cut list whose cache knows none of them, through the
// document's loader as a drop adds them, until the run has ended; beside
// gst-discoverer-1.0 run over the same files one after the other (it reads
// streams and durations only, no picture). Each is the best of three runs.
// Goal: at most 1x the time of gst-discoverer-1.0; moonshot: 0.5x.
//
// Usage: probe_bench MEDIA_DIR
// Set KIVO_AUDIO_SINK and KIVO_VIDEO_SINK (e.g. "fakesink sync=true"): the
// document readies the list's player on the first clip.

#include "ClipRuns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace kivo {
namespace {

constexpr int kRuns = 3;

double LoaderRun(const QStringList& paths)
{
    return bench::LoaderSeconds(paths, "probe_bench");
}

// Seconds gst-discoverer-1.0 takes over `paths`.
double DiscovererRun(const QStringList& paths)
{
    QProcess discoverer;
    // With aiffparse, discoverer waits out its 10 s time-out on AIFF files
    // now and then; Kivo takes libav's AIFF demuxer over it, and so does
    // the reference.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GST_PLUGIN_FEATURE_RANK"), QStringLiteral("aiffparse:NONE"));
    discoverer.setProcessEnvironment(environment);
    discoverer.setStandardOutputFile(QProcess::nullDevice());
    discoverer.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    discoverer.start(QStringLiteral("gst-discoverer-1.0"), paths);
    if (!discoverer.waitForFinished(600000) || discoverer.exitStatus() != QProcess::NormalExit) {
        std::fprintf(stderr, "probe_bench: gst-discoverer-1.0 failed\n");
        return -1.0;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double Best(double (*run)(const QStringList&), const QStringList& paths)
{
    double best = -1.0;
    for (int i = 0; i < kRuns; ++i) {
        const double seconds = run(paths);
        if (seconds < 0.0)
            return -1.0;
        best = best < 0.0 ? seconds : std::min(best, seconds);
    }
    return best;
}

int Run(const QStringList& arguments)
{
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: probe_bench MEDIA_DIR\n");
        return 1;
    }
    const QStringList paths = bench::ClipsIn(arguments.at(1), "probe_bench");
    if (paths.isEmpty())
        return 1;
    // The files' bytes come from the page cache in every run.
    DiscovererRun(paths);
    const double loader = Best(LoaderRun, paths);
    const double discoverer = Best(DiscovererRun, paths);
    if (loader <= 0.0 || discoverer <= 0.0)
        return 1;
    bench::PrintRate(QStringLiteral("adding %1 new clips of mixed formats").arg(paths.size()), paths.size(), loader,
                     "gst-discoverer-1.0", discoverer, "<= 1x (moonshot 0.5x)");
    return 0;
}

}  // namespace
}  // namespace kivo

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    return kivo::Run(QCoreApplication::arguments());
}
