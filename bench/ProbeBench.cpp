// Examination speed: the clips of a folder (bench/make-probe-media.sh) added
// to an empty cut list whose cache knows none of them, through the
// document's loader as a drop adds them, until the run has ended; beside
// gst-discoverer-1.0 run over the same files one after the other (it reads
// streams and durations only, no picture), and beside what a user would
// script for the same facts and a picture: ffprobe, then
// ffmpegthumbnailer -s 64, for each file. Each is the best of three runs.
// Goals: at most 1x the time of gst-discoverer-1.0 (moonshot 0.5x), at most
// 0.5x the time of ffprobe with ffmpegthumbnailer. The runs take turns, so
// that a machine that gets busier or quieter meanwhile weighs on each alike.
//
// Usage: probe_bench MEDIA_DIR
// Set KIVO_AUDIO_SINK and KIVO_VIDEO_SINK (e.g. "fakesink sync=true"): the
// document readies the list's player on the first clip.

#include "ClipRuns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

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

// Seconds ffprobe and ffmpegthumbnailer take over `paths`, one file after
// the other, each file's facts then its 64-pixel picture.
double PeerPairRun(const QStringList& paths)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : paths) {
        const std::pair<const char*, QStringList> commands[] = {
            {"ffprobe", {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_format"),
                         QStringLiteral("-show_streams"), path}},
            {"ffmpegthumbnailer", {QStringLiteral("-s"), QStringLiteral("64"), QStringLiteral("-i"), path,
                                   QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("-c"),
                                   QStringLiteral("png")}}};
        for (const auto& [program, arguments] : commands) {
            QProcess process;
            process.setStandardOutputFile(QProcess::nullDevice());
            process.setStandardErrorFile(QProcess::nullDevice());
            process.start(QString::fromLatin1(program), arguments);
            if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
                std::fprintf(stderr, "probe_bench: %s failed on %s\n", program, qPrintable(path));
                return -1.0;
            }
        }
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The best time of each run over `paths`, the runs taking turns; -1 for a
// run that failed once.
template <size_t N>
std::array<double, N> BestInTurns(const std::array<double (*)(const QStringList&), N>& runs, const QStringList& paths)
{
    std::array<double, N> best;
    best.fill(-1.0);
    for (int round = 0; round < kRuns; ++round) {
        for (size_t i = 0; i < N; ++i) {
            const double seconds = runs[i](paths);
            if (seconds < 0.0) {
                best.fill(-1.0);
                return best;
            }
            best[i] = round == 0 ? seconds : std::min(best[i], seconds);
        }
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
    const auto [loader, discoverer, peers] = BestInTurns<3>({LoaderRun, DiscovererRun, PeerPairRun}, paths);
    if (loader <= 0.0 || discoverer <= 0.0 || peers <= 0.0)
        return 1;
    const QString adding = QStringLiteral("adding %1 new clips of mixed formats").arg(paths.size());
    bench::PrintRate(adding, paths.size(), loader, "gst-discoverer-1.0", discoverer, "<= 1x (moonshot 0.5x)");
    bench::PrintRate(adding, paths.size(), loader, "ffprobe+ffmpegthumbnailer", peers, "<= 0.5x");
    return 0;
}

}  // namespace
}  // namespace kivo

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    return kivo::Run(QCoreApplication::arguments());
}
