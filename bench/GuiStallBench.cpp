// The main window's longest stall: how late the ticks of a 5 ms timer on the
// GUI thread come while the real main window
//  - adds a cut list of 20 clips of mixed formats and plays it through from
//    the first object to the end of the last, each clip sought near its end
//    through the position slider to keep the run short,
//  - has its position slider dragged across a clip in 50 moves,
//  - has its speed slider moved 10 times,
//  - meets a clip that was damaged after it had been added: garbage behind a
//    media extension, which fails to open when its turn comes.
// Beside it, the same timer for as long in the same window, shown and idle.
// Goal: no stall over 50 ms. The figures are printed, not judged.
//
// Everything goes through the window's widgets, commands and model, and the
// steps wait for what the window shows, so that the run does not depend on
// how the engine opens and seeks.
//
// Usage: gui_stall_bench MEDIA_DIR
//   MEDIA_DIR holds the clips that tests/media/make-test-media.sh writes.
// Run it on a display (xvfb-run) with KIVO_AUDIO_SINK and KIVO_VIDEO_SINK
// set to "fakesink sync=true". A step that does not finish in time ends the
// run with the step's name on stderr and exit status 1.

#include "FirstRun.h"
#include "core/Settings.h"
#include "cutlist/CutListModel.h"
#include "ui/Application.h"
#include "ui/Flow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using std::chrono::seconds;

constexpr int kHeartbeatMs = 5;
constexpr int kClips = 20;
// The formats the list takes in turn: MPEG-1, MPEG-2, Motion JPEG in AVI,
// H.264 in QuickTime, VP8 in Matroska, WAV, MP3, AIFF, MPEG-4 part 2 in AVI,
// Video CD, AU, MIDI.
const char* const kFormats[] = {"video.mpg",  "video-mpeg2.mpg", "video-only.avi", "video.mov",
                                "video.mkv",  "audio.wav",       "audio.mp3",      "audio.aiff",
                                "video.avi",  "vcd.dat",         "audio.au",       "music.mid"};
// The clips dragged across (H.264, whose seeks decode from a key frame) and
// sped up and down, and the one damaged after it was added.
constexpr int kDragged = 3;
constexpr int kSped = 4;
constexpr int kDamaged = 10;
constexpr int kDragMoves = 50;
// Speeds in hundredths, back to normal at the end.
constexpr int kSpeeds[] = {150, 200, 50, 300, 75, 125, 400, 25, 250, 100};
// How far before its end each clip is sought, in 1/100 s.
constexpr int kTail = 50;
constexpr int kMoveIntervalMs = 20;

// Ends the run with the name of the step under way when that step outlasts
// its time, also when the GUI thread is stuck inside one call.
class Watchdog {
public:
    Watchdog() : m_thread([this] { Watch(); }) {}
    ~Watchdog()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_over = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void Step(std::string name, seconds limit)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_step = std::move(name);
            m_limit = limit;
            m_deadline = std::chrono::steady_clock::now() + limit;
        }
        m_changed.notify_all();
    }

private:
    void Watch()
    {
        std::unique_lock lock(m_mutex);
        while (!m_over) {
            m_changed.wait_until(lock, m_deadline);
            if (!m_over && std::chrono::steady_clock::now() >= m_deadline) {
                std::fprintf(stderr, "gui_stall_bench: %s did not finish within %lld s\n", m_step.c_str(),
                             static_cast<long long>(m_limit.count()));
                std::_Exit(1);
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_step = "start-up";
    seconds m_limit = 60s;
    std::chrono::steady_clock::time_point m_deadline = std::chrono::steady_clock::now() + m_limit;
    bool m_over = false;
    std::thread m_thread;  // last: it reads the members above
};

struct Stalls {
    double worst = 0.0;
    double p99 = 0.0;
    // The steps under way from the tick before the worst stall to the tick
    // after it.
    std::string worstDuring;
};

// How late each tick of a timer on the GUI thread comes beyond its interval.
class Heartbeat {
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kHeartbeatMs);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            const double late = std::max(0.0, static_cast<double>(now - m_last) / 1e6 - kHeartbeatMs);
            if (late >= m_worst) {
                m_worst = late;
                m_worstDuring = m_steps;
            }
            m_lateness.push_back(late);
            m_last = now;
            m_steps = m_step;
        });
    }

    void Start()
    {
        m_lateness.clear();
        m_worst = 0.0;
        m_step.clear();
        m_steps.clear();
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }

    // Names what the run does from now on.
    void Mark(const std::string& step)
    {
        if (step == m_step)
            return;
        m_step = step;
        m_steps += m_steps.empty() ? step : ", " + step;
    }

    // The worst and the 99th-percentile lateness since Start(), in ms.
    Stalls Stop()
    {
        m_timer.stop();
        if (m_lateness.empty())
            return {};
        std::sort(m_lateness.begin(), m_lateness.end());
        const auto p99 = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(m_lateness.size()))) - 1;
        return {m_lateness.back(), m_lateness.at(p99), m_worstDuring};
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    std::vector<double> m_lateness;
    double m_worst = 0.0;
    std::string m_step;
    std::string m_steps;
    std::string m_worstDuring;
};

// The user's side of the run: what is done to the window and what is waited
// for in it.
class User {
public:
    User(kivo::MainWindow& window, Watchdog& watchdog, Heartbeat& heartbeat)
        : m_window(window), m_list(window.List()), m_watchdog(watchdog), m_heartbeat(heartbeat),
          m_position(window.findChild<QSlider*>(QStringLiteral("position"))),
          m_speed(window.findChild<QSlider*>(QStringLiteral("speed")))
    {
        if (m_position == nullptr || m_speed == nullptr) {
            std::fprintf(stderr, "gui_stall_bench: the window has no position or speed slider\n");
            std::exit(1);
        }
        // Message boxes are read and closed at once, as a user clicking OK.
        m_boxCloser.setInterval(10);
        QObject::connect(&m_boxCloser, &QTimer::timeout, &m_boxCloser, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_messages.push_back({m_list.FindCurrentItem(), box->text()});
                box->done(QMessageBox::Ok);
            }
        });
    }

    // Names what the run does from now on, which must end within `limit`.
    void Begin(const std::string& step, seconds limit)
    {
        m_watchdog.Step(step, limit);
        m_heartbeat.Mark(step);
    }

    // Runs the event loop until `done` holds.
    void WaitFor(const std::string& step, seconds limit, const std::function<bool()>& done)
    {
        Begin(step, limit);
        if (done())
            return;
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        poll.start();
        loop.exec();
    }

    void Load(const QStringList& paths)
    {
        m_boxCloser.start();
        bool loaded = false;
        Begin("adding the clips", 120s);
        m_window.AddMedia(paths, [&loaded] { loaded = true; });
        WaitFor("adding the clips", 120s, [&] { return loaded && m_list.GetItemCount() == paths.size(); });
        for (int clip = 0; clip < kClips; ++clip) {
            if (m_list.GetItemState(clip) == kivo::ObjectState::Invalid) {
                std::fprintf(stderr, "gui_stall_bench: %s did not load\n", qPrintable(paths.at(clip)));
                std::exit(1);
            }
        }
    }

    // Plays the list from its first object to the end of its last.
    void PlayThrough()
    {
        // As a user would, press play once the button is enabled: the player
        // may still be opening its still picture.
        WaitFor("the play command to be enabled", 30s,
                [&] { return m_window.Commands().IsEnabled(kivo::Command::PlayPause); });
        Begin("the play command", 30s);
        m_window.Commands().Run(kivo::Command::PlayPause);
        for (int clip = 0; clip < kClips; ++clip) {
            const std::string name = "clip " + std::to_string(clip + 1);
            if (clip == kDamaged) {
                GiveUpDamagedClip();
                continue;
            }
            WaitFor(name + " to play", 30s, [&] {
                return Past(clip) || (m_list.GetItemState(clip) == kivo::ObjectState::Playing &&
                                      m_position->isEnabled() && m_position->maximum() > 0);
            });
            if (Past(clip)) {
                std::fprintf(stderr, "gui_stall_bench: clip %d was passed over without playing\n", clip + 1);
                continue;
            }
            if (clip == kDragged)
                DragAcross(clip);
            if (clip == kSped)
                ChangeSpeed(clip);
            const int nearEnd = m_position->maximum() - kTail;
            if (m_position->value() < nearEnd)
                Drag(m_position, {nearEnd}, clip, "the seek near the end of " + name);
            WaitFor(name + " to end", 30s, [&] { return Past(clip); });
        }
        m_boxCloser.stop();
    }

    // The message boxes that came up, with the current object of each.
    const std::vector<std::pair<int, QString>>& Messages() const { return m_messages; }

private:
    // Whether the list has moved on from `clip` (after the last one it cues
    // the first again).
    bool Past(int clip) const { return m_list.FindCurrentItem() != clip; }

    // Moves a slider as the mouse does: pressed, to each position in turn with
    // the event loop running between the moves, released. Stops early when
    // the list moves on from `clip`.
    void Drag(QSlider* slider, const std::vector<int>& positions, int clip, const std::string& step)
    {
        Begin(step, 60s);
        slider->setSliderDown(true);
        size_t next = 0;
        QTimer pace;
        pace.setInterval(kMoveIntervalMs);
        QObject::connect(&pace, &QTimer::timeout, slider, [&] {
            if (next >= positions.size())
                return;
            if (Past(clip))
                next = positions.size();
            else
                slider->setSliderPosition(positions.at(next++));
        });
        pace.start();
        WaitFor(step, 60s, [&] { return next >= positions.size(); });
        slider->setSliderDown(false);
    }

    // Across the middle of the clip, from a tenth to four fifths of it.
    void DragAcross(int clip)
    {
        const int length = m_position->maximum();
        std::vector<int> positions;
        for (int move = 0; move < kDragMoves; ++move)
            positions.push_back(length / 10 + (length * 7 / 10) * move / (kDragMoves - 1));
        Drag(m_position, positions, clip, "the drag across clip " + std::to_string(clip + 1));
    }

    void ChangeSpeed(int clip)
    {
        // The speed slider runs from -400 at the top to -1: minus the speed.
        std::vector<int> positions;
        for (int speed : kSpeeds)
            positions.push_back(-speed);
        Drag(m_speed, positions, clip, "the speed changes on clip " + std::to_string(clip + 1));
    }

    // The damaged clip's turn: the list moves past it by itself, or shows it
    // cannot play it, and the user goes on with the Next command.
    void GiveUpDamagedClip()
    {
        WaitFor("the damaged clip to be given up", 30s, [&] {
            const bool reported = std::any_of(m_messages.begin(), m_messages.end(),
                                              [](const auto& message) { return message.first == kDamaged; });
            return Past(kDamaged) || reported || m_list.GetItemState(kDamaged) == kivo::ObjectState::Invalid;
        });
        if (!Past(kDamaged)) {
            Begin("the Next command on the damaged clip", 30s);
            m_window.Commands().Run(kivo::Command::Next);
        }
    }

    kivo::MainWindow& m_window;
    kivo::CutListModel& m_list;
    Watchdog& m_watchdog;
    Heartbeat& m_heartbeat;
    QSlider* m_position;
    QSlider* m_speed;
    QTimer m_boxCloser;
    std::vector<std::pair<int, QString>> m_messages;
};

// The cut list's files, copies of the generated clips in `folder`, each of
// its own name so that each is examined; the damaged clip's copy is still
// whole.
QStringList CopyClips(const QString& media, const QDir& folder)
{
    QStringList paths;
    int format = 0;
    for (int clip = 0; clip < kClips; ++clip) {
        const QString source = clip == kDamaged ? QStringLiteral("video.avi")
                                                : QString::fromUtf8(kFormats[format++ % std::ssize(kFormats)]);
        const QString name = clip == kDamaged ? QStringLiteral("damaged.avi") : source;
        const QString path = folder.filePath(QStringLiteral("%1-%2").arg(clip + 1, 2, 10, QLatin1Char('0')).arg(name));
        if (!QFile::copy(QDir(media).filePath(source), path)) {
            std::fprintf(stderr, "gui_stall_bench: cannot copy %s from %s\n", qPrintable(source), qPrintable(media));
            std::exit(1);
        }
        paths.append(path);
    }
    return paths;
}

// Overwrites a file with 64 KiB of noise.
void Damage(const QString& path)
{
    QByteArray noise(64 * 1024, '\0');
    QRandomGenerator random(231);
    for (char& byte : noise)
        byte = static_cast<char>(random.bounded(256));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(noise) != noise.size()) {
        std::fprintf(stderr, "gui_stall_bench: cannot overwrite %s\n", qPrintable(path));
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_stall_bench MEDIA_DIR\n");
        return 1;
    }
    Watchdog watchdog;
    // A profile and a data folder of the run's own: a first run.
    QTemporaryDir work;
    if (!work.isValid() || !QDir(work.path()).mkpath(QStringLiteral("clips"))) {
        std::fprintf(stderr, "gui_stall_bench: cannot make a temporary folder\n");
        return 1;
    }
    kivo::bench::UseFirstRunFolders(work);

    QApplication application(argc, argv);
    kivo::SetUpApplication(application);
    kivo::Settings settings;
    kivo::Flow flow(settings);
    kivo::MainWindow& window = flow.Window();
    window.show();

    Heartbeat heartbeat;
    User user(window, watchdog, heartbeat);
    user.WaitFor("showing the main window", 30s,
                 [&] { return window.windowHandle() != nullptr && window.windowHandle()->isExposed(); });
    const QStringList paths = CopyClips(QFile::decodeName(argv[1]), QDir(work.filePath(QStringLiteral("clips"))));

    QElapsedTimer wall;
    wall.start();
    heartbeat.Start();
    user.Load(paths);
    Damage(paths.at(kDamaged));
    user.PlayThrough();
    const Stalls scenario = heartbeat.Stop();
    const qint64 took = wall.elapsed();

    heartbeat.Start();
    user.Begin("the idle window", seconds(took / 1000 + 30));
    QEventLoop idle;
    QTimer::singleShot(took, &idle, &QEventLoop::quit);
    idle.exec();
    const Stalls alone = heartbeat.Stop();
    user.Begin("closing", 60s);

    const std::string figure = "gui stall, 20 clips played, drag, speed, failing clip";
    std::printf("%-56s %9.1f ms %18s %9.1f ms  %s\n", (figure + ": worst").c_str(), scenario.worst, "heartbeat alone",
                alone.worst, "<= 50 ms");
    std::printf("%-56s %9.1f ms %18s %9.1f ms\n", (figure + ": p99").c_str(), scenario.p99, "heartbeat alone",
                alone.p99);
    std::fflush(stdout);
    std::fprintf(stderr, "gui_stall_bench: the worst stall came during: %s\n", scenario.worstDuring.c_str());
    for (const auto& [clip, text] : user.Messages())
        std::fprintf(stderr, "gui_stall_bench: clip %d showed the message box \"%s\"\n", clip + 1, qPrintable(text));
    window.Document().SetModified(false);
    return 0;
}
