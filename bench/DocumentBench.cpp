// Speed of the scenario document over real media files, each figure beside
// its reference measured in the same run:
//  - adding 1,000 files that the media cache already knows (a second add of
//    the same unchanged files into an emptied cut list), per file, against
//    one stat() of each of those files; goal: under 1 ms a file;
//  - opening a saved 10,000-object scenario whose files are unchanged, until
//    the first object is cued, against `kvotool dump` of the same file run
//    as a process; goal: at most 5x.
// The files are hard links of one clip, so that they share its size and
// modification time and each still has its own path and cache entry.
//
// Usage: document_bench CLIP WORK_DIR KVOTOOL
// Set KIVO_AUDIO_SINK and KIVO_VIDEO_SINK (e.g. "fakesink sync=true") so
// that cueing needs no sound card.

#include "session/DocumentParts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kivo {
namespace {

constexpr int kFiles = 1000;
constexpr int kScenarioObjects = 10000;
constexpr int kRepetitions = 5;

// The document with everything it works on, as the main window holds them.
using Session = test::DocumentParts;

// Calls `start` with a callback that ends the wait, then runs the event loop
// until that callback has run. Returns the milliseconds it took.
double TimeUntilDone(const std::function<void(std::function<void()>)>& start)
{
    QEventLoop loop;
    bool done = false;
    QElapsedTimer timer;
    timer.start();
    start([&] {
        done = true;
        loop.quit();
    });
    if (!done)
        loop.exec();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// `count` hard links of `clip` in a new folder `folder`.
QStringList MakeLinks(const std::filesystem::path& clip, const std::filesystem::path& folder, int count)
{
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString name =
            QStringLiteral("%1-%2").arg(i, 4, 10, QLatin1Char('0')).arg(QFile::decodeName(clip.filename().c_str()));
        const std::filesystem::path link = folder / QFile::encodeName(name).toStdString();
        std::filesystem::create_hard_link(clip, link);
        paths.append(QFile::decodeName(link.c_str()));
    }
    return paths;
}

// One figure beside its reference, each with `decimals` places.
void Line(const char* figure, double measured, const char* unit, const char* reference, double referenceValue,
          int decimals, const char* goal)
{
    std::printf("%-44s %11.*f %-7s %22s %9.*f %-7s %7.1fx %s\n", figure, decimals, measured, unit, reference,
                decimals, referenceValue, unit, referenceValue > 0 ? measured / referenceValue : 0.0, goal);
}

// The second add of `paths` into the emptied cut list of `session`, whose
// cache holds them all, per file, beside one stat() of each file.
bool CachedAdd(Session& session, const QStringList& paths)
{
    std::vector<double> adds;
    for (int run = 0; run < kRepetitions; ++run) {
        session.document.NewDocument();
        adds.push_back(TimeUntilDone([&](std::function<void()> done) {
                           session.document.AddMediaAndCue(paths, done);
                       }) /
                       paths.size());
    }
    if (session.list.GetItemCount() != paths.size() || session.cache.GetSize() != paths.size()) {
        std::fprintf(stderr, "document_bench: the second add examined files again\n");
        return false;
    }

    std::vector<std::string> names;
    for (const QString& path : paths)
        names.push_back(QFile::encodeName(path).toStdString());
    std::vector<double> stats;
    for (int run = 0; run < kRepetitions; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (const std::string& name : names) {
            struct stat status {};
            if (stat(name.c_str(), &status) != 0) {
                std::fprintf(stderr, "document_bench: cannot stat %s\n", name.c_str());
                return false;
            }
        }
        stats.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6 / static_cast<double>(names.size()));
    }
    Line("cached add of 1,000 files", Median(adds), "ms/file", "one stat per file", Median(stats), 4,
         "<= 5x");
    return true;
}

// Opening `scenario` in a new session (an empty cache, as at start-up) until
// the first object is cued, beside `kvotool dump` of the same file.
bool OpenScenario(const QString& scenario, const QString& kvotool)
{
    std::vector<double> opens;
    for (int run = 0; run < kRepetitions; ++run) {
        Session session;
        bool opened = false;
        opens.push_back(TimeUntilDone([&](std::function<void()> done) {
            session.document.Open(scenario, [&opened, done](OpenOutcome result) {
                opened = result == OpenOutcome::Opened;
                done();
            });
        }));
        // The cache holds the stored entry of each file, which the scenario
        // repeats for each of its objects; a file examined again would add
        // one more.
        if (!opened || session.list.GetItemCount() != kScenarioObjects || session.cache.GetSize() != kFiles ||
            session.list.FindCurrentItem() != 0) {
            std::fprintf(stderr, "document_bench: the scenario did not open from its stored entries\n");
            return false;
        }
    }

    std::vector<double> dumps;
    for (int run = 0; run < kRepetitions; ++run) {
        QProcess dump;
        dump.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        dump.start(kvotool, {QStringLiteral("dump"), scenario});
        if (!dump.waitForFinished(60000) || dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0) {
            std::fprintf(stderr, "document_bench: kvotool dump failed\n");
            return false;
        }
        dumps.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    Line("open a 10,000-object scenario and cue", Median(opens), "ms", "kvotool dump", Median(dumps), 1, "<= 5x");
    return true;
}

int Run(const QStringList& arguments)
{
    if (arguments.size() != 4) {
        std::fprintf(stderr, "usage: document_bench CLIP WORK_DIR KVOTOOL\n");
        return 1;
    }
    const std::filesystem::path clip = QFile::encodeName(arguments.at(1)).toStdString();
    const QDir work(arguments.at(2));
    const QStringList paths = MakeLinks(clip, QFile::encodeName(work.filePath("links")).toStdString(), kFiles);

    // The first add examines every file and fills the cache.
    Session session;
    TimeUntilDone([&](std::function<void()> done) { session.document.AddMediaAndCue(paths, done); });
    if (!CachedAdd(session, paths))
        return 1;

    // The scenario: the same files ten times over, added from the cache.
    QStringList tenTimes;
    for (int i = 0; i < kScenarioObjects / kFiles; ++i)
        tenTimes += paths;
    session.document.NewDocument();
    TimeUntilDone([&](std::function<void()> done) { session.document.AddMediaAndCue(tenTimes, done); });
    const QString scenario = work.filePath("objects-10000.kvo");
    session.document.Save(scenario);
    if (!session.document.FinishSaving())
        return 1;
    return OpenScenario(scenario, arguments.at(3)) ? 0 : 1;
}

}  // namespace
}  // namespace kivo

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    return kivo::Run(QCoreApplication::arguments());
}
