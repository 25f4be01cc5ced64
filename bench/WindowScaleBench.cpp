// A cut list of OBJECTS objects (100,000 unless given) in the real main
// window, each figure beside its reference measured in the same run:
//  - opening a scenario of OBJECTS objects over 1,000 files (half of them
//    video with a picture, half sound only; every stored entry matches its
//    file, so nothing is examined) as the program starts, from its launch
//    until the first object is cued and the window answers input, the best
//    of three starts beside the best of three runs of `kvotool dump --json`
//    of the same file (goal: at most 2x);
//  - the resident memory of that start after opening, beside a start that
//    opens 1,000 objects of the same files (goal: at most +300 MB at
//    100,000 objects), and per object beyond those 1,000 (goal: at most 600
//    bytes; the pictures are held once per distinct picture, so this is
//    what each object costs);
//  - a change of view mode, scrolling a page, a header sort, random order,
//    deleting the invalid objects (one in a hundred) and saving, each until
//    the list is repainted (goal: under one second each);
//  - opening it again in large icons once its first file has changed, so
//    that the loader examines that file and inserts the others batch after
//    batch, each laid out by the icon view, the best of three beside the
//    dump's best of three timed just before (goal: at most 2x the dump).
// `./kivo bench` runs it at 100,000 and at 1,000,000 objects.
// The files are hard links of two generated clips, so that each has its own
// path and all share their clip's size and modification time; the first is a
// copy, which is changed before the list is opened again in large icons, so
// that the loader examines it and takes all the others in its run.
//
// Usage: window_scale_bench VIDEO AUDIO WORK_DIR KVOTOOL [OBJECTS]
// Run on a display (xvfb-run) or with QT_QPA_PLATFORM=offscreen, with
// KIVO_AUDIO_SINK and KIVO_VIDEO_SINK set to "fakesink sync=true".

#include "CommandTime.h"
#include "core/Settings.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ScenarioFile.h"
#include "media/Examination.h"
#include "media/MediaProbe.h"
#include "ui/Application.h"
#include "ui/CutListView.h"
#include "ui/Flow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include <unistd.h>

namespace kivo {
namespace {

constexpr int kFiles = 1000;
// One object in this many is made invalid and deleted.
constexpr int kInvalidEvery = 100;
// The old program took minutes: give up after this.
constexpr qint64 kLongestOpenMs = 180000;

// "100,000".
QString Count(int count)
{
    return QLocale(QLocale::English).toString(count);
}

double Since(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The ms a result took: a time itself, or a start's.
double Ms(double ms)
{
    return ms;
}

// The quickest of three runs of `run`, each giving its result or none when
// it failed; none when one failed. Every figure beside a reference is the
// best of three, as the reference is.
template <typename Result>
std::optional<Result> BestOfThree(const std::function<std::optional<Result>(int run)>& run)
{
    std::optional<Result> best;
    for (int i = 0; i < 3; ++i) {
        const std::optional<Result> result = run(i);
        if (!result)
            return std::nullopt;
        if (!best || Ms(*result) < Ms(*best))
            best = result;
    }
    return best;
}

// Resident memory of this process in MB.
double ResidentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

void Line(const char* figure, double measured, const char* unit, const char* reference, double referenceValue,
          const char* goal)
{
    std::printf("%-50s %10.1f %-3s %24s %10.1f %-3s %7.2fx  %s\n", figure, measured, unit, reference,
                referenceValue, unit, referenceValue > 0 ? measured / referenceValue : 0.0, goal);
    std::fflush(stdout);
}

// The scenario of `objects` objects in `work`.
QString ScenarioPath(const QDir& work, int objects)
{
    return work.filePath(QStringLiteral("objects-%1.kvo").arg(objects));
}

// The scenarios of 1,000 and of `objects` objects over 1,000 hard links, even
// ones of the video, odd ones of the sound, each examined once and listed
// over and over.
bool MakeScenarios(const QString& video, const QString& audio, const QDir& work, int objects)
{
    const MediaProbe probe;
    CMediaInfoCache clips;
    const MediaObject examined[2] = {MediaObjectFor(video, clips, probe), MediaObjectFor(audio, clips, probe)};
    if (examined[0].record.nFlag != kFlagValid || examined[1].record.nFlag != kFlagNoPicture) {
        std::fprintf(stderr, "window_scale_bench: the clips did not examine as video and sound\n");
        return false;
    }
    const std::filesystem::path folder = QFile::encodeName(work.filePath("links")).toStdString();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::vector<MediaObject> files;
    for (int i = 0; i < kFiles; ++i) {
        MediaObject file = examined[i % 2];
        const QString source = i % 2 == 0 ? video : audio;
        const std::filesystem::path link = folder / QStringLiteral("%1-%2").arg(i, 4, 10, QLatin1Char('0')).arg(QFileInfo(source).fileName()).toStdString();
        const std::filesystem::path clip = QFile::encodeName(source).toStdString();
        if (i == 0) {
            std::filesystem::copy_file(clip, link);
            std::filesystem::last_write_time(link, std::filesystem::last_write_time(clip));
        } else {
            std::filesystem::create_hard_link(clip, link);
        }
        file.record.strPath = QFile::decodeName(link.c_str());
        files.push_back(file);
    }
    CMediaInfoCache cache;
    for (const MediaObject& file : files)
        cache.Add(file.record);
    for (const int count : {kFiles, objects}) {
        CutListModel list;
        for (int i = 0; i < count; ++i)
            list.AddObject(files[static_cast<size_t>(i % kFiles)].record, files[static_cast<size_t>(i % kFiles)].picture, false);
        list.SetCurrent(0);
        if (const std::optional<WriteFailure> failure = SaveScenarioFile(ScenarioPath(work, count), list, cache, 0)) {
            std::fprintf(stderr, "window_scale_bench: %s\n", failure->reason.toUtf8().constData());
            return false;
        }
    }
    return true;
}

// `kvotool dump --json` of the scenario, the best of three, in ms (0 when
// it failed).
double DumpTime(const QString& kvotool, const QString& scenario)
{
    return BestOfThree<double>([&](int) -> std::optional<double> {
               QProcess dump;
               dump.setStandardOutputFile(QProcess::nullDevice());
               QElapsedTimer timer;
               timer.start();
               dump.start(kvotool, {QStringLiteral("dump"), QStringLiteral("--json"), scenario});
               if (!dump.waitForFinished(120000) || dump.exitCode() != 0)
                   return std::nullopt;
               return Since(timer);
           })
        .value_or(0);
}

// Copying and syncing `path`, in ms (0 when that failed); the copy is removed.
double CopyAndSyncMs(const QString& path)
{
    const QString copy = path + QStringLiteral(".copy");
    const double seconds = bench::CopyAndSyncSeconds(path, copy);
    QFile::remove(copy);
    return seconds < 0 ? 0 : seconds * 1000;
}

// Runs the event loop until `done` holds or the time runs out.
bool WaitFor(const std::function<bool()>& done, qint64 milliseconds)
{
    // The loop sleeps until an event comes, the timer's at the latest: a
    // loop that only polled would take a core from the work waited for.
    QTimer wake;
    wake.start(20);
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Waits until the window has handled what was sent to it so far and one
// input event after it.
void UntilAnswering(QWidget& window)
{
    bool answered = false;
    QTimer::singleShot(0, &window, [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &key);
        answered = true;
    });
    WaitFor([&] { return answered; }, kLongestOpenMs);
}

// Whether the open that sets `opened` cued the window's current object,
// with the whole list in, and the window answered input after that, in time.
bool CuedAfterOpen(MainWindow& window, const bool& opened, int objects)
{
    CutListModel& list = window.List();
    const bool cued = WaitFor(
        [&] {
            const int current = list.FindCurrentItem();
            return opened && current >= 0 && list.GetItemState(current) == ObjectState::Stopped;
        },
        kLongestOpenMs);
    UntilAnswering(window);
    if (!cued || list.GetItemCount() != objects) {
        std::printf("open did not finish in %lld s (%d of %d objects)\n", kLongestOpenMs / 1000, list.GetItemCount(),
                    objects);
        return false;
    }
    return true;
}

// Opens the scenario in the window, until cued as CuedAfterOpen says.
bool OpenedUntilCued(MainWindow& window, const QString& scenario, int objects)
{
    bool opened = false;
    window.OpenDocument(scenario, [&opened](bool done) { opened = done; });
    return CuedAfterOpen(window, opened, objects);
}

// Opening the scenario again over the saved list, the best of three like
// the dump's time, in ms; none when an open did not finish. Before each,
// the saved list is open (the same file would only be brought forward) and
// the first file changes, so that the loader examines it and takes all the
// others in its run.
std::optional<double> ReopenedMs(MainWindow& window, const QDir& work, const QString& scenario,
                                 const QString& saved, int objects)
{
    const std::filesystem::path first =
        QFile::encodeName(QDir(work.filePath("links")).entryInfoList(QDir::Files, QDir::Name).first().filePath()).toStdString();
    return BestOfThree<double>([&](int run) -> std::optional<double> {
        if (run > 0 && !OpenedUntilCued(window, saved, objects - objects / kInvalidEvery))
            return std::nullopt;
        // The changed file's new facts are not to be saved.
        window.Document().SetModified(false);
        std::filesystem::last_write_time(first, std::filesystem::last_write_time(first) + std::chrono::seconds(10));
        QElapsedTimer timer;
        timer.start();
        if (!OpenedUntilCued(window, scenario, objects))
            return std::nullopt;
        const double took = Since(timer);
        window.Document().SetModified(false);
        return took;
    });
}

// Runs `work`, then repaints the list; the ms it all took.
double Repainted(CutListView& view, const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    QCoreApplication::processEvents();
    view.ActiveView()->viewport()->repaint();
    return Since(timer);
}

// A window opening a scenario, with the program's settings and its flow.
struct Opening {
    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    std::optional<Flow> flow;
};

// Makes the window and opens the scenario in it, as the program does the
// scenario named on its command line (from `readAhead` when that read it);
// false when the open did not finish in time.
bool OpenInNewWindow(Opening& opening, const QString& scenario, int objects, ScenarioReadAhead readAhead = {})
{
    opening.settings.Set(setting::kFileType, 1);
    opening.settings.Set(setting::kType, static_cast<int>(ListViewType::Details));
    Flow& flow = opening.flow.emplace(opening.settings);
    MainWindow& window = flow.Window();
    window.resize(1000, 700);
    bool opened = false;
    flow.OpenNamedFile(scenario, [&opened](bool done) { opened = done; }, std::move(readAhead));
    window.show();
    return CuedAfterOpen(window, opened, objects);
}

// Set, to a number of objects, in the runs of this program that only open
// the scenario of that many objects.
constexpr char kOpenOnly[] = "KIVO_SCALE_BENCH_OPEN_ONLY";

// A start of the program that opened a scenario: the ms from launching it
// until its first object was cued and the window answered input, and its
// resident memory then.
struct Start {
    double ms = 0;
    double residentMb = 0;
};

// Launches this program to open the scenario of `objects` objects, and times
// it from the launch until the run says the open has finished; none when it
// failed.
std::optional<Start> StartAndOpen(const QStringList& arguments, int objects)
{
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kOpenOnly), QString::number(objects));
    run.setProcessEnvironment(environment);
    run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    run.start(QCoreApplication::applicationFilePath(), arguments.mid(1));
    if (!run.waitForReadyRead(kLongestOpenMs))
        return std::nullopt;
    const double ms = Since(timer);
    run.waitForFinished(kLongestOpenMs);
    bool read = false;
    const double residentMb = run.readAllStandardOutput().trimmed().toDouble(&read);
    if (run.exitCode() != 0 || !read)
        return std::nullopt;
    return Start{ms, residentMb};
}

double Ms(const Start& start)
{
    return start.ms;
}

// The best of three starts that open the scenario of `objects` objects.
std::optional<Start> BestStart(const QStringList& arguments, int objects)
{
    const std::optional<Start> best =
        BestOfThree<Start>([&](int) { return StartAndOpen(arguments, objects); });
    if (!best)
        std::printf("a start that opens %d objects did not finish\n", objects);
    return best;
}

int Run(const QStringList& arguments, ScenarioReadAhead readAhead)
{
    const int objects = arguments.size() == 6 ? arguments.at(5).toInt() : 100000;
    if ((arguments.size() != 5 && arguments.size() != 6) || objects <= kFiles) {
        std::fprintf(stderr, "usage: window_scale_bench VIDEO AUDIO WORK_DIR KVOTOOL [OBJECTS]\n"
                             "(OBJECTS more than %d)\n", kFiles);
        return 1;
    }
    const QDir work(arguments.at(3));
    Opening opening;
    if (const int count = qEnvironmentVariableIntValue(kOpenOnly); count > 0) {
        if (!OpenInNewWindow(opening, ScenarioPath(work, count), count, std::move(readAhead)))
            return 1;
        std::printf("%.3f\n", ResidentMb());
        std::fflush(stdout);
        // The list is not taken down: the process ends here.
        std::_Exit(0);
    }
    if (!MakeScenarios(arguments.at(1), arguments.at(2), work, objects))
        return 1;
    const QString scenario = ScenarioPath(work, objects);
    const double dump = DumpTime(arguments.at(4), scenario);
    // Each start is a process of its own, as a user's is (this one has
    // examined the clips and made the scenarios). What a start holds beyond
    // the list (GStreamer, its plug-ins, the first object's pipeline) is
    // that of the start with 1,000 objects.
    const std::optional<Start> start = BestStart(arguments, objects);
    const std::optional<Start> small = BestStart(arguments, kFiles);
    if (!start || !small)
        return 1;
    std::printf("%-50s %14s %24s %14s %8s  %s\n", "figure", "measured", "reference", "", "ratio", "goal");
    const QString opened = QStringLiteral("start and open %1 objects until cued and answering").arg(Count(objects));
    Line(opened.toUtf8().constData(), start->ms, "ms", "kvotool dump --json", dump, "<= 2x");
    Line("resident memory after opening", start->residentMb, "MB", "the same with 1,000 objects", small->residentMb,
         "<= +300 MB at 100,000");
    Line("resident memory per object beyond the first 1,000",
         (start->residentMb - small->residentMb) * 1024 * 1024 / (objects - kFiles), "B", "600 bytes", 600,
         "<= 600 B");

    // The other figures in this program's window.
    if (!OpenInNewWindow(opening, scenario, objects))
        return 1;
    MainWindow& window = opening.flow->Window();
    CutListModel& list = window.List();
    CutListView& view = window.ListView();
    for (const auto& [mode, name] : {std::pair{Command::LargeIcons, "large icons"}, std::pair{Command::Details, "details"}}) {
        Line(QStringLiteral("change to %1").arg(name).toUtf8().constData(),
             Repainted(view, [&, mode = mode] { window.Commands().Run(mode); }), "ms", "one second", 1000, "< 1 s");
        const double page = Repainted(view, [&] {
            QScrollBar* bar = view.ActiveView()->verticalScrollBar();
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        });
        Line(QStringLiteral("scroll a page, %1").arg(name).toUtf8().constData(), page, "ms", "one second", 1000,
             "< 1 s");
    }
    window.Commands().Run(Command::Details);
    Repainted(view, [] {});
    auto* details = view.findChild<QTreeView*>();
    Line("header sort by name", Repainted(view, [&] { emit details->header()->sectionClicked(0); }), "ms",
         "one second", 1000, "< 1 s");
    Line("random order", Repainted(view, [&] { window.Commands().Run(Command::Shuffle); }), "ms", "one second",
         1000, "< 1 s");

    const int invalid = objects / kInvalidEvery;
    for (int position = 0; position < objects; position += kInvalidEvery)
        list.SetItemState(position, ObjectState::Invalid);
    // The time from the answer to the question.
    QElapsedTimer deleting;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answer.stop();
            deleting.start();
            box->button(QMessageBox::Yes)->click();
        }
    });
    answer.start();
    window.Commands().Run(Command::DeleteInvalid);
    QCoreApplication::processEvents();
    view.ActiveView()->viewport()->repaint();
    const double deleted = deleting.isValid() ? Since(deleting) : 0;
    if (list.GetItemCount() != objects - invalid)
        std::fprintf(stderr, "window_scale_bench: delete-invalid left %d objects\n", list.GetItemCount());
    Line(QStringLiteral("delete %1 invalid objects").arg(Count(invalid)).toUtf8().constData(), deleted, "ms",
         "one second", 1000, "< 1 s");

    // The file is written on a thread of its own: the window is back at
    // once, and the whole file takes what the disk takes.
    const QString saved = work.filePath(QStringLiteral("saved-%1.kvo").arg(objects - invalid));
    // What was written before (the scenario itself) goes to disk first, so
    // that the save's figures are the save's.
    ::sync();
    QElapsedTimer saving;
    saving.start();
    Line(QStringLiteral("save %1 objects, the window back").arg(Count(objects - invalid)).toUtf8().constData(),
         Repainted(view, [&] { window.SaveDocument(saved); }), "ms", "one second", 1000, "< 1 s");
    if (!WaitFor([&] { return !window.Document().IsModified(); }, kLongestOpenMs)) {
        std::printf("the save did not finish in %lld s\n", kLongestOpenMs / 1000);
        return 1;
    }
    Line("  the file written", Since(saving), "ms", "cp + sync of the file", CopyAndSyncMs(saved), "(disk)");
    ::sync();
    // The icons are laid out as the loader inserts the objects. The dump
    // is timed again just before, as the disk and the machine are then.
    const double dumpAgain = DumpTime(arguments.at(4), scenario);
    window.Commands().Run(Command::LargeIcons);
    Repainted(view, [] {});
    const std::optional<double> reopen = ReopenedMs(window, work, scenario, saved, objects);
    QFile::remove(saved);
    if (!reopen)
        return 1;
    Line("open them again, in large icons", *reopen, "ms", "kvotool dump --json", dumpAgain, "<= 2x");
    return 0;
}

}  // namespace
}  // namespace kivo

int main(int argc, char** argv)
{
    // As Kivo231 starts, a run that opens a scenario reading it ahead.
    const std::unique_ptr<QApplication> application = kivo::StartApplication(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int openOnly = qEnvironmentVariableIntValue(kivo::kOpenOnly);
    kivo::ScenarioReadAhead readAhead;
    if (openOnly > 0 && arguments.size() > 3)
        readAhead = kivo::ScenarioReadAhead(kivo::ScenarioPath(QDir(arguments.at(3)), openOnly));
    kivo::SetUpApplication(*application);
    return kivo::Run(arguments, std::move(readAhead));
}
