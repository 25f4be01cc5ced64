#include "media/Examination.h"

#include "media/MediaProbe.h"
#include "media/Pictures.h"
#include "cutlist/FileNames.h"
#include "cutlist/Formatters.h"
#include "cutlist/MediaInfoCache.h"

#include <QThread>

#include <algorithm>

namespace kivo {

Examination ExamineMediaFile(const MediaProbe& probe, const QString& path)
{
    Examination result;
    MEDIARECORD& record = result.object.record;
    record.strPath = path;
    // The status before the file is opened: a file that changes during its
    // examination then no longer matches its record.
    if (const FileStatus file = StatFile(path); file.exists) {
        record.dwSize = file.size;
        record.timeModified = file.modified;
    }
    const ProbeFindings found = probe.Examine(path);
    record.nLength = ClampedHundredths(found.duration);
    result.hasVideo = found.hasVideo;
    result.hasAudio = found.hasAudio;
    result.videoSize = found.videoSize;

    QImage& picture = result.object.picture;
    if (found.opened && record.nLength > 0) {
        if (result.hasVideo) {
            picture = found.frame.isNull() ? LoadPicture(PictureId::Media) : ThumbnailOnFrame(found.frame);
            record.pThumbnail = std::make_shared<const QImage>(picture);
        } else {
            picture = LoadPicture(PictureId::SoundOnly);
            record.nFlag = kFlagNoPicture;
        }
    } else {
        record.nLength = 0;
        record.nFlag = kFlagInvalid;
        picture = LoadPicture(PictureId::Unavailable);
    }
    if (record.timeModified != 0)
        result.typeText = FormatTypeText(path);
    return result;
}

bool Examination::MatchesFileOnDisk() const
{
    const MEDIARECORD& record = object.record;
    const FileStatus file = StatFile(record.strPath);
    return file.exists ? record.dwSize == file.size && record.timeModified == file.modified
                       : record.dwSize == 0 && record.timeModified == 0;
}

int ExaminationPool::DefaultWorkers()
{
    return 2 * std::max(1, QThread::idealThreadCount());
}

ExaminationPool::ExaminationPool(int workers)
{
    m_pool.setMaxThreadCount(workers);
}

ExaminationPool::~ExaminationPool()
{
    Stop();
}

void ExaminationPool::Stop()
{
    Drop();
    m_probe.GiveUp();
    WaitForDone();
}

void ExaminationPool::Examine(const QString& path, std::function<void(Examination)> done)
{
    m_pool.start([this, path, done = std::move(done)] { done(ExamineMediaFile(m_probe, path)); });
}

std::vector<Examination> ExaminationPool::ExamineAll(const QStringList& paths)
{
    // Each worker writes its own result only.
    std::vector<Examination> results(static_cast<size_t>(paths.size()));
    for (size_t i = 0; i < results.size(); ++i)
        Examine(paths[static_cast<qsizetype>(i)], [&results, i](const Examination& examined) { results[i] = examined; });
    WaitForDone();
    return results;
}

std::optional<MediaObject> CachedMediaObject(const QString& path, CMediaInfoCache& cache)
{
    MEDIARECORD cached = cache.Lookup(path);
    if (cached.strPath.isEmpty())
        return std::nullopt;
    const FileStatus file = StatFile(path);
    if (!file.exists || !CacheEntryIsCurrent(cached, file.size, file.modified))
        return std::nullopt;
    // The object shows the size on the disk, which a scenario file may have
    // kept only in part.
    cached.dwSize = file.size;
    cached.timeModified = file.modified;
    if (!cached.pThumbnail) {
        cached.nFlag = kFlagNoPicture;
        return MediaObject{cached, LoadPicture(PictureId::SoundOnly)};
    }
    return MediaObject{cached, *cached.pThumbnail};
}

std::optional<MediaObject> KnownMediaObjects::Find(const QString& path)
{
    if (const auto again = m_objects.constFind(path); again != m_objects.cend())
        return *again;
    std::optional<MediaObject> cached = CachedMediaObject(path, m_cache);
    if (cached)
        m_objects.insert(path, *cached);
    return cached;
}

MediaObject ExaminedMediaObject(const Examination& examined, CMediaInfoCache& cache)
{
    if (examined.Cacheable())
        cache.Add(examined.object.record);
    return examined.object;
}

MediaObject MediaObjectFor(const QString& path, CMediaInfoCache& cache, const MediaProbe& probe)
{
    if (auto cached = CachedMediaObject(path, cache))
        return *cached;
    return ExaminedMediaObject(ExamineMediaFile(probe, path), cache);
}

}  // namespace kivo
