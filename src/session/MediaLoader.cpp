#include "session/MediaLoader.h"

#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "media/Examination.h"

#include <QFileInfo>
#include <QLoggingCategory>

namespace kivo {
namespace {

Q_LOGGING_CATEGORY(lcLoader, "kivo.loader", QtWarningMsg)

}  // namespace

MediaLoader::MediaLoader(CutListModel& list, CMediaInfoCache& cache, QObject* parent)
    : QObject(parent), m_list(list), m_cache(cache)
{
    m_examiner.setMaxThreadCount(1);
}

MediaLoader::~MediaLoader()
{
    m_examiner.waitForDone();
}

void MediaLoader::Start(const QStringList& paths, bool blankLabels)
{
    if (m_running || paths.isEmpty())
        return;
    m_paths = paths;
    m_blankLabels = blankLabels;
    m_cancel = false;
    m_playerPrepared = false;
    m_running = true;
    m_begun = false;
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
    if (m_cancel || m_step >= m_paths.size()) {
        Finish();
        return;
    }
    const QString path = m_paths.at(m_step);
    emit statusText(QStringLiteral("読み込み中...(%1/%2)").arg(m_step + 1).arg(m_paths.size()));
    emit fileStarted(QFileInfo(path).fileName());

    if (const auto cached = CachedMediaObject(path, m_cache)) {
        qCDebug(lcLoader).noquote() << "from the cache:" << path;
        Insert(*cached);
        return;
    }
    if (!m_playerPrepared && m_preparePlayer)
        m_playerPrepared = m_preparePlayer(path);
    // The examination runs on a worker; the object is inserted here, on the
    // loader's thread, once the worker hands its result over.
    m_examiner.start([this, path] {
        const Examination examined = ExamineMediaFile(m_probe, path);
        qCDebug(lcLoader).noquote() << "examined" << path << "- flag" << examined.record.nFlag << "length"
                                    << examined.record.nLength;
        QMetaObject::invokeMethod(
            this, [this, examined] { Insert(ExaminedMediaObject(examined, m_cache)); }, Qt::QueuedConnection);
    });
}

void MediaLoader::Insert(const MediaObject& object)
{
    m_list.AddObject(object.record, object.picture, m_blankLabels);
    ++m_step;
    emit progress(m_step, static_cast<int>(m_paths.size()));
    QMetaObject::invokeMethod(this, &MediaLoader::Step, Qt::QueuedConnection);
}

void MediaLoader::Finish()
{
    m_running = false;
    if (m_list.GetItemCount() == m_step)
        emit arrangeRequested();
    emit finished(m_cancel);
}

}  // namespace kivo
