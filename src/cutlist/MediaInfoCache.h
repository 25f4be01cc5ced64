#pragma once

#include "MediaRecord.h"

#include <QHash>
#include <QString>

#include <vector>

namespace kivo {

class ArchiveWriter;

// What was learned about each examined file, by full path, so that adding a
// file again, reloading a scenario or showing properties need not open the
// medium again. The same path may occur in several entries; lookups find the
// most recently added one.
class CMediaInfoCache {
public:
    // The record of the latest entry for `path`, or the empty record.
    MEDIARECORD Lookup(const QString& path);
    // The record of entry `index` (flag 0); the thumbnail is shared.
    MEDIARECORD GetRecord(int index) const;
    void Add(const MEDIARECORD& record);
    void RemoveAt(int index);
    void RemoveAll();
    int GetSize() const { return static_cast<int>(m_arrPath.size()); }

    // The cache section of a scenario file: the last entry index, then each
    // entry's path, size, time, length and thumbnail block.
    void Write(ArchiveWriter& archive) const;

private:
    std::vector<QString> m_arrPath;
    std::vector<quint64> m_arrSize;
    std::vector<qint64> m_arrModified;
    std::vector<quint32> m_arrReserved;
    std::vector<Thumbnail> m_arrThumbnail;
    std::vector<qint32> m_arrLength;
    QHash<QString, int> m_mapIndex;
    bool m_bMapValid = false;
};

// Whether a cache entry still describes a file of the given size and
// modification time. Scenario files keep sizes and times in 32 bits, so an
// entry read from one matches a file whose values agree in those bits.
bool CacheEntryIsCurrent(const MEDIARECORD& cached, quint64 sizeOnDisk, qint64 modifiedOnDisk);

}  // namespace kivo
