#include "Examination.h"

#include "MediaEngine.h"
#include "Pictures.h"
#include "cutlist/Formatters.h"
#include "cutlist/MediaInfoCache.h"

#include <QDateTime>
#include <QFileInfo>

namespace kivo {

Examination ExamineMediaFile(MediaEngine& preview, const QString& path)
{
    preview.m_strPreviewPath = path;
    preview.OpenPreview();
    preview.WaitPreviewDone();

    Examination result;
    MEDIARECORD& record = result.record;
    record.strPath = path;
    const QFileInfo file(path);
    if (file.exists()) {
        record.dwSize = static_cast<quint64>(file.size());
        record.timeModified = file.lastModified().toSecsSinceEpoch();
    }
    record.nLength = static_cast<qint32>(preview.m_dDuration * 100.0);
    result.hasVideo = preview.m_bPreviewOk && preview.HasVideo();
    result.hasAudio = preview.m_bPreviewOk && preview.HasAudio();
    result.videoSize = result.hasVideo ? preview.VideoSize() : QSize();

    if (preview.m_bPreviewOk && record.nLength > 0) {
        record.nFlag = kFlagValid;
        if (result.hasVideo || !result.hasAudio) {
            QImage thumbnail;
            if (!preview.MakeThumbnail(thumbnail))
                thumbnail = LoadPicture(kPictureMedia);
            record.pThumbnail = std::make_shared<const QImage>(thumbnail);
            result.picture = thumbnail;
        } else {
            result.picture = LoadPicture(kPictureSoundOnly);
            result.flag = kFlagNoPicture;
        }
    } else {
        record.nLength = 0;
        record.nFlag = kFlagInvalid;
        result.flag = kFlagInvalid;
        result.picture = LoadPicture(kPictureUnavailable);
    }
    if (record.timeModified != 0)
        result.typeText = FormatTypeText(path);
    preview.Close();
    return result;
}

MediaObject MediaObjectFor(const QString& path, CMediaInfoCache& cache, MediaEngine& preview)
{
    MEDIARECORD cached = cache.Lookup(path);
    if (!cached.strPath.isEmpty()) {
        const QFileInfo file(path);
        const quint64 size = file.exists() ? static_cast<quint64>(file.size()) : 0;
        const qint64 modified = file.exists() ? file.lastModified().toSecsSinceEpoch() : 0;
        if (CacheEntryIsCurrent(cached, size, modified)) {
            // The object shows the size on the disk, which a scenario file
            // may have kept only in part.
            cached.dwSize = size;
            cached.timeModified = modified;
            MediaObject object{cached, cached.pThumbnail ? *cached.pThumbnail : LoadPicture(kPictureSoundOnly)};
            if (!cached.pThumbnail)
                object.record.nFlag = kFlagNoPicture;
            return object;
        }
    }
    Examination examined = ExamineMediaFile(preview, path);
    if (examined.Cacheable())
        cache.Add(examined.record);
    examined.record.nFlag = examined.flag;
    return {examined.record, examined.picture};
}

}  // namespace kivo
