#pragma once

#include "media/Examination.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kivo {

class CMediaInfoCache;
class CutListModel;

// Adds media files to the end of the cut list, one after the other. A file
// whose cache entry still matches it is added at once; the others are
// examined on a pool of workers while the event loop runs on, a few files
// ahead of the one being added, and their objects are inserted on the
// loader's thread in the order of the paths. A file is taken from the cache
// or examined again when its turn comes, if an earlier object of the run
// put it into the cache or it changed since it was examined, so that the
// run adds what a run examining one file at a time would. Every step is a
// queued call, so that a cancel request and repaints get in between; the
// files that are ready go into the list together, a few times a second, less
// often as the list grows long.
class MediaLoader : public QObject {
    Q_OBJECT

public:
    MediaLoader(CutListModel& list, CMediaInfoCache& cache, QObject* parent = nullptr);
    ~MediaLoader() override;

    // The objects of the first of `paths` that the cache knows unchanged,
    // up to the first file it does not know: they can go into the list at
    // once, and a run over the rest starts from the next. Files met here
    // are not looked at on the disk again in the run that follows.
    std::vector<MediaObject> KnownLeadingObjects(const QStringList& paths);
    // Starts a run over `paths`; with `blankLabels` each object is labelled
    // " " (for a scenario that sets the names itself). Does nothing while a
    // run is going on. With held starts, the first file waits for Begin.
    void Start(const QStringList& paths, bool blankLabels);
    // Makes every run wait, after its progress(0, total), until Begin is
    // called: so that a dialog showing the run can come up first.
    void SetStartsHeld(bool held) { m_startsHeld = held; }
    // Lets a held run go on; nothing otherwise.
    void Begin();
    // Called before each examination of a run, with the file about to be
    // examined, until it answers true or SetPlayerPrepared is called:
    // readies the list's own player.
    void SetPlayerPreparation(std::function<bool(const QString& path)> prepare) { m_preparePlayer = std::move(prepare); }
    // The player found its file: no more are offered.
    void SetPlayerPrepared() { m_playerPrepared = true; }
    // Asks the run to end after the file being examined, which is still added.
    void Cancel() { m_cancel = true; }
    bool IsRunning() const { return m_running; }
    // How many files are examined at once; from the next file started on.
    void SetWorkers(int workers) { m_examiner.SetWorkers(workers); }

signals:
    // "読み込み中...(n/total)" before each file.
    void statusText(const QString& text);
    // A file is being examined: its name without the folder. Files the
    // cache knows behind another such file go in without being shown.
    void fileStarted(const QString& name);
    // The file last started is ready to go in: the picture its object shows
    // in the list.
    void filePictured(const QImage& picture);
    void progress(int done, int total);
    // The run added the whole of an initially empty list: arrange the icons.
    void arrangeRequested();
    void finished(bool cancelled);

private:
    void Step();
    // Every file was taken, or a cancel came before the next one was shown.
    bool AtEnd() const;
    // The object of the file at its turn, once it is ready: from the cache,
    // or from its examination, which this starts when it is not under way.
    // The file is announced first, unless the cache knows it and the file
    // before it came from the cache too.
    std::optional<MediaObject> ObjectAtItsTurn();
    // Starts the examinations of the files ahead that the cache lacks.
    void ExamineAhead();
    void Examine(int index);
    void Examined(quint64 run, int index, const Examination& examined);
    // Inserts the files that are ready now, or once the list has shown the
    // last ones for a moment.
    void InsertSoon();
    void InsertReady();
    void Finish();

    CutListModel& m_list;
    CMediaInfoCache& m_cache;
    ExaminationPool m_examiner;
    QStringList m_paths;
    // Per path: when its examination was started (before its turn, the file
    // may change before it is added).
    enum class Examining : std::uint8_t { Not, Ahead, AtItsTurn };
    std::vector<Examining> m_examining;
    // The results in, by the index of their path, until their turn: a few
    // at a time, among paths that are mostly known.
    std::unordered_map<int, Examination> m_results;
    // Taken in their turn, not yet inserted.
    std::vector<MediaObject> m_ready;
    // In this run and its known leading files; emptied as it finishes.
    KnownMediaObjects m_known;
    QElapsedTimer m_sinceInserted;
    QTimer m_inserting;
    int m_ahead = 0;  // the next path ExamineAhead looks at
    quint64 m_run = 0;  // tells the results of an ended run apart
    std::function<bool(const QString&)> m_preparePlayer;
    bool m_playerPrepared = false;
    bool m_blankLabels = false;
    bool m_cancel = false;
    bool m_running = false;
    bool m_startsHeld = false;
    bool m_begun = false;
    bool m_announced = false;  // the file at m_step has been shown
    bool m_previousFromCache = false;  // the file before m_step came from the cache
    int m_step = 0;
};

}  // namespace kivo
