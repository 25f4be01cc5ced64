#include "cutlist/ScenarioFile.h"

#include "cutlist/Archive.h"
#include "cutlist/CutListModel.h"
#include "cutlist/FileNames.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ShownText.h"
#include "cutlist/Thumbnail.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QLoggingCategory>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

namespace kivo {

Q_LOGGING_CATEGORY(lcScenario, "kivo.scenario", QtWarningMsg)

namespace {

// The smallest cache entry: an empty path and four 32-bit numbers.
constexpr qint64 kMinimumCacheEntryBytes = 1 + 4 * 4;

constexpr int kVersions[] = {10, 20, 30};

// The magic of each version, made once: every file read is compared with
// them.
const std::array<QString, std::size(kVersions)>& Magics()
{
    static const auto magics = [] {
        std::array<QString, std::size(kVersions)> made;
        std::ranges::transform(kVersions, made.begin(), ScenarioMagic);
        return made;
    }();
    return magics;
}

int VersionOfMagic(const QString& magic)
{
    const auto found = std::ranges::find(Magics(), magic);
    return found == Magics().end() ? 0 : kVersions[found - Magics().begin()];
}

// The magic as a file holds it: its length in a byte, then its letters.
QByteArray StoredMagic(int version)
{
    const QByteArray magic = ScenarioMagic(version).toLatin1();
    return char(magic.size()) + magic;
}

// Whether a file that ends within its magic holds the start of one: a
// scenario cut short, rather than some other file.
bool StartsAsMagic(const QByteArray& head)
{
    return std::ranges::any_of(kVersions, [&head](int version) { return StoredMagic(version).startsWith(head); });
}

// Reading many objects of the same few files: each text and picture met
// again is held once, shared by every field that has it.
class SharedValues {
public:
    // The text read before that equals `text`, or `text`.
    QString Text(const QString& text) { return *m_texts.insert(text); }

    // A stored block as a picture of this program's pixel format; when its
    // bytes equal the previous block of the same path, that block's picture
    // is used again.
    Thumbnail Picture(ArchiveReader& archive, const QString& path)
    {
        const QByteArrayView block = archive.ReadView(kThumbnailBlockBytes, "thumbnail");
        Stored& previous = m_pictures[path];
        if (previous.picture && previous.block == block)
            return previous.picture;
        QImage picture(kThumbnailWidth, kThumbnailHeight, QImage::Format_RGB32);
        if (picture.sizeInBytes() != kThumbnailBlockBytes)
            throw std::bad_alloc();
        std::memcpy(picture.bits(), block.data(), kThumbnailBlockBytes);
        MakeBlockPictureOpaque(picture);
        previous = {block.toByteArray(), std::make_shared<const QImage>(std::move(picture))};
        return previous.picture;
    }

private:
    struct Stored {
        QByteArray block;
        Thumbnail picture;
    };

    QSet<QString> m_texts;
    QHash<QString, Stored> m_pictures;
};

QString TooManyObjectsReason()
{
    return QCoreApplication::translate("Files", "ｵﾌﾞｼﾞｪｸﾄが多すぎます（%1 個まで）。").arg(kMaxScenarioObjects);
}

QString TooManyDetail(qint64 count, const char* what)
{
    return QStringLiteral("%1 %2, more than the %3 a scenario may have")
        .arg(count)
        .arg(QString::fromUtf8(what))
        .arg(kMaxScenarioObjects);
}

// Thrown for a count above kMaxScenarioObjects.
struct TooManyEntries {
    qint64 count;
    const char* what;  // the entries counted, in English
};

// Checks a count read from the file before anything is made for it: a
// count that cannot fit the bytes left ends the file early; one that fits
// but is more than a scenario holds is refused.
void RequireCount(const ArchiveReader& archive, qint64 count, qint64 minimumBytes, const char* field, const char* what)
{
    archive.RequireRoom(count, minimumBytes, field);
    if (count > kMaxScenarioObjects)
        throw TooManyEntries{count, what};
}

QStringList ReadStrings(ArchiveReader& archive, qint32 count, const char* field, SharedValues& shared)
{
    archive.RequireRoom(count, 1, field);
    QStringList strings;
    strings.reserve(std::max(count, 0));
    for (qint32 i = 0; i < count; ++i)
        strings.append(shared.Text(archive.ReadString(field)));
    return strings;
}

// One media information entry as WriteScenarioCacheEntry stores it.
MEDIARECORD ReadCacheEntry(ArchiveReader& archive, SharedValues& shared)
{
    MEDIARECORD entry;
    entry.strPath = shared.Text(archive.ReadString("cache entry path"));
    entry.dwSize = archive.ReadUInt32("cache entry size");
    entry.timeModified = archive.ReadInt32("cache entry time");
    entry.nLength = archive.ReadInt32("cache entry length");
    entry.dwReserved = archive.ReadUInt32("thumbnail size");
    if (entry.dwReserved == kThumbnailBlockBytes)
        entry.pThumbnail = shared.Picture(archive, entry.strPath);
    else
        archive.Skip(entry.dwReserved, "thumbnail");
    return entry;
}

void ReadBody(ArchiveReader& archive, Scenario& scenario)
{
    SharedValues shared;
    const qint32 count = archive.ReadInt32("object count");
    // Each object has a path and, from version 30 on, a name: one byte each
    // at least.
    RequireCount(archive, count, scenario.version >= 30 ? 2 : 1, "path", "objects");
    scenario.paths = ReadStrings(archive, count, "path", shared);
    if (scenario.version >= 20) {
        scenario.current = archive.ReadInt32("current object");
        scenario.position = archive.ReadInt32("playing position");
        const qint64 entries = qint64{archive.ReadInt32("last cache entry index")} + 1;
        RequireCount(archive, entries, kMinimumCacheEntryBytes, "cache entries", "media information entries");
        scenario.cache.reserve(static_cast<size_t>(std::max<qint64>(entries, 0)));
        for (qint64 i = 0; i < entries; ++i)
            scenario.cache.push_back(ReadCacheEntry(archive, shared));
    }
    if (scenario.version >= 30 && count > 0) {
        scenario.names = ReadStrings(archive, count, "name", shared);
        // A name is only shown: a long one is cut rather than refused. A
        // name that is its object's path, as the list names an object
        // first, stays whole: its end is the file's name.
        for (qint32 i = 0; i < count; ++i) {
            if (scenario.names[i] != scenario.paths[i])
                scenario.names[i] = BoundedName(std::move(scenario.names[i]));
        }
    }
}

ScenarioReadResult Failure(ScenarioStatus status, const QString& problem, const QString& detail)
{
    ScenarioReadResult result;
    result.status = status;
    result.problem = problem;
    result.detail = detail;
    return result;
}

ScenarioReadResult Failure(ScenarioStatus status, const char* problem, const QString& detail)
{
    return Failure(status, QCoreApplication::translate("Files", problem), detail);
}

// Why a file of this type is not read, or nothing for a regular file.
std::optional<ScenarioReadResult> TypeFailure(bool folder, bool regular)
{
    if (folder)
        return Failure(ScenarioStatus::CannotOpen, QT_TRANSLATE_NOOP("Files", "フォルダです。"), QStringLiteral("it is a folder"));
    if (!regular)
        return Failure(ScenarioStatus::CannotOpen, QT_TRANSLATE_NOOP("Files", "通常のファイルではありません。"),
                       QStringLiteral("it is not a regular file"));
    return std::nullopt;
}

ScenarioReadResult OpenFailure(int error)
{
    const QString detail = qt_error_string(error);
    if (error == ENOENT)
        return Failure(ScenarioStatus::CannotOpen, QT_TRANSLATE_NOOP("Files", "ファイルが見つかりません。"), detail);
    if (error == EACCES)
        return Failure(ScenarioStatus::CannotOpen, QT_TRANSLATE_NOOP("Files", "ファイルを開く権限がありません。"), detail);
    return Failure(ScenarioStatus::CannotOpen, QT_TRANSLATE_NOOP("Files", "ファイルを開けません。"), detail);
}

ScenarioReadResult ReadRegularFile(const QString& path)
{
    // The type is checked before the file is opened, as opening a device
    // can do things, and again on what was opened, without waiting: opening
    // a named pipe would wait for a writer for ever.
    const FileStatus status = StatFile(path);
    if (!status.exists)
        return OpenFailure(status.error);
    if (auto failure = TypeFailure(status.folder, status.regular))
        return *failure;
    const int fd = ::open(FileNameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return OpenFailure(errno);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        const int error = errno;
        ::close(fd);
        return OpenFailure(error);
    }
    if (auto failure = TypeFailure(S_ISDIR(opened.st_mode), S_ISREG(opened.st_mode))) {
        ::close(fd);
        return *failure;
    }
    QFile file;  // owns the descriptor from here on
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return Failure(ScenarioStatus::CannotOpen, QT_TRANSLATE_NOOP("Files", "ファイルを開けません。"), file.errorString());
    return ReadScenario(file);
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
        return Failure(ScenarioStatus::Empty, QT_TRANSLATE_NOOP("Files", "ファイルが空です。"), QStringLiteral("the file is empty"));
    // As long as every stored magic: its length in a byte, then its letters.
    const QByteArray head = device.peek(1 + Magics().front().size());
    ScenarioReadResult result;
    bool magicRead = false;
    try {
        result.scenario.version = VersionOfMagic(archive.ReadString("magic"));
        magicRead = true;
        if (result.scenario.version == 0)
            return Failure(ScenarioStatus::UnknownMagic, kUnreadableScenarioMessage, QStringLiteral("unknown magic"));
        ReadBody(archive, result.scenario);
        // Such a path would reach another file than the one stored, or none.
        const auto unreachable = std::ranges::find_if_not(result.scenario.paths, IsReachableFileName);
        if (unreachable != result.scenario.paths.end()) {
            return Failure(ScenarioStatus::Malformed, QT_TRANSLATE_NOOP("Files", "ファイルの形式が正しくありません。"),
                           QStringLiteral("the path of object %1 holds a NUL byte or is too long")
                               .arg(unreachable - result.scenario.paths.begin()));
        }
    } catch (const ArchiveEndsEarly& error) {
        if (!magicRead && !StartsAsMagic(head))
            return Failure(ScenarioStatus::UnknownMagic, kUnreadableScenarioMessage, QStringLiteral("no magic"));
        return Failure(ScenarioStatus::EndsEarly, QT_TRANSLATE_NOOP("Files", "ファイルが途中で終わっています。"),
                       QStringLiteral("the file ends early (at byte %1, reading the %2)")
                           .arg(error.Offset())
                           .arg(QString::fromUtf8(error.what())));
    } catch (const TooManyEntries& error) {
        return Failure(ScenarioStatus::TooLarge, TooManyObjectsReason(),
                       QStringLiteral("the file holds ") + TooManyDetail(error.count, error.what));
    }
    return result;
}

bool IsScenarioFileName(QStringView path)
{
    return path.endsWith(u".kvo", Qt::CaseInsensitive);
}

ScenarioReadResult ReadScenarioFile(const QString& path)
{
    return ReadRegularFile(path);
}

ScenarioReadAhead::ScenarioReadAhead(const QString& path) : m_path(path)
{
    if (IsScenarioFileName(path))
        m_result = std::async(std::launch::async, ReadScenarioFile, path);
}

std::optional<ScenarioReadResult> ScenarioReadAhead::Take(const QString& path)
{
    if (!m_result.valid() || path != m_path)
        return std::nullopt;
    ScenarioReadResult result = m_result.get();
    if (result.status != ScenarioStatus::Ok)
        return std::nullopt;
    return result;
}

void AddScenarioCacheEntries(const Scenario& scenario, CMediaInfoCache& cache)
{
    for (const MEDIARECORD& entry : scenario.cache) {
        if (entry.dwReserved == 0 || entry.pThumbnail)
            cache.Add(entry);
    }
}

namespace {

// One media information entry as a scenario file stores it: path, the low
// 32 bits of size and time, length, then the thumbnail's byte count and
// block (0 and none without a picture).
void WriteScenarioCacheEntry(ArchiveWriter& archive, const MEDIARECORD& entry)
{
    archive.WriteString(entry.strPath);
    archive.WriteUInt32(static_cast<quint32>(entry.dwSize));
    archive.WriteInt32(static_cast<qint32>(entry.timeModified));
    archive.WriteInt32(entry.nLength);
    if (entry.pThumbnail) {
        const QByteArray block = ThumbnailToBlock(*entry.pThumbnail);
        archive.WriteUInt32(static_cast<quint32>(block.size()));
        archive.WriteBytes(block);
    } else {
        archive.WriteUInt32(0);
    }
}

}  // namespace

Scenario ScenarioOfCutList(const CutListModel& list, CMediaInfoCache& cache, qint32 positionHundredths)
{
    Scenario scenario;
    const int count = list.GetItemCount();
    scenario.paths.reserve(count);
    scenario.names.reserve(count);
    scenario.cache.reserve(static_cast<size_t>(count));
    for (int position = 0; position < count; ++position) {
        scenario.paths.append(list.GetItemPath(position));
        scenario.names.append(list.GetItemText(position, CutListModel::kColumnName));
        // One entry per object, duplicates included; the thumbnails are
        // shared with the view's cache.
        scenario.cache.push_back(cache.Lookup(scenario.paths.back()));
    }
    scenario.current = list.FindCurrentItem();
    scenario.position = positionHundredths;
    return scenario;
}

void WriteScenario(ArchiveWriter& archive, const Scenario& scenario)
{
    archive.WriteString(ScenarioMagic(scenario.version));
    archive.WriteInt32(static_cast<qint32>(scenario.paths.size()));
    for (const QString& path : scenario.paths)
        archive.WriteString(path);
    if (scenario.version >= 20) {
        archive.WriteInt32(scenario.current);
        archive.WriteInt32(scenario.position);
        archive.WriteInt32(static_cast<qint32>(scenario.cache.size()) - 1);
        for (const MEDIARECORD& entry : scenario.cache)
            WriteScenarioCacheEntry(archive, entry);
    }
    if (scenario.version >= 30) {
        for (const QString& name : scenario.names)
            archive.WriteString(name);
    }
}

std::optional<WriteFailure> SaveScenarioFile(const QString& path, const Scenario& scenario)
{
    // What could not be read back is not written.
    if (scenario.paths.size() > kMaxScenarioObjects) {
        return WriteFailure{TooManyObjectsReason(),
                            QStringLiteral("the cut list has ") + TooManyDetail(scenario.paths.size(), "objects")};
    }
    return ReplaceFile(path, [&](QIODevice& file) {
        ArchiveWriter archive(file);
        WriteScenario(archive, scenario);
        return archive.Finish();
    });
}

std::optional<WriteFailure> SaveScenarioFile(const QString& path, const CutListModel& list, CMediaInfoCache& cache,
                                             qint32 positionHundredths)
{
    return SaveScenarioFile(path, ScenarioOfCutList(list, cache, positionHundredths));
}

}  // namespace kivo
