#pragma once

#include "cutlist/FileNames.h"
#include "cutlist/ScenarioFile.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace kivo {

class CMediaInfoCache;
class CutListModel;
class MediaEngine;
class MediaLoader;
class PlaybackSequencer;

// How opening a scenario file ended.
enum class OpenOutcome {
    Opened,      // the file's cut list is the document now
    NamedOnly,   // an empty file: the cut list stays as it was and takes its name
    Refused,     // not a scenario, one that cannot be opened, or one refused whole: nothing changed
    Unreadable,  // the file ends early: the document is a new, untitled one
};

// Whether the document is the opened file's after such an ending, so that
// saving goes back to that file.
inline bool TakesFileName(OpenOutcome outcome)
{
    return outcome == OpenOutcome::Opened || outcome == OpenOutcome::NamedOnly;
}

// The scenario document: the cut list as a whole, read from and written to
// scenario files, and the adding of media to it. It keeps the modified flag
// that guards new, open and exit.
class CutListDocument : public QObject {
    Q_OBJECT

public:
    CutListDocument(CutListModel& list, CMediaInfoCache& cache, MediaEngine& player, PlaybackSequencer& playback,
                    MediaLoader& loader, QObject* parent = nullptr);

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified);

    // Empties the cut list (stopping playback when it held objects); the
    // media cache stays.
    void ClearCutList();
    // A new, empty and unmodified document.
    void NewDocument();

    // Appends one object per path, through the loader from the first file
    // that the cache does not know unchanged; when the run is over
    // the main window hears the player's duration, the first playable object
    // becomes current when there was none, the summary is refreshed and
    // `done` runs. Asked while the loader runs, it starts once that run and
    // the requests before it are over.
    void AddMediaFiles(const QStringList& paths, bool blankLabels, std::function<void()> done = {});
    // What the user's adding of media does: stop and hide the player, add
    // the files, cue the first playable object of the list and mark the
    // document modified.
    void AddMediaAndCue(const QStringList& paths, std::function<void()> done = {});
    // Adds the files as AddMediaAndCue does, then plays the first of them
    // that can be played.
    void AddMediaAndPlay(const QStringList& paths);

    // Reads a scenario file. A file of unknown kind, or one that cannot be
    // opened at all, leaves the document as it was; one that ends early
    // gives a new document; an empty file changes nothing but the modified
    // flag. When it reads, the objects are added, named and the current one
    // cued. The document is unmodified after every open that takes the
    // file's name; `done` runs at the end, whatever the outcome.
    void Open(const QString& path, std::function<void(OpenOutcome)> done = {});
    // A scenario read ahead, which the open of its path takes instead of
    // reading the file.
    void UseReadAhead(ScenarioReadAhead readAhead) { m_readAhead = std::move(readAhead); }
    // Reads a playlist (M3U, M3U8, PLS or XSPF) into a new, untitled cut
    // list of the local files it names, examined by the loader and named
    // after their titles where it gives them; the entries that are no local
    // files are counted in one message at the end. A playlist that cannot
    // be read changes nothing. `done` hears whether it was read.
    void OpenPlaylist(const QString& path, std::function<void(bool)> done = {});
    // Writes the cut list as a playlist of the format `path`'s extension
    // names; the document keeps its name and modified flag.
    bool ExportPlaylist(const QString& path);
    // Writes the cut list, as it is now, as a scenario file, on a thread of
    // its own: a large list takes as long as the disk does, and the window
    // goes on meanwhile. The old file stays as it was when the write fails.
    // Once written, the document is unmodified unless it changed
    // meanwhile, and `done` hears here whether the file was written. Saves
    // asked for while another is written follow it in turn.
    void Save(const QString& path, std::function<void(bool)> done = {});
    // Waits until every save asked for is written and has been settled as
    // Save says; false when one of them failed.
    bool FinishSaving();

    // Puts the cut list's summary into the status bar.
    void UpdateSummary();
    // Makes the first playable object from `position` current and opens it
    // at `hundredths`, stopped; false when nothing can be played.
    bool CueObject(int position, qint64 hundredths);

signals:
    // A message for the user, and whether it reports a failure (stop icon)
    // rather than a warning.
    void message(const QString& text, bool failure);
    // The status summary of the cut list changed.
    void summaryChanged(const QString& text);
    // Media added without the loader filled the whole list: arrange the icons.
    void arrangeRequested();

private:
    // Readies the player before the loader's first examination; false when
    // it has to try again with the next file. Without a video the player
    // opens the first file that opens, trying those it is given in turn.
    bool PreparePlayer(const QString& path);
    void OpenStillCandidate();
    // Whether the player still opens a file tried for a still picture.
    bool StillSearchOpens() const;
    // Whether a request now has to wait: the loader runs, or earlier
    // requests wait for it.
    bool MustWait() const;
    // Runs `request` now, or once the loader's run and the requests waiting
    // before it are over.
    void WhenLoaderIdle(std::function<void()> request);
    // The next waiting request, if any, once the loader is idle.
    void TakeWaitingRequest();

    struct PendingSave {
        QString path;
        QFuture<std::optional<WriteFailure>> written;
        quint64 changes = 0;  // m_changes when the save was asked for
        std::function<void(bool)> done;
    };
    // Settles the saves in the order they were asked for: those written
    // already, or all of them once written; false when one failed.
    bool SettleSaves(bool waitForAll);
    // Reports the save's outcome; true when the file was written.
    bool Settle(const PendingSave& save);

    CutListModel& m_list;
    CMediaInfoCache& m_cache;
    // Files the player tries, in turn, for its still picture, during one run
    // (and after it, while the player opens one of them).
    QStringList m_stillCandidates;
    // Requests that came while the loader ran, in the order they came.
    std::vector<std::function<void()>> m_waitingRequests;
    bool m_takingRequest = false;
    MediaEngine& m_player;
    PlaybackSequencer& m_playback;
    MediaLoader& m_loader;
    bool m_modified = false;
    // Counts the changes that made the document modified, so that a save
    // leaves it modified when it changed while the file was written.
    quint64 m_changes = 0;
    std::deque<PendingSave> m_saves;
    ScenarioReadAhead m_readAhead;
    // One thread, so that files are written in the order asked for. Its
    // end waits for the file being written.
    QThreadPool m_writer;
};

}  // namespace kivo
