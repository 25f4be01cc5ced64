#include "session/MediaLoader.h"

#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/Thumbnail.h"
#include "media/Examination.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>

namespace kivo {
namespace {

Q_LOGGING_CATEGORY(lcLoader, "kivo.loader", QtWarningMsg)

// How long one step may take files that are ready.
constexpr qint64 kSliceMilliseconds = 20;
// How often the list takes in the files that are ready, at most: each time
// it is laid out and repainted.
constexpr qint64 kInsertEveryMilliseconds = 40;
// The icon views lay every object out again after each insertion, in time
// that grows with the list: a long list waits this much longer per object
// in it, so that the layouts take a bounded share of the run however long
// the list grows, instead of one whole layout per short batch.
constexpr int kObjectsPerInsertWait = 10000;
// In a run of files the cache knows, every this many is shown.
constexpr int kShownEveryCachedFiles = 256;

}  // namespace

// How many files per worker the examinations may run ahead of the file
// being added: enough to keep every worker busy behind a slow file.
constexpr int kAheadPerWorker = 4;

MediaLoader::MediaLoader(CutListModel& list, CMediaInfoCache& cache, QObject* parent)
    : QObject(parent), m_list(list), m_cache(cache), m_known(cache)
{
    m_inserting.setSingleShot(true);
    connect(&m_inserting, &QTimer::timeout, this, &MediaLoader::InsertReady);
}

MediaLoader::~MediaLoader()
{
    m_examiner.Stop();
}

std::vector<MediaObject> MediaLoader::KnownLeadingObjects(const QStringList& paths)
{
    // Between runs nothing is known: a run empties it as it finishes.
    // Room for every path, as a scenario's are usually all known: grown by
    // doubling, the vector moved every object it held each time. Only the
    // room used is touched.
    std::vector<MediaObject> known;
    known.reserve(static_cast<size_t>(paths.size()));
    for (const QString& path : paths) {
        std::optional<MediaObject> cached = m_known.Find(path);
        if (!cached)
            return known;
        known.push_back(std::move(*cached));
    }
    // No run follows.
    m_known.Clear();
    return known;
}

void MediaLoader::Start(const QStringList& paths, bool blankLabels)
{
    if (m_running || paths.isEmpty())
        return;
    m_paths = paths;
    m_examining.assign(paths.size(), Examining::Not);
    m_results.clear();
    m_ahead = 0;
    // Room for every file of the run: the objects gather here between
    // insertions, which come further apart as the list grows, and a vector
    // that grew would move them all each time. Only the room used is touched.
    m_ready.clear();
    m_ready.reserve(static_cast<size_t>(paths.size()));
    m_sinceInserted.invalidate();
    m_previousFromCache = false;
    ++m_run;
    m_blankLabels = blankLabels;
    m_cancel = false;
    m_playerPrepared = false;
    m_running = true;
    m_begun = false;
    m_announced = false;
    m_step = 0;
    emit progress(0, static_cast<int>(m_paths.size()));
    if (!m_startsHeld)
        Begin();
}

void MediaLoader::Begin()
{
    if (m_running && !std::exchange(m_begun, true))
        QMetaObject::invokeMethod(this, &MediaLoader::Step, Qt::QueuedConnection);
}

void MediaLoader::Step()
{
    // The files that are ready are taken one after the other for at most a
    // slice of time, so that a cancel and repaints still get in between.
    // A cancel takes effect between files: the file shown is still added.
    QElapsedTimer slice;
    slice.start();
    while (!AtEnd() && slice.elapsed() < kSliceMilliseconds) {
        std::optional<MediaObject> object = ObjectAtItsTurn();
        if (!object) {
            // Examined calls back once the result is in.
            InsertSoon();
            return;
        }
        if (std::exchange(m_announced, false))
            emit filePictured(ToListPicture(object->picture));
        m_ready.push_back(std::move(*object));
        ++m_step;
    }
    if (AtEnd()) {
        Finish();
        return;
    }
    InsertSoon();
    QMetaObject::invokeMethod(this, &MediaLoader::Step, Qt::QueuedConnection);
}

bool MediaLoader::AtEnd() const
{
    return m_step >= m_paths.size() || (m_cancel && !m_announced);
}

std::optional<MediaObject> MediaLoader::ObjectAtItsTurn()
{
    const QString path = m_paths.at(m_step);
    // A file the cache knows, behind another one, goes in unannounced, as a
    // scenario's files do; a long run of them shows its count now and then.
    // Which files are shown depends on the files alone, not on the pace of
    // the examinations, as a cancel keeps the file shown.
    if (m_previousFromCache && m_step % kShownEveryCachedFiles != 0) {
        if (std::optional<MediaObject> cached = m_known.Find(path))
            return cached;
    }
    m_previousFromCache = false;
    if (!std::exchange(m_announced, true)) {
        emit statusText(tr("読み込み中...(%1/%2)").arg(m_step + 1).arg(m_paths.size()));
        emit fileStarted(QFileInfo(path).fileName());
    }
    ExamineAhead();

    if (std::optional<MediaObject> cached = m_known.Find(path)) {
        m_previousFromCache = true;
        return cached;
    }
    const auto result = m_results.find(m_step);
    if (result != m_results.end() && m_examining[m_step] == Examining::Ahead && !result->second.MatchesFileOnDisk()) {
        qCDebug(lcLoader).noquote() << "changed since it was examined:" << path;
        m_results.erase(result);
        Examine(m_step);
    } else if (result != m_results.end()) {
        MediaObject examined = ExaminedMediaObject(result->second, m_cache);
        m_results.erase(result);
        return examined;
    } else if (m_examining[m_step] == Examining::Not) {
        Examine(m_step);
    }
    return std::nullopt;
}

void MediaLoader::ExamineAhead()
{
    const int end = std::min(static_cast<int>(m_paths.size()), m_step + kAheadPerWorker * m_examiner.Workers());
    for (m_ahead = std::max(m_ahead, m_step); m_ahead < end; ++m_ahead) {
        if (m_examining[m_ahead] == Examining::Not && !m_known.Find(m_paths.at(m_ahead)))
            Examine(m_ahead);
    }
}

void MediaLoader::Examine(int index)
{
    const QString path = m_paths.at(index);
    const Examining before = std::exchange(m_examining[index], index == m_step ? Examining::AtItsTurn : Examining::Ahead);
    if (before == Examining::Not && !m_playerPrepared && m_preparePlayer)
        m_playerPrepared = m_preparePlayer(path);
    // The object is inserted here, on the loader's thread, once the worker
    // has handed its result over.
    m_examiner.Examine(path, [this, run = m_run, index](const Examination& examined) {
        const MEDIARECORD& record = examined.object.record;
        qCDebug(lcLoader).noquote() << "examined" << record.strPath << "- flag" << record.nFlag << "length"
                                    << record.nLength;
        QMetaObject::invokeMethod(
            this, [this, run, index, examined] { Examined(run, index, examined); }, Qt::QueuedConnection);
    });
}

void MediaLoader::Examined(quint64 run, int index, const Examination& examined)
{
    if (run != m_run || !m_running)
        return;
    m_results.insert_or_assign(index, examined);
    // The file shown waits for this result; before it is shown, a step is
    // on its way.
    if (index == m_step && m_announced)
        Step();
}

void MediaLoader::InsertSoon()
{
    if (m_ready.empty() || m_inserting.isActive())
        return;
    const qint64 every = kInsertEveryMilliseconds * std::max(1, m_list.GetItemCount() / kObjectsPerInsertWait);
    const qint64 wait = m_sinceInserted.isValid() ? every - m_sinceInserted.elapsed() : 0;
    if (wait > 0)
        m_inserting.start(static_cast<int>(wait));
    else
        InsertReady();
}

void MediaLoader::InsertReady()
{
    m_inserting.stop();
    if (m_ready.empty())
        return;
    qCDebug(lcLoader).noquote() << "adding" << m_ready.size() << "files up to" << m_ready.back().record.strPath;
    m_list.AddObjects(m_ready, m_blankLabels);
    m_ready.clear();
    m_sinceInserted.start();
    emit progress(m_step, static_cast<int>(m_paths.size()));
}

void MediaLoader::Finish()
{
    InsertReady();
    m_ready = {};
    m_running = false;
    // What was examined ahead of a cancel is dropped with the run.
    m_examiner.Drop();
    m_results.clear();
    m_known.Clear();
    if (m_list.GetItemCount() == m_step)
        emit arrangeRequested();
    emit finished(m_cancel);
}

}  // namespace kivo
