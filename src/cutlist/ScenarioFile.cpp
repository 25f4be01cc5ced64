#include "ScenarioFile.h"

#include "Archive.h"
#include "CutListModel.h"
#include "MediaInfoCache.h"
#include "Thumbnail.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kivo {
namespace {

// The smallest cache entry: an empty path and four 32-bit numbers.
constexpr qint64 kMinimumCacheEntryBytes = 1 + 4 * 4;

int VersionOfMagic(const QString& magic)
{
    for (int version : {10, 20, 30}) {
        if (magic == ScenarioMagic(version))
            return version;
    }
    return 0;
}

QStringList ReadStrings(ArchiveReader& archive, qint32 count, const char* field)
{
    archive.RequireRoom(count, 1, field);
    QStringList strings;
    strings.reserve(std::max(count, 0));
    for (qint32 i = 0; i < count; ++i)
        strings.append(archive.ReadString(field));
    return strings;
}

// A stored block of this program's pixel format, read straight into a picture.
Thumbnail ReadThumbnail(ArchiveReader& archive)
{
    auto picture = std::make_shared<QImage>(kThumbnailWidth, kThumbnailHeight, QImage::Format_RGB32);
    if (picture->sizeInBytes() != kThumbnailBlockBytes)
        throw std::bad_alloc();
    archive.ReadInto(picture->bits(), kThumbnailBlockBytes, "thumbnail");
    MakeBlockPictureOpaque(*picture);
    return picture;
}

void ReadBody(ArchiveReader& archive, Scenario& scenario)
{
    const qint32 count = archive.ReadInt32("object count");
    scenario.paths = ReadStrings(archive, count, "path");
    if (scenario.version >= 20) {
        scenario.current = archive.ReadInt32("current object");
        scenario.position = archive.ReadInt32("playing position");
        const qint64 entries = qint64{archive.ReadInt32("last cache entry index")} + 1;
        archive.RequireRoom(entries, kMinimumCacheEntryBytes, "cache entries");
        scenario.cache.reserve(static_cast<size_t>(std::max<qint64>(entries, 0)));
        for (qint64 i = 0; i < entries; ++i) {
            ScenarioCacheEntry entry;
            entry.path = archive.ReadString("cache entry path");
            entry.size = archive.ReadUInt32("cache entry size");
            entry.modified = archive.ReadInt32("cache entry time");
            entry.length = archive.ReadInt32("cache entry length");
            entry.thumbnailBytes = archive.ReadUInt32("thumbnail size");
            if (entry.thumbnailBytes == kThumbnailBlockBytes)
                entry.thumbnail = ReadThumbnail(archive);
            else
                archive.Skip(entry.thumbnailBytes, "thumbnail");
            scenario.cache.push_back(std::move(entry));
        }
    }
    if (scenario.version >= 30 && count > 0)
        scenario.names = ReadStrings(archive, count, "name");
}

ScenarioReadResult Failure(ScenarioStatus status, const QString& problem)
{
    ScenarioReadResult result;
    result.status = status;
    result.problem = problem;
    return result;
}

}  // namespace

QString ScenarioMagic(int version)
{
    return QStringLiteral("KivoDSv%1").arg(version);
}

ScenarioReadResult ReadScenario(QIODevice& device)
{
    ArchiveReader archive(device);
    if (archive.AtEnd())
        return Failure(ScenarioStatus::Empty, QStringLiteral("the file is empty"));
    ScenarioReadResult result;
    try {
        result.scenario.version = VersionOfMagic(archive.ReadString("magic"));
        if (result.scenario.version == 0)
            return Failure(ScenarioStatus::UnknownMagic, QString::fromUtf16(kUnreadableScenarioMessage));
        ReadBody(archive, result.scenario);
    } catch (const ArchiveEndsEarly& error) {
        return Failure(ScenarioStatus::EndsEarly, QStringLiteral("the file ends early (at byte %1, reading the %2)")
                                                      .arg(error.Offset())
                                                      .arg(QString::fromUtf8(error.what())));
    }
    return result;
}

ScenarioReadResult ReadScenarioFile(const QString& path)
{
    QFile file(path);
    if (QFileInfo(path).isDir())
        return Failure(ScenarioStatus::CannotOpen, QStringLiteral("it is a folder"));
    if (!file.open(QIODevice::ReadOnly))
        return Failure(ScenarioStatus::CannotOpen, file.errorString());
    if (file.isSequential())
        return Failure(ScenarioStatus::CannotOpen, QStringLiteral("it is not a regular file"));
    return ReadScenario(file);
}

void AddScenarioCacheEntries(const Scenario& scenario, CMediaInfoCache& cache)
{
    for (const ScenarioCacheEntry& entry : scenario.cache) {
        if (entry.thumbnailBytes != 0 && !entry.thumbnail)
            continue;
        MEDIARECORD record;
        record.strPath = entry.path;
        record.dwSize = entry.size;
        record.timeModified = entry.modified;
        record.pThumbnail = entry.thumbnail;
        record.dwReserved = entry.thumbnailBytes;
        record.nLength = entry.length;
        cache.Add(record);
    }
}

void WriteCutList(ArchiveWriter& archive, const CutListModel& list, CMediaInfoCache& cache,
                  qint32 positionHundredths, int version)
{
    const int count = list.GetItemCount();
    archive.WriteInt32(count);
    for (int position = 0; position < count; ++position)
        archive.WriteString(list.GetItemPath(position));
    if (version >= 20) {
        archive.WriteInt32(list.FindCurrentItem());
        archive.WriteInt32(positionHundredths);
        // One entry per object in list order, duplicates included; the
        // thumbnails are shared with the view's cache.
        CMediaInfoCache objects;
        for (int position = 0; position < count; ++position)
            objects.Add(cache.Lookup(list.GetItemPath(position)));
        objects.Write(archive);
    }
    if (version >= 30) {
        for (int position = 0; position < count; ++position)
            archive.WriteString(list.GetItemText(position, CutListModel::kColumnName));
    }
}

bool SaveScenarioFile(const QString& path, const CutListModel& list, CMediaInfoCache& cache,
                      qint32 positionHundredths, QString* error)
{
    QSaveFile file(path);
    // Unbuffered, so that a short write cannot pass unnoticed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *error = file.errorString();
        return false;
    }
    ArchiveWriter archive(file);
    archive.WriteString(ScenarioMagic(kScenarioVersion));
    WriteCutList(archive, list, cache, positionHundredths, kScenarioVersion);
    if (!archive.Finish()) {
        *error = file.error() == QFileDevice::NoError ? QStringLiteral("not everything could be written (is the disk full?)")
                                                      : file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace kivo
