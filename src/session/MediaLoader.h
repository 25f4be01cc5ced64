#pragma once

#include "media/Examination.h"
#include "media/MediaProbe.h"

#include <QObject>
#include <QStringList>
#include <QThreadPool>

#include <functional>

namespace kivo {

class CMediaInfoCache;
class CutListModel;

// Adds media files to the end of the cut list, one after the other. A file
// whose cache entry still matches it is added at once; any other file is
// examined on a worker thread while the event loop runs on, and its object
// is inserted on the loader's thread. Every step is a queued call, so that
// a cancel request and repaints get in between.
class MediaLoader : public QObject {
    Q_OBJECT

public:
    MediaLoader(CutListModel& list, CMediaInfoCache& cache, QObject* parent = nullptr);
    ~MediaLoader() override;

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

signals:
    // "読み込み中...(n/total)" before each file.
    void statusText(const QString& text);
    // A file is being examined: its name without the folder.
    void fileStarted(const QString& name);
    void progress(int done, int total);
    // The run added the whole of an initially empty list: arrange the icons.
    void arrangeRequested();
    void finished(bool cancelled);

private:
    void Step();
    void Insert(const MediaObject& object);
    void Finish();

    CutListModel& m_list;
    CMediaInfoCache& m_cache;
    MediaProbe m_probe;
    // Examines one file at a time, off the loader's thread.
    QThreadPool m_examiner;
    QStringList m_paths;
    std::function<bool(const QString&)> m_preparePlayer;
    bool m_playerPrepared = false;
    bool m_blankLabels = false;
    bool m_cancel = false;
    bool m_running = false;
    bool m_startsHeld = false;
    bool m_begun = false;
    int m_step = 0;
};

}  // namespace kivo
