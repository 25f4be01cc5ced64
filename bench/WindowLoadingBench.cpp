// Examination speed in the real main window: the clips of a folder
// (bench/make-probe-media.sh) added to the empty list of a shown main window
// as the open dialog adds them, with the loading dialog up, until the run
// has ended; beside the document's display-free loader over the same files
// in the same run. The two alternate, and each figure is the best of three.
// Goal: the window adds at least 80% of the files per second that the
// display-free loader adds (at most 1.25x its time).
//
// Usage: window_loading_bench MEDIA_DIR
// Run on a display (xvfb-run), with KIVO_AUDIO_SINK and KIVO_VIDEO_SINK set
// to "fakesink sync=true".

#include "core/Settings.h"
#include "ClipRuns.h"
#include "ui/CutListView.h"
#include "ui/Flow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace kivo {
namespace {

constexpr int kRuns = 3;
constexpr int kLongestRunMs = 120000;

// Seconds until a shown main window with an empty list has added `paths`.
double WindowRun(const QStringList& paths)
{
    const QTemporaryDir folder;
    Settings settings(folder.filePath("Kivo231.ini"));
    settings.Set(setting::kFileType, 1);
    settings.Set(setting::kType, static_cast<int>(ListViewType::Details));
    Flow flow(settings);
    MainWindow& window = flow.Window();
    window.resize(1000, 700);
    window.show();
    if (!QTest::qWaitFor([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, 10000))
        return -1.0;
    bool done = false;
    QElapsedTimer timer;
    timer.start();
    window.AddMedia(paths, [&done] { done = true; });
    if (!QTest::qWaitFor([&] { return done; }, kLongestRunMs) || window.List().GetItemCount() != paths.size())
        return -1.0;
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    window.Document().SetModified(false);
    return seconds;
}

int Run(const QStringList& arguments)
{
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: window_loading_bench MEDIA_DIR\n");
        return 1;
    }
    const QStringList paths = bench::ClipsIn(arguments.at(1), "window_loading_bench");
    if (paths.isEmpty())
        return 1;
    double window = -1.0;
    double displayFree = -1.0;
    for (int run = 0; run < kRuns; ++run) {
        const double free = bench::LoaderSeconds(paths, "window_loading_bench");
        const double shown = WindowRun(paths);
        if (free < 0.0 || shown < 0.0) {
            std::fprintf(stderr, "window_loading_bench: a run did not add every file\n");
            return 1;
        }
        displayFree = run == 0 ? free : std::min(displayFree, free);
        window = run == 0 ? shown : std::min(window, shown);
    }
    bench::PrintRate(QStringLiteral("adding %1 new clips in the main window").arg(paths.size()), paths.size(), window,
                     "display-free loader", displayFree, "<= 1.25x");
    return 0;
}

}  // namespace
}  // namespace kivo

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    return kivo::Run(QCoreApplication::arguments());
}
