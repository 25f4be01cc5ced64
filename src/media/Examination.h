#pragma once

#include "cutlist/MediaRecord.h"

#include "media/MediaProbe.h"

#include <QHash>
#include <QImage>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <optional>
#include <vector>

namespace kivo {

class CMediaInfoCache;

// What examining one media file found, as the cut list will show it.
struct Examination {
    // The object as the cut list adds it: the record with the object's flag
    // (-2 and no thumbnail for a medium with sound and no picture), and the
    // 64 x 48 picture it shows: the thumbnail, or the card for an invalid
    // file, a sound-only medium or a frame that could not be taken.
    MediaObject object;
    QString typeText;
    bool hasVideo = false;
    bool hasAudio = false;
    QSize videoSize;

    // Whether the record belongs in the media cache: a playable medium.
    bool Cacheable() const { return object.record.nFlag != kFlagInvalid; }
    // Whether the file on the disk still has the size and time (or the
    // absence) the examination found.
    bool MatchesFileOnDisk() const;
};

// Examines `path` with `probe` (the medium at one second), exactly as files
// are examined when they are added to the cut list.
Examination ExamineMediaFile(const MediaProbe& probe, const QString& path);

// Examines files on workers of its own, several at once: an examination
// waits for GStreamer's threads much of the time, so it takes two workers
// per core to keep the machine busy (one per core left a quarter of it
// idle).
class ExaminationPool {
public:
    static int DefaultWorkers();

    explicit ExaminationPool(int workers = DefaultWorkers());
    // Stops, as Stop does.
    ~ExaminationPool();
    ExaminationPool(const ExaminationPool&) = delete;
    ExaminationPool& operator=(const ExaminationPool&) = delete;

    void SetWorkers(int workers) { m_pool.setMaxThreadCount(workers); }
    int Workers() const { return m_pool.maxThreadCount(); }
    // Examines `path` on a worker, which then calls `done` with the result.
    void Examine(const QString& path, std::function<void(Examination)> done);
    // Examines every path at once and waits for them all; the results in
    // the order of the paths.
    std::vector<Examination> ExamineAll(const QStringList& paths);
    // Forgets the examinations that have not begun.
    void Drop() { m_pool.clear(); }
    void WaitForDone() { m_pool.waitForDone(); }
    // Forgets the examinations that have not begun and has those under way
    // give up waiting for GStreamer, then waits for them: at the end of the
    // program, which must not wait for a slow file. Nothing is examined
    // afterwards.
    void Stop();

private:
    MediaProbe m_probe;
    QThreadPool m_pool;
};

// A new cut-list object for `path`, taken from the cache when the file is
// unchanged since it was examined, else from an examination whose record
// then joins the cache.
MediaObject MediaObjectFor(const QString& path, CMediaInfoCache& cache, const MediaProbe& probe);

// The object of a file that is in the cache and unchanged since, or nothing.
std::optional<MediaObject> CachedMediaObject(const QString& path, CMediaInfoCache& cache);
// The object of an examined file; a playable file's record joins the cache.
MediaObject ExaminedMediaObject(const Examination& examined, CMediaInfoCache& cache);

// The objects of the files the cache knows unchanged, over one run through
// a list of files: a file listed again is the same object again, without
// another look at the disk (a scenario names the same clips many times over).
class KnownMediaObjects {
public:
    explicit KnownMediaObjects(CMediaInfoCache& cache) : m_cache(cache) {}

    // CachedMediaObject, once per path in the run.
    std::optional<MediaObject> Find(const QString& path);
    // Starts another run.
    void Clear() { m_objects.clear(); }

private:
    CMediaInfoCache& m_cache;
    QHash<QString, MediaObject> m_objects;
};

}  // namespace kivo
